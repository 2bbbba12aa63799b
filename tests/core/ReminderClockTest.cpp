// The reminder's clock check and the snooze arithmetic.
#include "Errors.h"
#include "ReminderClock.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings Formats(const char* date, const char* time)
{
    TFormatSettings f;
    f.ShortDateFormat = QString::fromLatin1(date);
    f.DateSeparator = f.ShortDateFormat.contains(QLatin1Char('.')) ? QLatin1Char('.') : QLatin1Char('/');
    f.LongTimeFormat = QString::fromLatin1(time);
    f.TimeSeparator = QLatin1Char(':');
    f.TimeAMString = QStringLiteral("AM");
    f.TimePMString = QStringLiteral("PM");
    f.TwoDigitYearPivot = 2026;
    return f;
}

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0)
{
    return DateTimeToTDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

QDateTime Now(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

} // namespace

TEST(ReminderMoment, FixedWidthTexts)
{
    const TReminderMoment m = ReminderMomentOf(QDate(2026, 1, 3), QTime(9, 5, 7), QLatin1Char('.'));
    EXPECT_EQ(m.Day, QStringLiteral("20260103"));
    EXPECT_EQ(m.Time, QStringLiteral("09.05.07"));
    // The day of the date value and the time of day of the time value, whatever else they hold.
    const TReminderMoment mixed = ReminderMomentOf(At(2026, 12, 31, 23, 0), At(1999, 5, 5, 0, 0, 1), QLatin1Char(':'));
    EXPECT_EQ(mixed.Day, QStringLiteral("20261231"));
    EXPECT_EQ(mixed.Time, QStringLiteral("00:00:01"));
}

struct DueCase
{
    const char* Name;
    QDateTime Now;
    bool Due;
};

class ReminderDueAt : public testing::TestWithParam<DueCase>
{
};

// The reminder is 3 January 2026, 10:00:00.
TEST_P(ReminderDueAt, ComparesDayAndTimeOfDaySeparately)
{
    const TReminderMoment reminder = ReminderMomentOf(At(2026, 1, 3, 10, 0), At(2026, 1, 3, 10, 0), QLatin1Char(':'));
    EXPECT_EQ(ReminderDue(ReminderMomentOf(GetParam().Now, QLatin1Char(':')), reminder), GetParam().Due);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReminderDueAt,
    testing::Values(DueCase{"SameDayOneSecondBefore", Now(2026, 1, 3, 9, 59, 59, 999), false},
                    DueCase{"SameDayAtTheSecond", Now(2026, 1, 3, 10, 0, 0), true},
                    DueCase{"SameDayLater", Now(2026, 1, 3, 10, 30, 0), true},
                    DueCase{"LaterDayBeforeTheTimeOfDay", Now(2026, 1, 5, 9, 0, 0), false},
                    DueCase{"LaterDayAtTheTimeOfDay", Now(2026, 1, 5, 10, 0, 0), true},
                    DueCase{"NextYearEarlyInTheDay", Now(2027, 1, 1, 0, 0, 1), false},
                    DueCase{"EarlierDayAfterTheTimeOfDay", Now(2026, 1, 2, 23, 0, 0), false},
                    DueCase{"EarlierMonthLaterDayNumber", Now(2025, 12, 31, 11, 0, 0), false}),
    [](const testing::TestParamInfo<DueCase>& info) { return std::string(info.param.Name); });

TEST(RemindIn, NineChoicesInOrderWithTheirDelays)
{
    const QVector<TRemindInChoice>& choices = RemindInChoices();
    ASSERT_EQ(choices.size(), 9);
    const QStringList texts{"Don't Remind", "1 minute",  "5 minutes", "10 minutes", "30 minutes",
                            "1 hour",       "2 hours",   "5 hours",   "8 hours"};
    const QVector<qint64> delays{0, 60, 300, 600, 1800, 3600, 7200, 18000, 28800};
    for (int i = 0; i < choices.size(); ++i) {
        EXPECT_EQ(QString::fromLatin1(choices[i].Text), texts[i]);
        EXPECT_EQ(choices[i].DelaySeconds, delays[i]);
        EXPECT_EQ(RemindInDelaySeconds(texts[i]), delays[i]);
    }
    EXPECT_EQ(RemindInDelaySeconds(QStringLiteral("don't remind")), 0);
    EXPECT_EQ(RemindInDelaySeconds(QStringLiteral("8 HOURS")), 28800);
    EXPECT_EQ(RemindInDelaySeconds(QStringLiteral("3 minutes")), 0);
}

struct SnoozeCase
{
    const char* Name;
    TDateTime Date;
    TDateTime Time;
    qint64 Delay;
    TFormatSettings Fmt;
    TDateTime Expected;
};

class Snooze : public testing::TestWithParam<SnoozeCase>
{
};

TEST_P(Snooze, AddsTheDelayToTheDueMoment)
{
    const SnoozeCase& c = GetParam();
    const TDateTime moment = SnoozedMoment(c.Date, c.Time, c.Delay, c.Fmt);
    EXPECT_EQ(TDateTimeToDateTime(moment), TDateTimeToDateTime(c.Expected))
        << TDateTimeToDateTime(moment).toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Snooze,
    testing::Values(
        SnoozeCase{"FiveMinutes", At(2026, 1, 3, 0, 0), At(1899, 12, 30, 10, 0), 300, Formats("M/d/yyyy", "h:mm:ss AP"),
                   At(2026, 1, 3, 10, 5)},
        SnoozeCase{"ThirtyMinutesOverMidnight", At(2026, 1, 3, 23, 45), At(2026, 1, 3, 23, 45), 1800,
                   Formats("M/d/yyyy", "h:mm:ss AP"), At(2026, 1, 4, 0, 15)},
        SnoozeCase{"EightHoursFromEightPm", At(2026, 1, 3, 20, 0), At(2026, 1, 3, 20, 0), 8 * 3600,
                   Formats("dd.MM.yyyy", "HH:mm:ss"), At(2026, 1, 4, 4, 0)},
        SnoozeCase{"OverTheYearEnd", At(2026, 12, 31, 22, 30), At(2026, 12, 31, 22, 30), 2 * 3600,
                   Formats("dd/MM/yyyy", "HH:mm:ss"), At(2027, 1, 1, 0, 30)},
        SnoozeCase{"TwoDigitYear", At(2026, 2, 28, 23, 59, 30), At(2026, 2, 28, 23, 59, 30), 60,
                   Formats("M/d/yy", "h:mm:ss AP"), At(2026, 3, 1, 0, 0, 30)},
        // The time of day goes through the long time format: without seconds they are lost.
        SnoozeCase{"LongTimeWithoutSeconds", At(2026, 1, 3, 10, 0, 30), At(2026, 1, 3, 10, 0, 30), 60,
                   Formats("M/d/yyyy", "HH:mm"), At(2026, 1, 3, 10, 1, 0)}),
    [](const testing::TestParamInfo<SnoozeCase>& info) { return std::string(info.param.Name); });

TEST(Snooze, UnreadableJoinedTextRaisesTheDateTimeError)
{
    // A short date format with month names is written but not read back.
    const TFormatSettings f = Formats("d MMM yyyy", "HH:mm:ss");
    try {
        SnoozedMoment(At(2026, 1, 3, 9, 0), At(2026, 1, 3, 9, 0), 60, f);
        FAIL() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("is not a valid date and time"))) << e.Message().toStdString();
    }
}

TEST(ReminderTick, WaitsForTheNextWholeSecond)
{
    EXPECT_EQ(MillisecondsToNextSecond(Now(2026, 1, 3, 10, 0, 0, 0)), 1000);
    EXPECT_EQ(MillisecondsToNextSecond(Now(2026, 1, 3, 10, 0, 0, 1)), 999);
    EXPECT_EQ(MillisecondsToNextSecond(Now(2026, 1, 3, 10, 0, 0, 999)), 1);
}
