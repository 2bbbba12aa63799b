// Reminder dates and times are stored in the regional formats: round trips under several regions,
// and texts that no longer read under other settings.
#include "Errors.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <optional>

namespace {

using CaseNames::PrintTo;

const QString kId = QStringLiteral("task20260105080000000");

struct RoundTripCase
{
    const char* Name;
    TFormatSettings Formats;
    QDate Date;
    QTime Time;
    const char* DateText;
    const char* TimeText;
};

class ReminderRoundTripTest : public ::testing::TestWithParam<RoundTripCase>
{
};

TEST_P(ReminderRoundTripTest, IsWrittenInTheRegionalFormsAndReadBackToTheSecond)
{
    const RoundTripCase& c = GetParam();
    TestFolder folder;
    {
        TXMLOperation store(folder.Path(), c.Formats);
        TTaskInfo t = MakeTask(kId, QStringLiteral("Remind me"), DefaultCategoryID);
        // Only the date part of Date and the time part of Time are kept; milliseconds are dropped.
        t.Reminder = {true, DateTimeToTDateTime(c.Date, QTime(17, 45)),
                      DateTimeToTDateTime(QDate(2001, 7, 8), c.Time.addMSecs(456))};
        store.AddTask(t);
    }
    const QByteArray file = folder.Read(kTaskFile);
    EXPECT_EQ(ChildText(file, kId, QStringLiteral("taskreminderdate")), QString::fromUtf8(c.DateText));
    EXPECT_EQ(ChildText(file, kId, QStringLiteral("taskremindertime")), QString::fromUtf8(c.TimeText));

    TXMLOperation store(folder.Path(), c.Formats);
    TTaskInfo read;
    store.GetTask(kId, read);
    EXPECT_EQ(read.Reminder, (TReminderInfo{true, DateToTDateTime(c.Date), TimeToTDateTime(c.Time)}));

    // A snooze puts one full date-time into both fields.
    const QDateTime later = QDateTime(c.Date, c.Time).addDays(1).addSecs(10 * 60);
    const TDateTime moment = DateTimeToTDateTime(later);
    store.SetTaskReminder(kId, {true, moment, moment});
    TXMLOperation reopened(folder.Path(), c.Formats);
    reopened.GetTask(kId, read);
    EXPECT_EQ(read.Reminder.Date, DateToTDateTime(later.date()));
    EXPECT_EQ(read.Reminder.Time, TimeToTDateTime(later.time()));
    EXPECT_EQ(TDateTimeToDateTime(read.Reminder.Date + read.Reminder.Time), later);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, ReminderRoundTripTest,
    ::testing::Values(
        RoundTripCase{"UnitedStatesMorning", UnitedStates(), QDate(2009, 1, 29), QTime(9, 5, 0), "1/29/2009",
                      "9:05:00 AM"},
        RoundTripCase{"UnitedStatesLastSecond", UnitedStates(), QDate(2026, 12, 31), QTime(23, 59, 59),
                      "12/31/2026", "11:59:59 PM"},
        RoundTripCase{"UnitedStatesMidnight", UnitedStates(), QDate(2024, 2, 29), QTime(0, 0, 0), "2/29/2024",
                      "12:00:00 AM"},
        RoundTripCase{"UnitedStatesNoon", UnitedStates(), QDate(2026, 7, 4), QTime(12, 0, 1), "7/4/2026",
                      "12:00:01 PM"},
        RoundTripCase{"UnitedStates24Hour", UnitedStates24(), QDate(2026, 3, 5), QTime(21, 30, 15),
                      "3/5/2026", "21:30:15"},
        RoundTripCase{"German", German(), QDate(2009, 1, 29), QTime(9, 5, 0), "29.01.2009", "09:05:00"},
        RoundTripCase{"GermanEvening", German(), QDate(2026, 3, 5), QTime(21, 30, 15), "05.03.2026",
                      "21:30:15"},
        RoundTripCase{"British", British(), QDate(2026, 12, 13), QTime(0, 0, 0), "13/12/2026", "00:00:00"},
        RoundTripCase{"British12Hour", British12(), QDate(2026, 12, 13), QTime(15, 4, 5), "13/12/2026",
                      "3:04:05 pm"},
        RoundTripCase{"TwoDigitYear", TwoDigitYears(), QDate(2001, 2, 3), QTime(4, 5, 6), "2/3/01",
                      "4:05:06 AM"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A stored text that does not read under the current settings fails the whole read.
struct ReadFailureCase
{
    const char* Name;
    std::optional<TFormatSettings> Writer; // the store wrote the reminder under these settings
    ChildChanges Changes;                  // else the element was edited by hand
    TFormatSettings Reader;
    const char* Message;
};

class ReadFailureTest : public ::testing::TestWithParam<ReadFailureCase>
{
};

TEST_P(ReadFailureTest, NamesTheTextAndLeavesTheCallersRecordListAndFileAsTheyWere)
{
    const ReadFailureCase& c = GetParam();
    TestFolder folder;
    const QString good = QStringLiteral("task20260105070000000");
    if (c.Writer) {
        TXMLOperation writer(folder.Path(), *c.Writer);
        writer.AddTask(MakeTask(good, QStringLiteral("Readable"), DefaultCategoryID));
        TTaskInfo t = MakeTask(kId, QStringLiteral("Remind me"), DefaultCategoryID);
        t.Reminder = {true, DateToTDateTime(QDate(2009, 1, 29)), TimeToTDateTime(QTime(9, 5))};
        writer.AddTask(t);
    } else {
        folder.Write(kTaskFile, TaskFileOf({TaskElement(good), TaskElement(kId, c.Changes)}));
        TXMLOperation creator(folder.Path(), c.Reader); // creates the other two files
    }
    const QHash<QString, FileStamp> before = StampDataFiles(folder);
    {
        TXMLOperation store(folder.Path(), c.Reader);
        TTaskInfo task =
            MakeTask(QStringLiteral("caller's own"), QStringLiteral("kept"), QStringLiteral("x"));
        const TTaskInfo taskBefore = task;
        try {
            store.GetTask(kId, task);
            ADD_FAILURE() << "GetTask: no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.Message));
        }
        EXPECT_EQ(task, taskBefore);

        TTaskInfoList list{taskBefore};
        try {
            store.GetTaskList(list);
            ADD_FAILURE() << "GetTaskList: no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.Message));
        }
        EXPECT_EQ(list, TTaskInfoList{taskBefore});

        // The readable task still reads.
        store.GetTask(good, task);
        EXPECT_EQ(task.TaskName, c.Writer ? QStringLiteral("Readable") : QStringLiteral("Stored"));
    }
    for (const QString& name : kDataFiles)
        EXPECT_TRUE(FileStamp::Of(folder, name) == before.value(name)) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadFailureTest,
    ::testing::Values(
        ReadFailureCase{
            "DayFirstDateUnderMonthFirst", British(), {}, UnitedStates(), "'29/01/2009' is not a valid date"},
        ReadFailureCase{
            "GermanDateUnderMonthFirst", German(), {}, UnitedStates(), "'29.01.2009' is not a valid date"},
        ReadFailureCase{
            "MonthFirstDateUnderDayFirst", UnitedStates(), {}, British(), "'1/29/2009' is not a valid date"},
        ReadFailureCase{"UnreadableTime",
                        {},
                        {{"taskremindertime", "25:00:00"}},
                        UnitedStates(),
                        "'25:00:00' is not a valid time"},
        ReadFailureCase{
            "EmptyDate", {}, {{"taskreminderdate", ""}}, UnitedStates(), "'' is not a valid date"},
        ReadFailureCase{"UnreadableNotePlace",
                        {},
                        {{"markformleft", "12px"}},
                        UnitedStates(),
                        "'12px' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
