#include "BaseAppVar.h"

#include <cmath>

namespace {
constexpr qint64 kMsecsPerDay = 24LL * 60 * 60 * 1000;
const QDate kEpoch(1899, 12, 30);

// Whole days and milliseconds into the day that a value stands for.
void Split(TDateTime value, qint64& days, qint64& msecs)
{
    double whole = 0;
    double fraction = std::modf(value, &whole);
    days = static_cast<qint64>(whole);
    msecs = std::llround(std::fabs(fraction) * kMsecsPerDay);
    if (msecs >= kMsecsPerDay) { // rounding reached the next midnight
        msecs -= kMsecsPerDay;
        days += value < 0 ? -1 : 1;
    }
}
} // namespace

TDateTime DateToTDateTime(QDate date)
{
    return static_cast<double>(kEpoch.daysTo(date));
}

TDateTime TimeToTDateTime(QTime time)
{
    return static_cast<double>(time.msecsSinceStartOfDay()) / kMsecsPerDay;
}

TDateTime DateTimeToTDateTime(QDate date, QTime time)
{
    const double days = DateToTDateTime(date);
    const double fraction = TimeToTDateTime(time);
    return days < 0 ? days - fraction : days + fraction;
}

TDateTime DateTimeToTDateTime(const QDateTime& value)
{
    return DateTimeToTDateTime(value.date(), value.time());
}

QDate TDateTimeToDate(TDateTime value)
{
    qint64 days = 0, msecs = 0;
    Split(value, days, msecs);
    return kEpoch.addDays(days);
}

QTime TDateTimeToTime(TDateTime value)
{
    qint64 days = 0, msecs = 0;
    Split(value, days, msecs);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs));
}

QDateTime TDateTimeToDateTime(TDateTime value)
{
    return QDateTime(TDateTimeToDate(value), TDateTimeToTime(value));
}

TDateTime IncSeconds(TDateTime value, qint64 seconds)
{
    const QDateTime moved = QDateTime(TDateTimeToDate(value), TDateTimeToTime(value), Qt::UTC).addSecs(seconds);
    return DateTimeToTDateTime(moved.date(), moved.time());
}
