// The user's regional formats for dates, times and numbers, and the text forms of the data files.
#pragma once

#include "BaseAppVar.h"

#include <QLocale>
#include <QString>

// Patterns use Qt's date and time letters (d, M, yy/yyyy, h/hh, H/HH, mm, ss, AP/ap).
struct TFormatSettings
{
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QChar DateSeparator = QLatin1Char('/');
    QString LongTimeFormat = QStringLiteral("h:mm:ss AP");
    QChar TimeSeparator = QLatin1Char(':');
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    // Two-digit years are read within the hundred years around this year.
    int TwoDigitYearPivot = QDate::currentDate().year();

    // The formats of a locale; the long time format loses any time-zone part.
    static TFormatSettings FromLocale(const QLocale& locale);
    // The formats of the system locale, read when the program starts.
    static TFormatSettings System();
};

// Boolean text: "true"/"false"; only the exact text "true" reads as true.
QString BoolToStr(bool value);
bool StrToBool(const QString& text);

// Integer text; a text that is not a decimal integer raises EConvertError.
QString IntToStr(qint64 value);
qint32 StrToInt(const QString& text);

// Short date text and long time text in the given formats.
QString DateToStr(TDateTime value, const TFormatSettings& fmt);
QString TimeToStr(TDateTime value, const TFormatSettings& fmt);
// Parsing raises EConvertError: "'%s' is not a valid date", "'%s' is not a valid time".
TDateTime StrToDate(const QString& text, const TFormatSettings& fmt);
TDateTime StrToTime(const QString& text, const TFormatSettings& fmt);
// A short date, one blank and a long time; "'%s' is not a valid date and time".
TDateTime StrToDateTime(const QString& text, const TFormatSettings& fmt);
