// The reminder objects: when they fire, how often, and which objects exist.
#include "ReminderFixture.h"

#include <QLineEdit>

using ReminderThreadTest = ReminderTest;

TEST_F(ReminderThreadTest, PastDayFiresOnlyOnceItsTimeOfDayIsReached)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("Call the bank"), Moment(1, 1, 10, 0));
    SetClock(1, 3, 9, 0);
    StartAllReminders();
    TickReminders();
    TickAt(1, 3, 9, 59, 59);
    EXPECT_TRUE(Popups().isEmpty());

    TickAt(1, 3, 10, 0, 0);
    ASSERT_EQ(Popups().size(), 1);
    EXPECT_EQ(Popups().first()->EdtTaskName->text(), QStringLiteral("Call the bank"));
    EXPECT_TRUE(Listed(QStringLiteral("task1"))->Reminded());
}

TEST_F(ReminderThreadTest, DueOnStartFiresAtTheFirstTickOnTheNextWholeSecond)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("Stand-up"), Moment(1, 3, 10, 0));
    SetClock(1, 3, 10, 30, 0, 250);
    StartAllReminders();
    EXPECT_TRUE(Popups().isEmpty());
    // The shared tick is armed for the next whole second of the clock: 750 ms from 10:30:00.250.
    const int next = MillisecondsToNextReminderTick();
    EXPECT_GT(next, 0);
    EXPECT_LE(next, 750);

    TickAt(1, 3, 10, 30, 1);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ReminderThreadTest, LaterDayStaysSilentAlsoAfterItsTimeOfDay)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("Dentist"), Moment(1, 5, 10, 0));
    StartAllReminders();
    for (const auto& [day, hour] : {std::pair{3, 11}, std::pair{4, 10}, std::pair{4, 23}})
        TickAt(1, day, hour, 0);
    TickAt(1, 5, 9, 59, 59);
    EXPECT_TRUE(Popups().isEmpty());
    TickAt(1, 5, 10, 0);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ReminderThreadTest, SilentAfterFiringAndNoLongerChecked)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("Dentist"), Moment(1, 3, 9, 0));
    AddTask(QStringLiteral("task2"), QStringLiteral("Later"), Moment(1, 9, 9, 0));
    StartAllReminders();
    EXPECT_EQ(WaitingReminderCount(), 2);
    TickAt(1, 3, 9, 0);
    ASSERT_EQ(Popups().size(), 1);
    EXPECT_EQ(WaitingReminderCount(), 1);

    // The pop-up is closed with its close box: nothing more for the rest of the run.
    Popups().first()->close();
    for (int minute = 1; minute < 5; ++minute)
        TickAt(1, 3, 9, minute);
    TickAt(1, 4, 9, 0);
    EXPECT_TRUE(Popups().isEmpty());
    EXPECT_TRUE(Listed(QStringLiteral("task1"))->Reminded());
}

TEST_F(ReminderThreadTest, SavedTaskReplacesItsObjectAndAPastMomentFiresAgain)
{
    const TTaskInfo task = AddTask(QStringLiteral("task1"), QStringLiteral("Dentist"), Moment(1, 3, 9, 0));
    StartAllReminders();
    TickAt(1, 3, 9, 0);
    ASSERT_EQ(Popups().size(), 1);
    QPointer<TReminderThread> first = Listed(QStringLiteral("task1"));

    // The task editor's Ok restarts the task's reminder with the record it wrote.
    StartTaskReminder(task);
    ASSERT_EQ(ReminderThreadList->Count(), 1);
    EXPECT_TRUE(first.isNull()); // the old object is stopped and released
    EXPECT_FALSE(Listed(QStringLiteral("task1"))->Reminded());
    // The first pop-up no longer refers to the stopped object.
    EXPECT_TRUE(Popups().first()->Thread.isNull());

    TickAt(1, 3, 9, 5);
    EXPECT_EQ(Popups().size(), 2);
}

TEST_F(ReminderThreadTest, DoneTaskIsRemindedLikeAnyOther)
{
    TTaskInfo task = MakeTask(QStringLiteral("task1"), QStringLiteral("Done already"), Moment(1, 3, 9, 0));
    task.TaskState = QStringLiteral("true");
    XMLOperation->AddTask(task);
    StartAllReminders();
    TickAt(1, 3, 9, 0);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ReminderThreadTest, TwoRemindersInOneSecondGiveTwoPopupsAtTheSamePlace)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("First"), Moment(1, 3, 9, 0));
    AddTask(QStringLiteral("task2"), QStringLiteral("Second"), Moment(1, 3, 9, 0));
    StartAllReminders();
    TickAt(1, 3, 9, 0);
    const QList<TFrmShowTaskForm*> popups = Popups();
    ASSERT_EQ(popups.size(), 2);
    QStringList names{popups[0]->EdtTaskName->text(), popups[1]->EdtTaskName->text()};
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
    EXPECT_EQ(popups[0]->geometry(), popups[1]->geometry());
    EXPECT_EQ(Alarms, 2);
}

