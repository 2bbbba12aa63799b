// The reminder pop-up: its window, the alarm, and what OK and the close box write.
#include "ReminderFixture.h"
#include "Platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

using ShowTaskFormTest = ReminderTest;


TEST_F(ShowTaskFormTest, WindowControlsAndPlace)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("Call the bank"), Moment(1, 3, 9, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 9, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("Reminder"));
    EXPECT_EQ(popup->size(), QSize(284, 255));
    EXPECT_EQ(popup->minimumSize(), popup->maximumSize());
    EXPECT_EQ(popup->parentWidget(), nullptr);
    const Qt::WindowFlags flags = popup->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_DOUBLE_EQ(popup->windowOpacity(), 1.0);

    struct Place
    {
        QWidget* Control;
        QRect Rect;
    };
    for (const Place& p : {Place{popup->EdtTaskName, QRect(8, 27, 269, 21)},
                           Place{popup->MeoTaskContent, QRect(8, 72, 269, 142)},
                           Place{popup->BitBtn1, QRect(217, 221, 58, 25)}})
        EXPECT_EQ(p.Control->geometry(), p.Rect) << p.Control->objectName().toStdString();
    EXPECT_EQ(popup->CmbRemindIn->pos(), QPoint(93, 223));
    EXPECT_EQ(popup->CmbRemindIn->width(), 102);
    EXPECT_EQ(popup->Label1->pos(), QPoint(8, 8));
    EXPECT_EQ(popup->Label2->pos(), QPoint(8, 52));
    EXPECT_EQ(popup->Label3->y(), 227);
    EXPECT_LE(popup->Label3->x(), 34);
    EXPECT_EQ(popup->Label1->text(), QStringLiteral("Task Name :"));
    EXPECT_EQ(popup->Label2->text(), QStringLiteral("Content :"));
    EXPECT_EQ(popup->Label3->text(), QStringLiteral("Remind in :"));
    EXPECT_EQ(popup->BitBtn1->text(), QStringLiteral("&OK"));

    EXPECT_EQ(popup->EdtTaskName->text(), QStringLiteral("Call the bank"));
    EXPECT_EQ(popup->MeoTaskContent->toPlainText(), QStringLiteral("Call the bank in detail"));
    EXPECT_FALSE(popup->CmbRemindIn->isEditable());
    QStringList choices;
    for (int i = 0; i < popup->CmbRemindIn->count(); ++i)
        choices << popup->CmbRemindIn->itemText(i);
    EXPECT_EQ(choices, (QStringList{"Don't Remind", "1 minute", "5 minutes", "10 minutes", "30 minutes", "1 hour",
                                    "2 hours", "5 hours", "8 hours"}));
    EXPECT_EQ(popup->CmbRemindIn->currentText(), QStringLiteral("Don't Remind"));

    // Flush with the work area's bottom-right corner, frame included.
    const QRect area = Platform::WorkArea();
    EXPECT_EQ(popup->frameGeometry().bottomRight(), area.bottomRight());
    EXPECT_EQ(popup->Thread.data(), Listed(QStringLiteral("task1")));
}

// "Remind in :" stands at x 34, moved left only as far as a wider font needs to keep it
// clear of the choice box.
TEST_F(ShowTaskFormTest, RemindInLabelStaysClearOfTheChoiceBoxInAnyFont)
{
    const QFont appFont = QApplication::font();
    for (int pixels : {8, 11, 15}) {
        QFont font = appFont;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        TFrmShowTaskForm popup;
        QApplication::setFont(appFont);
        const int width = popup.Label3->fontMetrics().horizontalAdvance(popup.Label3->text());
        EXPECT_LT(popup.Label3->x() + width, popup.CmbRemindIn->x()) << pixels;
        if (34 + width < 90) {
            EXPECT_EQ(popup.Label3->x(), 34) << pixels;
        }
    }
}

TEST_F(ShowTaskFormTest, OpacityIgnoresTheTransparencySettings)
{
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    setting.AlphaBlendState = true;
    setting.AlphaBlendValue = 120;
    setting.MarkFormAlphaBlendState = true;
    setting.MarkFormAlphaBlendValue = 90;
    XMLOperation->SaveSetting(setting);
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 9, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_DOUBLE_EQ(popup->windowOpacity(), 1.0);
}

TEST_F(ShowTaskFormTest, AlarmOnShowAndAgainWhenComingBackFromAnotherWindow)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    QWidget mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("main"));
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    Alarms = 0;

    TFrmShowTaskForm* popup = FireAt(1, 3, 9, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(popup));
    EXPECT_EQ(Alarms, 1); // shown: once, also when the window manager activates it

    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    EXPECT_EQ(Alarms, 1);
    popup->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(popup));
    EXPECT_EQ(Alarms, 2);
}

