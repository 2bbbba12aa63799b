// The settings dialog driven as a person drives it: opened through OpenSettings, controls
// clicked and keys pressed, closed with Ok or Cancel; what it stored and applied is read back.
#include "BaseFunc.h"
#include "DesktopEntry.h"
#include "MainForm.h"
#include "MarkForm.h"
#include "Platform.h"
#include "ReminderThread.h"
#include "SettingForm.h"
#include "TaskList.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "uXMLOperate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Sets an environment variable for the life of the object.
class TScopedEnv
{
public:
    TScopedEnv(const char* name, const QByteArray& value)
        : FName(name), FHad(qEnvironmentVariableIsSet(name)), FOld(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~TScopedEnv()
    {
        if (FHad)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char* FName;
    bool FHad;
    QByteArray FOld;
};

void ClickBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect clickable = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, clickable.center());
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

class SettingFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        XMLOperation = new TXMLOperation(FData.Path(), TFormatSettings{});
        FConfig = std::make_unique<TScopedEnv>("XDG_CONFIG_HOME", FUser.File(QStringLiteral("config")).toUtf8());
        if (!MarkFormList)
            MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
    }

    void TearDown() override
    {
        while (MarkFormList->Count() > 0)
            CloseDesktopNote(MarkFormList->Strings(0));
        delete XMLOperation;
        XMLOperation = nullptr;
    }

    TSettingInfo Stored() const
    {
        TSettingInfo setting;
        XMLOperation->GetSetting(setting);
        return setting;
    }

    QByteArray SettingFile() const
    {
        QFile file(XMLOperation->SettingFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Store(const std::function<void(TSettingInfo&)>& change) const
    {
        TSettingInfo setting = Stored();
        change(setting);
        XMLOperation->SaveSetting(setting);
    }

    QString EntryPath() const { return FUser.File(QStringLiteral("config/autostart/CorvalenPellory.desktop")); }

    // Opens the dialog as the setting command does and runs `act` while it is shown. A dialog
    // that `act` leaves open is cancelled, so a failing check cannot hang the run.
    void RunDialog(const std::function<void(TFrmSettingForm*)>& act)
    {
        bool opened = false;
        QPointer<TFrmSettingForm> seen;
        WhenModalOpens([&](QWidget* modal) {
            opened = true;
            auto* form = qobject_cast<TFrmSettingForm*>(modal);
            seen = form;
            if (!form) {
                ADD_FAILURE() << "another modal window opened: " << modal->metaObject()->className();
                modal->close();
                return;
            }
            act(form);
            if (form->isVisible())
                form->reject();
        });
        OpenSettings();
        EXPECT_TRUE(opened) << "the settings dialog did not open";
        EXPECT_TRUE(seen.isNull()) << "the dialog is released once it has closed";
    }

    // A note on the desktop for a task, as the task editor leaves it.
    TFrmMarkInfoForm* OpenNote(const QString& id)
    {
        TTaskInfo task;
        task.ID = id;
        task.TaskName = QStringLiteral("Note ") + id;
        task.MarkFormState = true;
        qint32 top = 0;
        qint32 left = 0;
        ShowDesktopNote(task, top, left);
        const int index = MarkFormList->IndexOf(id);
        return index >= 0 ? MarkFormList->Objects(index) : nullptr;
    }

    TestFolder FData;
    TestFolder FUser;
    std::unique_ptr<TScopedEnv> FConfig;
};

TEST_F(SettingFormTest, ControlsStandAtTheirPlacesWithTheirCaptions)
{
    RunDialog([](TFrmSettingForm* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Setting"));
        EXPECT_EQ(form->size(), QSize(322, 257));
        EXPECT_FALSE(form->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint)) << "the border is sizeable";
        struct Place
        {
            QWidget* control;
            QWidget* parent;
            QRect place;
            QString caption;
        };
        const Place places[] = {
            {form->GroupBox1, form, {7, 4, 308, 45}, "General"},
            {form->ChkStartWithWindows, form->GroupBox1, {17, 18, 129, 17}, "Start with windows"},
            {form->ChkminimizeOnStart, form->GroupBox1, {152, 18, 129, 17}, "Minimize on start"},
            {form->ChkAlwaysOnTop, form->GroupBox1, {16, 46, 129, 17}, "Always on top"},
            {form->GroupBox2, form, {8, 49, 308, 96}, "Display"},
            {form->ChkDoneTaskPutInBottom, form->GroupBox2, {16, 72, 139, 17}, "Done Task put in bottom"},
            {form->ChkAlphablend, form->GroupBox2, {16, 25, 81, 17}, "Alphablend"},
            {form->TrackBar1, form->GroupBox2, {103, 25, 195, 28}, ""},
            {form->BitBtn1, form, {203, 224, 53, 25}, "&Ok"},
            {form->BitBtn2, form, {262, 224, 53, 25}, "&Cancel"},
            {form->GroupBox3, form, {8, 146, 308, 73}, "Display on desktop Setting"},
            {form->ChkMarkAlphablend, form->GroupBox3, {16, 25, 81, 17}, "Alphablend"},
            {form->TrackBarMark, form->GroupBox3, {103, 25, 195, 28}, ""},
        };
        for (const Place& p : places) {
            SCOPED_TRACE(p.control->objectName().toStdString());
            EXPECT_EQ(p.control->parentWidget(), p.parent);
            if (qobject_cast<QCheckBox*>(p.control)) {
                // A check box keeps its place and height and grows only to show its whole caption.
                EXPECT_EQ(p.control->pos(), p.place.topLeft());
                EXPECT_EQ(p.control->height(), p.place.height());
                EXPECT_GE(p.control->width(), p.place.width());
                EXPECT_GE(p.control->width(), p.control->sizeHint().width());
                EXPECT_TRUE(p.control->width() == p.place.width() ||
                            p.control->width() == p.control->sizeHint().width());
            } else {
                EXPECT_EQ(p.control->geometry(), p.place);
            }
            if (auto* box = qobject_cast<QGroupBox*>(p.control)) {
                EXPECT_EQ(box->title(), p.caption);
            } else if (auto* button = qobject_cast<QAbstractButton*>(p.control)) {
                EXPECT_EQ(button->text(), p.caption);
            }
        }
        EXPECT_EQ(form->CmbSoryBy->geometry().topLeft(), QPoint(66, 226));
        EXPECT_EQ(form->CmbSoryBy->width(), 97);
        EXPECT_FALSE(form->CmbSoryBy->isEditable());
        QStringList items;
        for (int i = 0; i < form->CmbSoryBy->count(); ++i)
            items << form->CmbSoryBy->itemText(i);
        EXPECT_EQ(items, (QStringList{"Default", "Priority", "Task Name", "Category", "Due Date"}));
        EXPECT_EQ(form->Label1->text(), QStringLiteral("Sort by :"));
        EXPECT_EQ(form->Label1->pos(), QPoint(14, 230));

        struct LabelPlace
        {
            QLabel* label;
            QWidget* parent;
            QPoint place;
        };
        const LabelPlace labels[] = {
            {form->labBegin, form->GroupBox2, {112, 53}},     {form->LabPosition, form->GroupBox2, {194, 53}},
            {form->LabEnd, form->GroupBox2, {277, 53}},       {form->LabMarkBegin, form->GroupBox3, {112, 53}},
            {form->LabMarkPosition, form->GroupBox3, {194, 53}}, {form->LabMarkEnd, form->GroupBox3, {277, 53}},
        };
        for (const LabelPlace& l : labels) {
            EXPECT_EQ(l.label->parentWidget(), l.parent) << l.label->objectName().toStdString();
            EXPECT_EQ(l.label->pos(), l.place) << l.label->objectName().toStdString();
        }
        EXPECT_EQ(form->labBegin->text(), QStringLiteral("0"));
        EXPECT_EQ(form->LabEnd->text(), QStringLiteral("255"));
        EXPECT_EQ(form->LabMarkBegin->text(), QStringLiteral("0"));
        EXPECT_EQ(form->LabMarkEnd->text(), QStringLiteral("255"));

        for (QSlider* bar : {form->TrackBar1, form->TrackBarMark}) {
            EXPECT_EQ(bar->orientation(), Qt::Horizontal);
            EXPECT_EQ(bar->minimum(), 0);
            EXPECT_EQ(bar->maximum(), 255);
            EXPECT_EQ(bar->tickInterval(), 255) << "ticks only at the ends";
            EXPECT_NE(bar->tickPosition(), QSlider::NoTicks);
        }
        EXPECT_TRUE(form->BitBtn1->isDefault());
        EXPECT_FALSE(form->BitBtn2->isDefault());
        EXPECT_FALSE(form->ChkAlwaysOnTop->isVisible());
    });
}