TEST_F(ReminderThreadTest, StartAllRemindersListsTasksWithTheirReminderOnInStoredOrder)
{
    AddTask(QStringLiteral("task3"), QStringLiteral("c"), Moment(1, 9, 9, 0));
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), 0, false);
    AddTask(QStringLiteral("task2"), QStringLiteral("b"), Moment(1, 8, 9, 0));
    StartAllReminders();
    ASSERT_EQ(ReminderThreadList->Count(), 2);
    EXPECT_EQ(ReminderThreadList->Strings(0), QStringLiteral("task3"));
    EXPECT_EQ(ReminderThreadList->Strings(1), QStringLiteral("task2"));
    EXPECT_EQ(ReminderThreadList->Objects(1)->TaskInfo.TaskName, QStringLiteral("b"));
    EXPECT_EQ(TDateTimeToDate(ReminderThreadList->Objects(1)->ReminderDate()), QDate(2026, 1, 8));
    EXPECT_EQ(TDateTimeToTime(ReminderThreadList->Objects(1)->ReminderTime()), QTime(9, 0));
}

TEST_F(ReminderThreadTest, AtMostOneObjectPerTaskAndSwitchingTheReminderOffStopsIt)
{
    TTaskInfo task = AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    StartTaskReminder(task);
    StartTaskReminder(task);
    EXPECT_EQ(ReminderThreadList->Count(), 1);

    task.Reminder.State = false;
    StartTaskReminder(task);
    EXPECT_EQ(ReminderThreadList->Count(), 0);
    EXPECT_EQ(WaitingReminderCount(), 0);
    EXPECT_EQ(MillisecondsToNextReminderTick(), -1);
    TickAt(1, 3, 9, 0);
    EXPECT_TRUE(Popups().isEmpty());
}

TEST_F(ReminderThreadTest, StopTaskReminderReleasesTheObject)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    AddTask(QStringLiteral("task2"), QStringLiteral("b"), Moment(1, 3, 9, 0));
    StartAllReminders();
    QPointer<TReminderThread> first = Listed(QStringLiteral("task1"));
    StopTaskReminder(QStringLiteral("task1"));
    StopTaskReminder(QStringLiteral("no such task"));
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(ReminderThreadList->Count(), 1);
    TickAt(1, 3, 9, 0);
    ASSERT_EQ(Popups().size(), 1);
    EXPECT_EQ(Popups().first()->EdtTaskName->text(), QStringLiteral("b"));
}

TEST_F(ReminderThreadTest, NoCheckWhilePausedAndTheMissedTickIsNotRepeated)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    StartAllReminders();
    PauseReminderChecks();
    EXPECT_EQ(MillisecondsToNextReminderTick(), -1);
    TickAt(1, 3, 9, 0);
    EXPECT_TRUE(Popups().isEmpty());
    ResumeReminderChecks();
    EXPECT_GT(MillisecondsToNextReminderTick(), 0);
    // The next tick compares with the clock as it is then.
    TickAt(1, 3, 9, 0, 1);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ReminderThreadTest, ClockSetForwardOrBackIsComparedAsItIs)
{
    AddTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 12, 0));
    StartAllReminders();
    TickAt(1, 3, 9, 0);
    // After a suspend or a clock change the moment has simply passed.
    TickAt(1, 3, 15, 0);
    ASSERT_EQ(Popups().size(), 1);
    Popups().first()->close();

    StopTaskReminder(QStringLiteral("task1"));
    StartTaskReminder(StoredTask(QStringLiteral("task1")));
    // The clock set back before the moment: silent again until it comes.
    TickAt(1, 3, 11, 59, 59);
    EXPECT_TRUE(Popups().isEmpty());
    TickAt(1, 3, 12, 0);
    EXPECT_EQ(Popups().size(), 1);
}

TEST_F(ReminderThreadTest, CreatedSuspendedAndPropertiesIgnoreWritesOfTheSameValue)
{
    const TTaskInfo task = MakeTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 9, 0));
    TReminderThread thread(true, task);
    EXPECT_FALSE(thread.TimerEnabled());
    SetClock(1, 3, 9, 0);
    thread.CheckReminder();
    EXPECT_TRUE(Popups().isEmpty());

    thread.Start();
    EXPECT_TRUE(thread.TimerEnabled());
    thread.SetReminderDate(Moment(1, 4, 0, 0));
    thread.SetReminderTime(Moment(1, 1, 8, 30));
    thread.CheckReminder();
    EXPECT_TRUE(Popups().isEmpty());
    SetClock(1, 4, 8, 30);
    thread.CheckReminder();
    EXPECT_EQ(Popups().size(), 1);
    EXPECT_TRUE(thread.Reminded());
    thread.SetReminded(true);
    EXPECT_TRUE(thread.Reminded());
    thread.CheckReminder();
    EXPECT_EQ(Popups().size(), 1);
}
