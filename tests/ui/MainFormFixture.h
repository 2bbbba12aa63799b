// A store in a temporary folder, the main window over it, and helpers to read what the
// window shows.
#pragma once

#include "BaseAppVar.h"
#include "BaseFunc.h"
#include "Clock.h"
#include "FormatSettings.h"
#include "MainForm.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "TaskList.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "uXMLOperate.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <functional>
#include <ostream>
#include <memory>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

inline QDateTime MainFormNow()
{
    return QDateTime(QDate(2024, 3, 15), QTime(9, 30, 45, 123));
}

inline TFormatSettings MainFormFormats()
{
    TFormatSettings f;
    f.TwoDigitYearPivot = 2024;
    return f;
}

// Processes events until `done` holds or five seconds have passed; returns `done()`.
inline bool ProcessUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A task of the default category, not done, normal priority, no due date, no reminder.
inline TTaskInfo MakeTask(const QString& id, const QString& name, const QString& priority = QStringLiteral("1"),
                          const QString& state = QStringLiteral("false"), const QString& category = DefaultCategoryID)
{
    TTaskInfo task;
    task.ID = id;
    task.TaskName = name;
    task.TaskCategoryID = category;
    task.TaskPriorityID = priority;
    task.TaskDueDate = QStringLiteral("none");
    task.TaskState = state;
    return task;
}

class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::SetSource([] { return MainFormNow(); });
        if (!ReminderThreadList)
            ReminderThreadList = new TStringObjectList<TReminderThread>();
        if (!MarkFormList)
            MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
        XMLOperation = new TXMLOperation(Folder.Path(), MainFormFormats());
        TFrmMainForm::SetNotificationAreaCheck([this] { return TrayPresent; });
    }
    void TearDown() override
    {
        Form.reset();
        // Notes and reminders that the window started belong to this test only.
        while (MarkFormList->Count() > 0)
            CloseDesktopNote(MarkFormList->Strings(0));
        while (ReminderThreadList->Count() > 0)
            StopTaskReminder(ReminderThreadList->Strings(0));
        TFrmMainForm::SetNotificationAreaCheck({});
        delete XMLOperation;
        XMLOperation = nullptr;
        Clock::SetSource({});
    }

    // The main window as the program creates it, over what the store holds now.
    TFrmMainForm* CreateForm()
    {
        Form.reset();
        Form = std::make_unique<TFrmMainForm>();
        return Form.get();
    }
    TFrmMainForm* ShowForm()
    {
        CreateForm()->ShowAtStart();
        return Form.get();
    }

    void ChangeSetting(const std::function<void(TSettingInfo&)>& change)
    {
        TSettingInfo setting;
        XMLOperation->GetSetting(setting);
        change(setting);
        XMLOperation->SaveSetting(setting);
    }
    TSettingInfo Setting() const
    {
        TSettingInfo setting;
        XMLOperation->GetSetting(setting);
        return setting;
    }
    TTaskInfo StoredTask(const QString& id) const
    {
        TTaskInfo task;
        XMLOperation->GetTask(id, task);
        return task;
    }
    QString CategoryWithIcon(const QString& id, const QString& name, int icon)
    {
        TCategoryInfo category;
        category.ID = id;
        category.CategoryName = name;
        category.CategoryIconID = icon;
        XMLOperation->AddCategory(category);
        return id;
    }

    QTreeWidget* Grid() const { return Form->TreeListTaskList; }
    // The task IDs of the grid's rows, top to bottom.
    QStringList RowIds() const
    {
        QStringList ids;
        for (int i = 0; i < Grid()->topLevelItemCount(); ++i)
            ids << Grid()->topLevelItem(i)->text(CxTreeListColTaskID);
        return ids;
    }
    QString FocusedId() const
    {
        const QTreeWidgetItem* row = Grid()->currentItem();
        return row ? row->text(CxTreeListColTaskID) : QString();
    }
    QTreeWidgetItem* Row(const QString& id) const
    {
        for (int i = 0; i < Grid()->topLevelItemCount(); ++i)
            if (Grid()->topLevelItem(i)->text(CxTreeListColTaskID) == id)
                return Grid()->topLevelItem(i);
        return nullptr;
    }
    QString CountText() const { return Form->StatusBarPanel0->text(); }

    // Clicks a row's task name, as a person picks a row.
    void ClickRow(const QString& id)
    {
        QTreeWidgetItem* row = Row(id);
        ASSERT_NE(row, nullptr) << id.toStdString();
        const QRect cell = Grid()->visualItemRect(row);
        const int x = Grid()->header()->sectionViewportPosition(CxTreeListColTaskName) + 20;
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, cell.center().y()));
    }
    // The centre of a row's done box, in viewport coordinates.
    QPoint DoneBoxCentre(const QString& id) const
    {
        QTreeWidgetItem* row = Row(id);
        const QModelIndex index = Grid()->model()->index(Grid()->indexOfTopLevelItem(row), CxTreeListColTaskState);
        QStyleOptionViewItem option;
        option.initFrom(Grid()->viewport());
        option.widget = Grid();
        option.rect = Grid()->visualRect(index);
        auto* delegate = static_cast<TTaskListDelegate*>(Grid()->itemDelegate());
        return delegate->DoneBoxRect(option, index).center();
    }

    TestFolder Folder;
    bool TrayPresent = true;
    std::unique_ptr<TFrmMainForm> Form;
};
