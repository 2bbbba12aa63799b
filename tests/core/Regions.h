// Regional format settings that the tests write and read under, fixed whatever the machine's locale.
#pragma once

#include "FormatSettings.h"

inline TFormatSettings UnitedStates()
{
    TFormatSettings f;
    f.ShortDateFormat = QStringLiteral("M/d/yyyy");
    f.DateSeparator = QLatin1Char('/');
    f.LongTimeFormat = QStringLiteral("h:mm:ss AP");
    f.TimeSeparator = QLatin1Char(':');
    f.TimeAMString = QStringLiteral("AM");
    f.TimePMString = QStringLiteral("PM");
    f.TwoDigitYearPivot = 2026;
    return f;
}

// Month first with a 24-hour clock.
inline TFormatSettings UnitedStates24()
{
    TFormatSettings f = UnitedStates();
    f.LongTimeFormat = QStringLiteral("H:mm:ss");
    return f;
}

inline TFormatSettings German()
{
    TFormatSettings f = UnitedStates();
    f.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    f.DateSeparator = QLatin1Char('.');
    f.LongTimeFormat = QStringLiteral("HH:mm:ss");
    return f;
}

inline TFormatSettings British()
{
    TFormatSettings f = German();
    f.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    f.DateSeparator = QLatin1Char('/');
    return f;
}

// Day first with a 12-hour clock and lower-case markers.
inline TFormatSettings British12()
{
    TFormatSettings f = British();
    f.LongTimeFormat = QStringLiteral("h:mm:ss ap");
    f.TimeAMString = QStringLiteral("am");
    f.TimePMString = QStringLiteral("pm");
    return f;
}

inline TFormatSettings TwoDigitYears()
{
    TFormatSettings f = UnitedStates();
    f.ShortDateFormat = QStringLiteral("M/d/yy");
    return f;
}
