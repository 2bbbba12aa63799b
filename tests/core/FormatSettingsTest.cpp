#include "Errors.h"
#include "FormatSettings.h"
#include "Regions.h"

#include <gtest/gtest.h>

namespace {

struct DateTimeCase
{
    const char* Name;
    TFormatSettings Formats;
    QDate Date;
    QTime Time;
    const char* DateText;
    const char* TimeText;
};

class TextFormTest : public ::testing::TestWithParam<DateTimeCase>
{
};

TEST_P(TextFormTest, WritesTheRegionalTextAndReadsItBack)
{
    const DateTimeCase& c = GetParam();
    const TDateTime value = DateTimeToTDateTime(c.Date, c.Time.addMSecs(456));
    EXPECT_EQ(DateToStr(value, c.Formats), QString::fromUtf8(c.DateText));
    EXPECT_EQ(TimeToStr(value, c.Formats), QString::fromUtf8(c.TimeText));
    EXPECT_EQ(TDateTimeToDate(StrToDate(QString::fromUtf8(c.DateText), c.Formats)), c.Date);
    EXPECT_EQ(TDateTimeToTime(StrToTime(QString::fromUtf8(c.TimeText), c.Formats)), c.Time);
    // A read date is a whole day, a read time has no day part.
    const TDateTime day = StrToDate(QString::fromUtf8(c.DateText), c.Formats);
    EXPECT_EQ(day, static_cast<double>(static_cast<qint64>(day)));
    EXPECT_LT(StrToTime(QString::fromUtf8(c.TimeText), c.Formats), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, TextFormTest,
    ::testing::Values(
        DateTimeCase{"UsMorning", UnitedStates(), QDate(2009, 1, 29), QTime(9, 5, 0), "1/29/2009", "9:05:00 AM"},
        DateTimeCase{"UsAfternoon", UnitedStates(), QDate(2026, 12, 11), QTime(23, 59, 59), "12/11/2026",
                     "11:59:59 PM"},
        DateTimeCase{"UsMidnight", UnitedStates(), QDate(1899, 12, 30), QTime(0, 0, 0), "12/30/1899", "12:00:00 AM"},
        DateTimeCase{"UsNoon", UnitedStates(), QDate(2024, 2, 29), QTime(12, 0, 1), "2/29/2024", "12:00:01 PM"},
        DateTimeCase{"German", German(), QDate(2009, 1, 29), QTime(9, 5, 0), "29.01.2009", "09:05:00"},
        DateTimeCase{"GermanEvening", German(), QDate(2026, 3, 5), QTime(21, 30, 15), "05.03.2026", "21:30:15"},
        DateTimeCase{"British", British(), QDate(2009, 1, 29), QTime(0, 0, 0), "29/01/2009", "00:00:00"},
        DateTimeCase{"TwoDigitYear", TwoDigitYears(), QDate(2000, 2, 29), QTime(13, 1, 2), "2/29/00", "1:01:02 PM"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct BadText
{
    const char* Name;
    const char* Text;
    bool IsDate;
    const char* Message;
};

class BadTextTest : public ::testing::TestWithParam<BadText>
{
};

TEST_P(BadTextTest, FailsWithTheConversionMessage)
{
    const BadText& c = GetParam();
    try {
        if (c.IsDate)
            StrToDate(QString::fromUtf8(c.Text), UnitedStates());
        else
            StrToTime(QString::fromUtf8(c.Text), UnitedStates());
        FAIL() << "no error for " << c.Text;
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8(c.Message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadTextTest,
    ::testing::Values(BadText{"DayFirstDate", "29/01/2009", true, "'29/01/2009' is not a valid date"},
                      BadText{"EmptyDate", "", true, "'' is not a valid date"},
                      BadText{"NoSuchDay", "2/30/2009", true, "'2/30/2009' is not a valid date"},
                      BadText{"LetterInDate", "1/x/2009", true, "'1/x/2009' is not a valid date"},
                      BadText{"OtherSeparator", "29.01.2009", true, "'29.01.2009' is not a valid date"},
                      BadText{"HourPastDay", "25:00:00", false, "'25:00:00' is not a valid time"},
                      BadText{"HourPastNoonWithMarker", "13:00:00 PM", false, "'13:00:00 PM' is not a valid time"},
                      BadText{"Word", "noon", false, "'noon' is not a valid time"},
                      BadText{"EmptyTime", "", false, "'' is not a valid time"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TwoDigitYear, ReadsWithinTheHundredYearsAroundThePivot)
{
    const TFormatSettings f = TwoDigitYears();
    EXPECT_EQ(TDateTimeToDate(StrToDate(QStringLiteral("1/1/26"), f)).year(), 2026);
    EXPECT_EQ(TDateTimeToDate(StrToDate(QStringLiteral("1/1/75"), f)).year(), 2075);
    EXPECT_EQ(TDateTimeToDate(StrToDate(QStringLiteral("1/1/76"), f)).year(), 1976);
    EXPECT_EQ(TDateTimeToDate(StrToDate(QStringLiteral("1/1/99"), f)).year(), 1999);
    // Four digits typed under a two-digit format are taken as they stand.
    EXPECT_EQ(TDateTimeToDate(StrToDate(QStringLiteral("1/1/1850"), f)).year(), 1850);
}

TEST(IntegerText, ReadsDecimalIntegersOnly)
{
    EXPECT_EQ(StrToInt(QStringLiteral("220")), 220);
    EXPECT_EQ(StrToInt(QStringLiteral("-15")), -15);
    EXPECT_EQ(IntToStr(-15), QStringLiteral("-15"));
    for (const char* bad : {"", "12a", "1.5", "-", "99999999999", "0x10"}) {
        try {
            StrToInt(QString::fromUtf8(bad));
            FAIL() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(bad)));
        }
    }
}

TEST(BooleanText, OnlyTheExactTextTrueIsTrue)
{
    EXPECT_TRUE(StrToBool(QStringLiteral("true")));
    for (const char* text : {"True", "1", "TRUE", " true", "", "yes"})
        EXPECT_FALSE(StrToBool(QString::fromUtf8(text))) << text;
    EXPECT_EQ(BoolToStr(true), QStringLiteral("true"));
    EXPECT_EQ(BoolToStr(false), QStringLiteral("false"));
}

TEST(LocaleFormats, LongTimeHasNoTimeZoneAndSeparatorsAreFound)
{
    for (const char* name : {"C", "en_US", "de_DE", "en_GB", "ja_JP", "ar_EG", "ko_KR", "zh_CN", "fa_IR", "th_TH", "he_IL", "hi_IN"}) {
        const TFormatSettings f = TFormatSettings::FromLocale(QLocale(QString::fromLatin1(name)));
        EXPECT_FALSE(f.LongTimeFormat.contains(QLatin1Char('t'))) << name << " " << f.LongTimeFormat.toStdString();
        // Whatever the region, its own texts read back.
        const TDateTime now = DateTimeToTDateTime(QDate(2026, 12, 11), QTime(15, 4, 5));
        EXPECT_EQ(TDateTimeToDate(StrToDate(DateToStr(now, f), f)), QDate(2026, 12, 11)) << name;
        EXPECT_EQ(TDateTimeToTime(StrToTime(TimeToStr(now, f), f)), QTime(15, 4, 5)) << name;
    }
    const TFormatSettings us = TFormatSettings::FromLocale(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(us.TimeSeparator, QLatin1Char(':'));
    EXPECT_EQ(us.DateSeparator, QLatin1Char('/'));
    const TFormatSettings de = TFormatSettings::FromLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(de.DateSeparator, QLatin1Char('.'));
    // No region: ISO 8601 forms, which read back whatever the year.
    const TFormatSettings c = TFormatSettings::FromLocale(QLocale::c());
    EXPECT_EQ(DateToStr(DateToTDateTime(QDate(2026, 12, 11)), c), QStringLiteral("2026-12-11"));
    EXPECT_EQ(TimeToStr(TimeToTDateTime(QTime(9, 5, 7)), c), QStringLiteral("09:05:07"));
    // Month names never reach a short date, and years are written whole.
    EXPECT_FALSE(c.ShortDateFormat.contains(QLatin1String("MMM")));
    EXPECT_EQ(us.ShortDateFormat, QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(DateToStr(DateToTDateTime(QDate(2099, 1, 2)), us), QStringLiteral("1/2/2099"));
}

TEST(DateTimeValue, KeepsTheSerialDayConvention)
{
    EXPECT_EQ(DateTimeToTDateTime(QDate(1899, 12, 30), QTime(12, 0)), 0.5);
    EXPECT_EQ(DateToTDateTime(QDate(1900, 1, 1)), 2.0);
    const TDateTime t = DateTimeToTDateTime(QDate(2026, 1, 3), QTime(23, 45));
    EXPECT_EQ(TDateTimeToDateTime(IncSeconds(t, 30 * 60)), QDateTime(QDate(2026, 1, 4), QTime(0, 15)));
    EXPECT_EQ(TDateTimeToDateTime(StrToDateTime(QStringLiteral("1/3/2026 11:45:00 PM"), UnitedStates())),
              QDateTime(QDate(2026, 1, 3), QTime(23, 45)));
    EXPECT_THROW(StrToDateTime(QStringLiteral("1/3/2026"), UnitedStates()), EConvertError);
}

} // namespace