TEST_F(ShowTaskFormTest, MinimisingThePopupLeavesTheMainWindowAsItWas)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    QWidget mainWindow;
    mainWindow.show();
    TFrmShowTaskForm* popup = FireAt(1, 3, 9, 0);
    ASSERT_NE(popup, nullptr);
    popup->showMinimized();
    EXPECT_TRUE(popup->isMinimized());
    EXPECT_FALSE(mainWindow.isMinimized());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(ShowTaskFormTest, ShownWithoutAnyOtherWindowOfTheProgram)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    QWidget mainWindow; // hidden in the tray
    TFrmShowTaskForm* popup = FireAt(1, 3, 9, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_FALSE(mainWindow.isVisible());
}

struct SnoozeCase
{
    const char* Name;
    TDateTime Due;
    QString Choice;
    int ConfirmHour, ConfirmMinute;
    QString StoredDate, StoredTime;
};

class ShowTaskFormSnooze : public ReminderTest, public testing::WithParamInterface<SnoozeCase>
{
};

TEST_P(ShowTaskFormSnooze, AddsTheDelayToTheDueMomentAndWritesIt)
{
    const SnoozeCase& c = GetParam();
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), c.Due);
    StartAllReminders();
    const QDateTime due = TDateTimeToDateTime(c.Due);
    SetClock(due.date().month(), due.date().day(), due.time().hour(), due.time().minute());
    TickReminders();
    TFrmShowTaskForm* popup = OnlyPopup();
    ASSERT_NE(popup, nullptr);
    SetClock(due.date().month(), due.date().day(), c.ConfirmHour, c.ConfirmMinute);
    Confirm(popup, c.Choice);

    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskreminderstate")), QStringLiteral("true"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskreminderdate")), c.StoredDate);
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskremindertime")), c.StoredTime);
    TReminderThread* thread = Listed(QStringLiteral("task1"));
    ASSERT_NE(thread, nullptr);
    EXPECT_FALSE(thread->Reminded());
    EXPECT_EQ(WaitingReminderCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShowTaskFormSnooze,
    testing::Values(SnoozeCase{"FiveMinutesAt1002", Moment(1, 3, 10, 0), "5 minutes", 10, 2, "1/3/2026", "10:05:00 AM"},
                    SnoozeCase{"FiveMinutesAt1020", Moment(1, 3, 10, 0), "5 minutes", 10, 20, "1/3/2026", "10:05:00 AM"},
                    SnoozeCase{"ThirtyMinutesOverMidnight", Moment(1, 3, 23, 45), "30 minutes", 23, 46, "1/4/2026",
                               "12:15:00 AM"},
                    SnoozeCase{"EightHoursFromEightPm", Moment(1, 3, 20, 0), "8 hours", 20, 1, "1/4/2026", "4:00:00 AM"},
                    SnoozeCase{"OneMinute", Moment(1, 3, 10, 0), "1 minute", 10, 0, "1/3/2026", "10:01:00 AM"},
                    SnoozeCase{"OneHour", Moment(1, 3, 10, 0), "1 hour", 10, 0, "1/3/2026", "11:00:00 AM"}),
    [](const testing::TestParamInfo<SnoozeCase>& info) { return std::string(info.param.Name); });

TEST_F(ShowTaskFormTest, FiveMinutesConfirmedAt1002FiresAgainAt1005)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    SetClock(1, 3, 10, 2);
    Confirm(popup, QStringLiteral("5 minutes"));
    TickAt(1, 3, 10, 2, 1);
    TickAt(1, 3, 10, 4, 59);
    EXPECT_TRUE(Popups().isEmpty());
    TickAt(1, 3, 10, 5, 0);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ShowTaskFormTest, FiveMinutesConfirmedAt1020FiresAtTheNextTick)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    SetClock(1, 3, 10, 20);
    Confirm(popup, QStringLiteral("5 minutes"));
    EXPECT_TRUE(Popups().isEmpty());
    TickAt(1, 3, 10, 20, 1);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ShowTaskFormTest, DontRemindWritesFalseKeepsTheTextsAndStopsTheObject)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    QTest::mouseClick(popup->BitBtn1, Qt::LeftButton); // "Don't Remind" is chosen from the start
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskreminderstate")), QStringLiteral("false"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskreminderdate")), QStringLiteral("1/3/2026"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskremindertime")), QStringLiteral("10:00:00 AM"));
    EXPECT_EQ(ReminderThreadList->Count(), 0);
    TickAt(1, 3, 11, 0);
    EXPECT_TRUE(Popups().isEmpty());

    // Nor after the next start.
    delete XMLOperation;
    XMLOperation = new TXMLOperation(Folder.Path(), Formats);
    StartAllReminders();
    EXPECT_EQ(ReminderThreadList->Count(), 0);
}

TEST_F(ShowTaskFormTest, OkRefreshesTheTasksNote)
{
    TTaskInfo task = MakeTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    task.MarkFormState = true;
    XMLOperation->AddTask(task);
    ShowDesktopNotes();
    ASSERT_EQ(MarkFormList->Count(), 1);
    TFrmMarkInfoForm* note = MarkFormList->Objects(0);
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("1/3/2026 10:00:00 AM"));

    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    Confirm(popup, QStringLiteral("2 hours"));
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("1/3/2026 12:00:00 PM"));

    TickAt(1, 3, 12, 0);
    popup = OnlyPopup();
    ASSERT_NE(popup, nullptr);
    Confirm(popup, QStringLiteral("Don't Remind"));
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("none"));
}