TEST_F(SettingFormTest, TabMovesThroughTheControlsInTheirOrder)
{
    Store([](TSettingInfo& s) {
        s.AlphaBlendState = true;
        s.MarkFormAlphaBlendState = true;
    });
    RunDialog([](TFrmSettingForm* form) {
        QApplication::setActiveWindow(form);
        form->ChkStartWithWindows->setFocus(Qt::TabFocusReason);
        QStringList seen{QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()};
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        }
        EXPECT_EQ(seen, (QStringList{"ChkStartWithWindows", "ChkminimizeOnStart", "ChkDoneTaskPutInBottom",
                                     "ChkAlphablend", "TrackBar1", "CmbSoryBy", "BitBtn1", "BitBtn2",
                                     "ChkMarkAlphablend", "TrackBarMark", "ChkStartWithWindows"}));
    });
}

TEST_F(SettingFormTest, OpeningWithTransparencyOffGreysTheTrackBarAtItsPreset)
{
    // A value stored while transparency was on stays in the file but is not shown.
    Store([](TSettingInfo& s) {
        s.AlphaBlendState = true;
        s.AlphaBlendValue = 90;
    });
    Store([](TSettingInfo& s) { s.AlphaBlendState = false; });
    RunDialog([](TFrmSettingForm* form) {
        EXPECT_FALSE(form->ChkAlphablend->isChecked());
        EXPECT_EQ(form->TrackBar1->value(), 220);
        EXPECT_EQ(form->LabPosition->text(), QStringLiteral("220"));
        for (QWidget* control : {static_cast<QWidget*>(form->TrackBar1), static_cast<QWidget*>(form->labBegin),
                                 static_cast<QWidget*>(form->LabPosition), static_cast<QWidget*>(form->LabEnd)})
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        // The notes' transparency is on in a new setting file: its controls are live.
        EXPECT_TRUE(form->ChkMarkAlphablend->isChecked());
        EXPECT_TRUE(form->TrackBarMark->isEnabled());
        EXPECT_TRUE(form->LabMarkPosition->isEnabled());
    });
}

