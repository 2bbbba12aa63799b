// A store in a temporary folder, a fixed clock, and helpers to drive the modal dialogs of
// the task and category editors as a person would.
#pragma once

#include "BaseAppVar.h"
#include "Clock.h"
#include "BaseFunc.h"
#include "FormatSettings.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "uXMLOperate.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <functional>
#include <ostream>
#include <memory>

// Readable failure messages for Qt values.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QTime& time, std::ostream* os)
{
    *os << time.toString(QStringLiteral("HH:mm:ss.zzz")).toStdString();
}
inline void PrintTo(const QDate& date, std::ostream* os)
{
    *os << date.toString(Qt::ISODate).toStdString();
}

// The moment every test runs at.
inline QDateTime FixedNow()
{
    return QDateTime(QDate(2024, 3, 15), QTime(9, 30, 45, 123));
}

inline TFormatSettings UsFormats()
{
    TFormatSettings f;
    f.TwoDigitYearPivot = 2024;
    return f;
}

inline TFormatSettings GermanFormats()
{
    TFormatSettings f;
    f.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    f.DateSeparator = QLatin1Char('.');
    f.LongTimeFormat = QStringLiteral("HH:mm:ss");
    f.TwoDigitYearPivot = 2024;
    return f;
}

// The pollers of WhenDialogOpens still waiting; a test's leftovers must not act in the next test.
inline QList<QPointer<QTimer>>& PendingDialogPollers()
{
    static QList<QPointer<QTimer>> pollers;
    return pollers;
}

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock::SetSource([] { return FixedNow(); });
        if (!ReminderThreadList)
            ReminderThreadList = new TStringObjectList<TReminderThread>();
        if (!MarkFormList)
            MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
        OpenStore(UsFormats());
    }
    void TearDown() override
    {
        for (const QPointer<QTimer>& poller : PendingDialogPollers())
            delete poller.data();
        PendingDialogPollers().clear();
        while (ReminderThreadList->Count() > 0)
            StopTaskReminder(ReminderThreadList->Strings(0));
        while (MarkFormList->Count() > 0)
            delete MarkFormList->Objects(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete XMLOperation;
        XMLOperation = nullptr;
        Clock::SetSource({});
    }
    void OpenStore(const TFormatSettings& formats)
    {
        delete XMLOperation;
        XMLOperation = new TXMLOperation(Folder.Path(), formats);
        XMLOperation->SetNoteClosedHandler(RemoveMarkFormEntry);
    }

    // The task's reminder object and note window, if any.
    static TReminderThread* ReminderOf(const QString& id)
    {
        const int i = ReminderThreadList->IndexOf(id);
        return i < 0 ? nullptr : ReminderThreadList->Objects(i);
    }
    static TFrmMarkInfoForm* NoteOf(const QString& id)
    {
        const int i = MarkFormList->IndexOf(id);
        return i < 0 ? nullptr : MarkFormList->Objects(i);
    }
    // Stores the task and gives it its running reminder and desktop note, as at start-up.
    TTaskInfo StoreRunningTask(const QString& id, const QString& name, const QString& categoryId = DefaultCategoryID)
    {
        TTaskInfo task;
        task.ID = id;
        task.TaskName = name;
        task.TaskCategoryID = categoryId;
        task.TaskPriorityID = QStringLiteral("1");
        task.TaskDueDate = QStringLiteral("none");
        task.Reminder = {true, DateToTDateTime(QDate(2024, 4, 2)), TimeToTDateTime(QTime(7, 45, 10))};
        task.MarkFormState = true;
        task.TaskState = QStringLiteral("false");
        XMLOperation->AddTask(task);
        StartTaskReminder(task);
        qint32 top = 0;
        qint32 left = 0;
        ShowDesktopNote(task, top, left);
        return task;
    }

    QByteArray TaskFile() const { return Folder.Read(TaskFileName); }
    QByteArray CategoryFile() const { return Folder.Read(CategoryFileName); }

    TTaskInfoList Tasks() const
    {
        TTaskInfoList list;
        XMLOperation->GetTaskList(list);
        return list;
    }
    Tcategorylist Categories() const
    {
        Tcategorylist list;
        XMLOperation->GetCategoryList(list);
        return list;
    }

    // The texts of one record's child elements as they stand in the file.
    QHash<QString, QString> StoredElements(const QString& fileName, const QString& id) const
    {
        QHash<QString, QString> result;
        QXmlStreamReader xml(Folder.Read(fileName));
        int depth = 0;
        bool inside = false;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (depth == 2) {
                    inside = xml.name() == id;
                } else if (depth == 3) {
                    const QString name = xml.name().toString();
                    const QString text = xml.readElementText(); // reads up to its end element
                    --depth;
                    if (inside && !result.contains(name))
                        result.insert(name, text);
                }
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
        return result;
    }

    TTaskInfo StoreTask(const QString& id, const QString& name, const QString& categoryId = DefaultCategoryID)
    {
        TTaskInfo task;
        task.ID = id;
        task.TaskName = name;
        task.TaskCategoryID = categoryId;
        task.TaskPriorityID = QStringLiteral("1");
        task.TaskState = QStringLiteral("false");
        XMLOperation->AddTask(task);
        return task;
    }
    void StoreCategory(const QString& id, const QString& name, int icon)
    {
        XMLOperation->AddCategory({id, name, icon});
    }

    TestFolder Folder;
};