TEST_F(ShowTaskFormTest, CloseBoxWritesNothingAndTheObjectStaysReminded)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    const QByteArray before = Folder.Read(TaskFileName);
    popup->CmbRemindIn->setCurrentIndex(2);
    popup->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_EQ(Folder.Read(TaskFileName), before);
    ASSERT_NE(Listed(QStringLiteral("task1")), nullptr);
    EXPECT_TRUE(Listed(QStringLiteral("task1"))->Reminded());
}

TEST_F(ShowTaskFormTest, OkAfterTheObjectWasReplacedWorksFromTheStoredTask)
{
    const TTaskInfo task = AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    // The task is saved in the editor while the pop-up is open: its object is replaced.
    StartTaskReminder(task);
    ASSERT_TRUE(popup->Thread.isNull());
    TReminderThread* current = Listed(QStringLiteral("task1"));
    current->SetReminded(true); // it has fired as well, its pop-up closed

    SetClock(1, 3, 10, 1);
    Confirm(popup, QStringLiteral("10 minutes"));
    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskremindertime")), QStringLiteral("10:10:00 AM"));
    ASSERT_EQ(ReminderThreadList->Count(), 1);
    EXPECT_EQ(Listed(QStringLiteral("task1")), current);
    EXPECT_FALSE(current->Reminded());
    TickAt(1, 3, 10, 9, 59);
    EXPECT_TRUE(Popups().isEmpty());
    TickAt(1, 3, 10, 10);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ShowTaskFormTest, OkAfterTheObjectWasStoppedRestartsFromTheStoredTask)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    StopTaskReminder(QStringLiteral("task1"));
    ASSERT_TRUE(popup->Thread.isNull());

    Confirm(popup, QStringLiteral("5 minutes"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskremindertime")), QStringLiteral("10:05:00 AM"));
    ASSERT_NE(Listed(QStringLiteral("task1")), nullptr);
    TickAt(1, 3, 10, 5);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ShowTaskFormTest, DontRemindAfterTheObjectWasReplacedStopsTheCurrentOne)
{
    const TTaskInfo task = AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    StartTaskReminder(task);
    Confirm(popup, QStringLiteral("Don't Remind"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("taskreminderstate")), QStringLiteral("false"));
    EXPECT_EQ(ReminderThreadList->Count(), 0);
}

TEST_F(ShowTaskFormTest, TaskDeletedMeanwhileWritesNothingAndCloses)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0));
    TFrmShowTaskForm* popup = FireAt(1, 3, 10, 0);
    ASSERT_NE(popup, nullptr);
    XMLOperation->DeleteTask(QStringLiteral("task1"));
    StopTaskReminder(QStringLiteral("task1"));
    const QByteArray before = Folder.Read(TaskFileName);
    Confirm(popup, QStringLiteral("5 minutes"));
    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_EQ(Folder.Read(TaskFileName), before);
    EXPECT_EQ(ReminderThreadList->Count(), 0);
}

TEST_F(ShowTaskFormTest, UnreadableReminderTextShowsTheErrorAndKeepsThePopupOpen)
{
    // A short date with month names is written but not read back.
    delete XMLOperation;
    Formats.ShortDateFormat = QStringLiteral("d MMM yyyy");
    XMLOperation = new TXMLOperation(Folder.Path(), Formats);
    // The editor hands over the record it wrote.
    StartTaskReminder(AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 10, 0)));
    TickAt(1, 3, 10, 0);
    TFrmShowTaskForm* popup = OnlyPopup();
    ASSERT_NE(popup, nullptr);
    const QByteArray before = Folder.Read(TaskFileName);

    QString seen;
    WhenModalOpens([&seen](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            seen = box->text();
        ClickMessageBoxButton(modal, QMessageBox::Ok);
    });
    Confirm(popup, QStringLiteral("5 minutes"));
    EXPECT_EQ(seen, QStringLiteral("'3 Jan 2026 10:00:00 AM' is not a valid date and time"));
    EXPECT_EQ(OnlyPopup(), popup);
    EXPECT_EQ(Folder.Read(TaskFileName), before);
    EXPECT_TRUE(Listed(QStringLiteral("task1"))->Reminded());
}

TEST_F(ShowTaskFormTest, AlarmFileThatCannotBePlayedGivesTheBeep)
{
    bool fromFile = true;
    auto connection = QObject::connect(&TAlarm::Instance(), &TAlarm::Sounded, [&fromFile](bool f) { fromFile = f; });
    TAlarm::Instance().SetFile(Folder.File(QStringLiteral("missing.wav")));
    TAlarm::Instance().Play();
    EXPECT_FALSE(fromFile);
    EXPECT_FALSE(TAlarm::Instance().IsPlaying());
    EXPECT_FALSE(ReminderChecksPaused());
    QObject::disconnect(connection);
}