TEST_F(SettingFormTest, CheckingTransparencyEnablesTheTrackBarAndMovingItShowsThePosition)
{
    Store([](TSettingInfo& s) { s.AlphaBlendState = false; });
    RunDialog([](TFrmSettingForm* form) {
        ClickBox(form->ChkAlphablend);
        EXPECT_TRUE(form->ChkAlphablend->isChecked());
        for (QWidget* control : {static_cast<QWidget*>(form->TrackBar1), static_cast<QWidget*>(form->labBegin),
                                 static_cast<QWidget*>(form->LabPosition), static_cast<QWidget*>(form->LabEnd)})
            EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(form->TrackBar1, Qt::Key_Left);
        EXPECT_EQ(form->TrackBar1->value(), 180);
        EXPECT_EQ(form->LabPosition->text(), QStringLiteral("180"));
        ClickBox(form->ChkAlphablend);
        EXPECT_FALSE(form->TrackBar1->isEnabled());
        EXPECT_EQ(form->LabPosition->text(), QStringLiteral("180"));
        ClickBox(form->ChkAlphablend);
        Click(form->BitBtn1);
        EXPECT_FALSE(form->isVisible());
    });
    const TSettingInfo stored = Stored();
    EXPECT_TRUE(stored.AlphaBlendState);
    EXPECT_EQ(stored.AlphaBlendValue, 180);
}

TEST_F(SettingFormTest, StoredTransparencyOpensAtItsValue)
{
    Store([](TSettingInfo& s) {
        s.AlphaBlendState = true;
        s.AlphaBlendValue = 64;
        s.MarkFormAlphaBlendState = true;
        s.MarkFormAlphaBlendValue = 300; // beyond the track bar: it stops at its end
    });
    RunDialog([](TFrmSettingForm* form) {
        EXPECT_DOUBLE_EQ(form->windowOpacity(), 64 / 255.0) << "the dialog takes the window transparency";
        EXPECT_TRUE(form->TrackBar1->isEnabled());
        EXPECT_EQ(form->TrackBar1->value(), 64);
        EXPECT_EQ(form->LabPosition->text(), QStringLiteral("64"));
        EXPECT_EQ(form->TrackBarMark->value(), 255);
        EXPECT_EQ(form->LabMarkPosition->text(), QStringLiteral("255"));
    });
}