// Runs `act` once a modal dialog of class T is the active modal window. Any other modal
// window (the opener, a dialog below it) is passed over. A dialog that `act` leaves open is
// a test failure and is closed, so that a failing test never hangs in a modal loop.
template <typename T> std::shared_ptr<bool> WhenDialogOpens(std::function<void(T*)> act, int timeoutMs = 5000)
{
    auto opened = std::make_shared<bool>(false);
    auto* timer = new QTimer();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act, timeoutMs, opened] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *opened = true;
            QPointer<T> guard(dialog);
            // As a person sees it: the dialog is the active window, holding the keyboard focus.
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog))
                ADD_FAILURE() << "the dialog " << dialog->objectName().toStdString() << " did not become active";
            act(dialog);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog " << guard->objectName().toStdString() << " was left open";
                guard->reject();
            }
        } else if ((*waited += 20) > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    PendingDialogPollers().append(timer);
    timer->start(20);
    return opened;
}

// While alive, answers every message box that opens with `answer` and keeps its text and buttons.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : FAnswer(answer)
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box == FLast)
                return;
            FLast = box;
            Texts.append(box->text());
            Buttons.append(box->standardButtons());
            // A box without the planned answer (an information box) is answered with OK.
            if (box->button(FAnswer))
                ClickMessageBoxButton(box, FAnswer);
            else if (box->button(QMessageBox::Ok))
                ClickMessageBoxButton(box, QMessageBox::Ok);
            else
                box->reject();
        });
        FTimer.start(20);
    }
    void SetAnswer(QMessageBox::StandardButton answer) { FAnswer = answer; }

    QStringList Texts;
    QList<QMessageBox::StandardButtons> Buttons;

private:
    QTimer FTimer;
    QMessageBox::StandardButton FAnswer;
    QPointer<QMessageBox> FLast;
};

inline void ClickCentre(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Clicks the row of `list` whose column `column` shows `text`; false when there is none.
inline bool ClickRow(QTreeWidget* list, int column, const QString& text, bool twice = false)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        if (row->text(column) != text)
            continue;
        const QPoint at = list->visualItemRect(row).center();
        // A double click arrives as a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        return true;
    }
    return false;
}

// Every control of `dialog` lies inside its parent and shows its whole caption.
inline void ExpectNothingClipped(QWidget* dialog)
{
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || w->isWindow())
            continue;
        const std::string name = w->objectName().toStdString();
        if (!w->objectName().isEmpty() && w->parentWidget()) {
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name;
        }
        if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << name;
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            const QString caption = button->text().remove(QLatin1Char('&'));
            EXPECT_LE(button->fontMetrics().horizontalAdvance(caption) + 8, button->width()) << name;
        }
    }
}

// The texts of one column, top to bottom.
inline QStringList ColumnTexts(QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}