TEST_F(SettingFormTest, NoteTransparencyReachesEveryOpenNoteAndSwitchingItOffKeepsTheValue)
{
    TFrmMarkInfoForm* first = OpenNote(QStringLiteral("task20240101000000001"));
    TFrmMarkInfoForm* second = OpenNote(QStringLiteral("task20240101000000002"));
    ASSERT_TRUE(first && second);
    RunDialog([](TFrmSettingForm* form) {
        ASSERT_TRUE(form->ChkMarkAlphablend->isChecked());
        form->TrackBarMark->setFocus();
        QTest::keyClick(form->TrackBarMark, Qt::Key_Home);
        for (int i = 0; i < 60; ++i)
            QTest::keyClick(form->TrackBarMark, Qt::Key_PageUp);
        EXPECT_EQ(form->LabMarkPosition->text(), QStringLiteral("120"));
        Click(form->BitBtn1);
    });
    TSettingInfo stored = Stored();
    EXPECT_TRUE(stored.MarkFormAlphaBlendState);
    EXPECT_EQ(stored.MarkFormAlphaBlendValue, 120);
    for (TFrmMarkInfoForm* note : {first, second})
        EXPECT_DOUBLE_EQ(note->windowOpacity(), 120 / 255.0);

    RunDialog([](TFrmSettingForm* form) {
        EXPECT_EQ(form->TrackBarMark->value(), 120);
        ClickBox(form->ChkMarkAlphablend);
        EXPECT_FALSE(form->TrackBarMark->isEnabled());
        Click(form->BitBtn1);
    });
    stored = Stored();
    EXPECT_FALSE(stored.MarkFormAlphaBlendState);
    EXPECT_TRUE(SettingFile().contains("<markformalphablendvalue>120</markformalphablendvalue>"))
        << SettingFile().toStdString();
    for (TFrmMarkInfoForm* note : {first, second})
        EXPECT_DOUBLE_EQ(note->windowOpacity(), 1.0);
}

TEST_F(SettingFormTest, SortColumnOpensOnItsItemAndStoresTheItemInLowerCase)
{
    struct Case
    {
        QString stored;
        QString shown;
    };
    const Case cases[] = {
        {"", "Default"},           {"no such column", "Default"}, {"Task Name", "Default"},
        {"category", "Category"}, {"due date", "Due Date"},       {"priority", "Priority"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        Store([&](TSettingInfo& s) { s.SortByColumn = c.stored; });
        RunDialog([&](TFrmSettingForm* form) {
            EXPECT_EQ(form->CmbSoryBy->currentText(), c.shown);
            Click(form->BitBtn1);
        });
        EXPECT_EQ(Stored().SortByColumn, c.shown.toLower());
    }
}

TEST_F(SettingFormTest, PickingTaskNameStoresTaskName)
{
    RunDialog([](TFrmSettingForm* form) {
        ASSERT_EQ(form->CmbSoryBy->currentText(), QStringLiteral("Default"));
        form->CmbSoryBy->setFocus();
        QTest::keyClick(form->CmbSoryBy, Qt::Key_Down);
        QTest::keyClick(form->CmbSoryBy, Qt::Key_Down);
        EXPECT_EQ(form->CmbSoryBy->currentText(), QStringLiteral("Task Name"));
        Click(form->BitBtn1);
    });
    EXPECT_EQ(Stored().SortByColumn, QStringLiteral("task name"));
    EXPECT_TRUE(SettingFile().contains("<sortbycolumn>task name</sortbycolumn>"));
}

TEST_F(SettingFormTest, OkStoresEveryBoxAndCarriesTheHiddenStayOnTopThrough)
{
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop);
        Store([&](TSettingInfo& s) {
            s.AlwaysOnTop = onTop;
            s.MinimizeOnStart = false;
            s.DoneTaskPutInBottom = false;
        });
        const QString filterBefore = Stored().DisplayFilter;
        RunDialog([&](TFrmSettingForm* form) {
            EXPECT_EQ(form->ChkAlwaysOnTop->isChecked(), onTop);
            EXPECT_FALSE(form->ChkAlwaysOnTop->isVisible());
            ClickBox(form->ChkminimizeOnStart);
            ClickBox(form->ChkDoneTaskPutInBottom);
            Click(form->BitBtn1);
        });
        const TSettingInfo stored = Stored();
        EXPECT_EQ(stored.AlwaysOnTop, onTop);
        EXPECT_TRUE(stored.MinimizeOnStart);
        EXPECT_TRUE(stored.DoneTaskPutInBottom);
        EXPECT_EQ(stored.DisplayFilter, filterBefore) << "the dialog leaves the display filter alone";
    }
}

TEST_F(SettingFormTest, CancelWritesAndAppliesNothing)
{
    TFrmMarkInfoForm* note = OpenNote(QStringLiteral("task20240101000000003"));
    ASSERT_TRUE(note);
    const double opacityBefore = note->windowOpacity();
    const QByteArray fileBefore = SettingFile();
    RunDialog([](TFrmSettingForm* form) {
        ClickBox(form->ChkStartWithWindows);
        ClickBox(form->ChkminimizeOnStart);
        ClickBox(form->ChkAlphablend);
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(form->TrackBarMark, Qt::Key_PageDown);
        QTest::keyClick(form->CmbSoryBy, Qt::Key_End);
        EXPECT_EQ(form->CmbSoryBy->currentText(), QStringLiteral("Due Date"));
        Click(form->BitBtn2);
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(SettingFile(), fileBefore);
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
    EXPECT_DOUBLE_EQ(note->windowOpacity(), opacityBefore);
}

TEST_F(SettingFormTest, EscDoesNotCloseTheDialogAndEnterIsOk)
{
    RunDialog([](TFrmSettingForm* form) {
        QApplication::setActiveWindow(form);
        form->ChkminimizeOnStart->setFocus();
        QTest::keyClick(form->ChkminimizeOnStart, Qt::Key_Escape);
        QTest::keyClick(form, Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible()) << "Esc closed the dialog";
        EXPECT_EQ(form->result(), 0);
        QTest::keyClick(form->ChkminimizeOnStart, Qt::Key_Space);
        QTest::keyClick(form->ChkminimizeOnStart, Qt::Key_Return);
        EXPECT_FALSE(form->isVisible()) << "Enter runs the default button";
        EXPECT_EQ(form->result(), int(QDialog::Accepted));
    });
    EXPECT_TRUE(Stored().MinimizeOnStart);
}

TEST_F(SettingFormTest, StartWithWindowsWritesTheAutostartEntryOnEveryOkAndRemovesIt)
{
    ASSERT_FALSE(QFileInfo::exists(FUser.File(QStringLiteral("config")))) << "the folders are made when needed";
    Store([](TSettingInfo& s) { s.StartWithWindows = false; });
    RunDialog([](TFrmSettingForm* form) {
        EXPECT_FALSE(form->ChkStartWithWindows->isChecked());
        ClickBox(form->ChkStartWithWindows);
        Click(form->BitBtn1);
    });
    EXPECT_TRUE(Stored().StartWithWindows);
    ASSERT_TRUE(QFileInfo::exists(EntryPath()));
    {
        QSettings entry(EntryPath(), QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
        EXPECT_EQ(entry.value(QStringLiteral("X-GNOME-Autostart-enabled")).toString(), QStringLiteral("true"));
    }
    QFile file(EntryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList exec = lines.filter(QRegularExpression(QStringLiteral("^Exec=")));
    ASSERT_EQ(exec.size(), 1);
    EXPECT_EQ(DesktopEntry::SplitExecValue(exec.first().mid(5)), QStringList{QCoreApplication::applicationFilePath()});
    file.close();

    // Written again on the next Ok even though the box was not touched.
    QFile::remove(EntryPath());
    RunDialog([](TFrmSettingForm* form) {
        EXPECT_TRUE(form->ChkStartWithWindows->isChecked());
        Click(form->BitBtn1);
    });
    EXPECT_TRUE(QFileInfo::exists(EntryPath()));

    RunDialog([](TFrmSettingForm* form) {
        ClickBox(form->ChkStartWithWindows);
        Click(form->BitBtn1);
    });
    EXPECT_FALSE(Stored().StartWithWindows);
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));

    // Off again with no entry left: no message, the dialog closes.
    RunDialog([](TFrmSettingForm* form) {
        Click(form->BitBtn1);
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_FALSE(QFileInfo::exists(EntryPath()));
}

TEST_F(SettingFormTest, AFailedWriteShowsTheMessageKeepsTheDialogOpenAndTheSettingsSaved)
{
    TFrmMarkInfoForm* note = OpenNote(QStringLiteral("task20240101000000004"));
    ASSERT_TRUE(note);
    const double opacityBefore = note->windowOpacity();
    // A file where the configuration folder should be: no folder can be made under it.
    FUser.Write(QStringLiteral("blocker"), "not a folder");
    TScopedEnv config("XDG_CONFIG_HOME", FUser.File(QStringLiteral("blocker/config")).toUtf8());
    Store([](TSettingInfo& s) { s.StartWithWindows = false; });
    QString message;
    bool stayedOpen = false;
    RunDialog([&](TFrmSettingForm* form) {
        ClickBox(form->ChkStartWithWindows);
        ASSERT_TRUE(form->ChkMarkAlphablend->isChecked());
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(form->TrackBarMark, Qt::Key_PageDown);
        WhenModalOpens([&](QWidget* box) {
            if (auto* messageBox = qobject_cast<QMessageBox*>(box))
                message = messageBox->text();
            ClickMessageBoxButton(box, QMessageBox::Ok);
        });
        Click(form->BitBtn1);
        stayedOpen = form->isVisible();
        Click(form->BitBtn2);
    });
    EXPECT_EQ(message, QStringLiteral("Failed to set data for 'CorvalenPellory'"));
    EXPECT_TRUE(stayedOpen);
    const TSettingInfo stored = Stored();
    EXPECT_TRUE(stored.StartWithWindows) << "the settings were saved before the entry was written";
    EXPECT_EQ(stored.MarkFormAlphaBlendValue, 200);
    EXPECT_DOUBLE_EQ(note->windowOpacity(), opacityBefore) << "the steps after the failed write do not run";
}

TEST_F(SettingFormTest, StayOnTopWindowsAreOrdinaryWhileTheDialogIsOpen)
{
    QWidget popup(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    popup.resize(100, 50);
    popup.show();
    ASSERT_TRUE(popup.windowHandle());
    bool onTopDuring = true;
    RunDialog([&](TFrmSettingForm*) { onTopDuring = popup.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); });
    EXPECT_FALSE(onTopDuring);
    EXPECT_TRUE(popup.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

// With the main window: the dialog belongs to it, its Ok gives it the new transparency, and
// the setting command refills the grid afterwards so a new sort column shows at once.
class SettingFromMainFormTest : public SettingFormTest
{
protected:
    void SetUp() override
    {
        SettingFormTest::SetUp();
        if (!ReminderThreadList)
            ReminderThreadList = new TStringObjectList<TReminderThread>();
        TFrmMainForm::SetNotificationAreaCheck([] { return true; });
    }
    void TearDown() override
    {
        FMain.reset();
        TFrmMainForm::SetNotificationAreaCheck({});
        SettingFormTest::TearDown();
    }

    void AddTask(const QString& id, const QString& name, const QString& priority)
    {
        TTaskInfo task;
        task.ID = id;
        task.TaskName = name;
        task.TaskCategoryID = QStringLiteral("category20081124202715129");
        task.TaskPriorityID = priority;
        task.TaskDueDate = QStringLiteral("none");
        task.TaskState = QStringLiteral("false");
        XMLOperation->AddTask(task);
    }

    QStringList GridNames() const
    {
        QStringList names;
        for (int i = 0; i < FMain->TreeListTaskList->topLevelItemCount(); ++i)
            names << FMain->TreeListTaskList->topLevelItem(i)->text(CxTreeListColTaskName);
        return names;
    }

    std::unique_ptr<TFrmMainForm> FMain;
};

TEST_F(SettingFromMainFormTest, OkGivesTheMainWindowTheNewTransparency)
{
    Store([](TSettingInfo& s) { s.AlphaBlendState = false; });
    FMain = std::make_unique<TFrmMainForm>();
    FMain->show();
    ASSERT_DOUBLE_EQ(FMain->windowOpacity(), 1.0);
    RunDialog([this](TFrmSettingForm* form) {
        EXPECT_EQ(form->parentWidget(), FMain.get()) << "the dialog belongs to the main window";
        ClickBox(form->ChkAlphablend);
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(form->TrackBar1, Qt::Key_Left);
        Click(form->BitBtn1);
    });
    EXPECT_DOUBLE_EQ(FMain->windowOpacity(), 180 / 255.0);

    RunDialog([](TFrmSettingForm* form) {
        ClickBox(form->ChkAlphablend);
        Click(form->BitBtn2);
    });
    EXPECT_DOUBLE_EQ(FMain->windowOpacity(), 180 / 255.0) << "Cancel applies nothing";
}

TEST_F(SettingFromMainFormTest, TheSettingCommandRefillsTheGridInTheNewOrder)
{
    Store([](TSettingInfo& s) { s.SortByColumn = QStringLiteral("priority"); });
    AddTask(QStringLiteral("task20240101000000011"), QStringLiteral("Carrots"), QStringLiteral("0"));
    AddTask(QStringLiteral("task20240101000000012"), QStringLiteral("Apples"), QStringLiteral("1"));
    AddTask(QStringLiteral("task20240101000000013"), QStringLiteral("Bread"), QStringLiteral("2"));
    FMain = std::make_unique<TFrmMainForm>();
    FMain->show();
    const QStringList before = GridNames();
    ASSERT_EQ(before.size(), 3);
    ASSERT_NE(before, (QStringList{"Apples", "Bread", "Carrots"}));
    bool opened = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* form = qobject_cast<TFrmSettingForm*>(modal);
        opened = form != nullptr;
        if (!form) {
            modal->close();
            return;
        }
        const int index = form->CmbSoryBy->findText(QStringLiteral("Task Name"));
        form->CmbSoryBy->setFocus();
        while (form->CmbSoryBy->currentIndex() < index)
            QTest::keyClick(form->CmbSoryBy, Qt::Key_Down);
        Click(form->BitBtn1);
    });
    FMain->ActOpeSetting->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(GridNames(), (QStringList{"Apples", "Bread", "Carrots"}));
}

// The entry for an executable whose path holds blanks and other characters a desktop reads
// as syntax: the Exec line, split as a desktop splits it, starts that very file.
TEST(AutostartEntryTest, APathWithBlanksAndShellCharactersStartsTheRightProgram)
{
    TestFolder user;
    TScopedEnv config("XDG_CONFIG_HOME", user.File(QStringLiteral("config")).toUtf8());
    const QString folder = user.File(QStringLiteral("my apps/\"quoted\" $HOME `id` 100% it's"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/task wick");
    const QString marker = user.File(QStringLiteral("started"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$0\" > '%1'\n").arg(marker).toUtf8());
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QString error;
    ASSERT_TRUE(Platform::WriteAutostartEntry(QStringLiteral("CorvalenPellory"), program, &error))
        << error.toStdString();
    EXPECT_EQ(Platform::AutostartEntryPath(QStringLiteral("CorvalenPellory")),
              user.File(QStringLiteral("config/autostart/CorvalenPellory.desktop")));
    QFile entry(Platform::AutostartEntryPath(QStringLiteral("CorvalenPellory")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QString execValue;
    for (const QString& line : QString::fromUtf8(entry.readAll()).split(u'\n'))
        if (line.startsWith(QStringLiteral("Exec=")))
            execValue = line.mid(5);
    const std::optional<QStringList> words = DesktopEntry::SplitExecValue(execValue);
    ASSERT_TRUE(words.has_value()) << execValue.toStdString();
    ASSERT_EQ(*words, QStringList{program});

    QProcess run;
    run.start(words->first(), words->mid(1));
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(user.Read(QStringLiteral("started")), program.toUtf8());

    EXPECT_TRUE(Platform::RemoveAutostartEntry(QStringLiteral("CorvalenPellory"), &error));
    EXPECT_FALSE(entry.exists());
    EXPECT_TRUE(Platform::RemoveAutostartEntry(QStringLiteral("CorvalenPellory"), &error)) << "a missing entry is no error";
}

TEST(AutostartEntryTest, ARewriteReplacesTheWholeEntry)
{
    TestFolder user;
    TScopedEnv config("XDG_CONFIG_HOME", user.File(QStringLiteral("config")).toUtf8());
    QString error;
    ASSERT_TRUE(Platform::WriteAutostartEntry(QStringLiteral("CorvalenPellory"),
                                              QStringLiteral("/opt/a much longer folder name/taskwick"), &error));
    ASSERT_TRUE(Platform::WriteAutostartEntry(QStringLiteral("CorvalenPellory"), QStringLiteral("/opt/t"), &error));
    const QByteArray text = user.Read(QStringLiteral("config/autostart/CorvalenPellory.desktop"));
    EXPECT_TRUE(text.contains("\nExec=/opt/t\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("longer"));
    EXPECT_EQ(QDir(user.File(QStringLiteral("config/autostart"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("CorvalenPellory.desktop")})
        << "no temporary file is left behind";
}

} // namespace
