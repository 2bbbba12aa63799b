#include "ReminderClock.h"

#include <QtGlobal>

namespace {
QString TwoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

TReminderMoment ReminderMomentOf(QDate date, QTime time, QChar timeSeparator)
{
    TReminderMoment moment;
    moment.Day = QStringLiteral("%1%2%3")
                     .arg(date.year(), 4, 10, QLatin1Char('0'))
                     .arg(date.month(), 2, 10, QLatin1Char('0'))
                     .arg(date.day(), 2, 10, QLatin1Char('0'));
    moment.Time = TwoDigits(time.hour()) + timeSeparator + TwoDigits(time.minute()) + timeSeparator +
                  TwoDigits(time.second());
    return moment;
}

TReminderMoment ReminderMomentOf(const QDateTime& now, QChar timeSeparator)
{
    return ReminderMomentOf(now.date(), now.time(), timeSeparator);
}

TReminderMoment ReminderMomentOf(TDateTime reminderDate, TDateTime reminderTime, QChar timeSeparator)
{
    return ReminderMomentOf(TDateTimeToDate(reminderDate), TDateTimeToTime(reminderTime), timeSeparator);
}

bool ReminderDue(const TReminderMoment& now, const TReminderMoment& reminder)
{
    if (QString::compare(now.Day, reminder.Day, Qt::CaseSensitive) < 0)
        return false;
    return QString::compare(now.Time, reminder.Time, Qt::CaseSensitive) >= 0;
}

const QVector<TRemindInChoice>& RemindInChoices()
{
    static const QVector<TRemindInChoice> choices = {
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "Don't Remind"), 0},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "1 minute"), 60},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "5 minutes"), 5 * 60},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "10 minutes"), 10 * 60},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "30 minutes"), 30 * 60},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "1 hour"), 3600},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "2 hours"), 2 * 3600},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "5 hours"), 5 * 3600},
        {QT_TRANSLATE_NOOP("TFrmShowTaskForm", "8 hours"), 8 * 3600},
    };
    return choices;
}

qint64 RemindInDelaySeconds(const QString& choice)
{
    const QString wanted = choice.toLower();
    for (const TRemindInChoice& c : RemindInChoices())
        if (QString::fromLatin1(c.Text).toLower() == wanted)
            return c.DelaySeconds;
    return 0;
}

TDateTime SnoozedMoment(TDateTime reminderDate, TDateTime reminderTime, qint64 delaySeconds,
                        const TFormatSettings& formats)
{
    const QString joined = DateToStr(reminderDate, formats) + QLatin1Char(' ') + TimeToStr(reminderTime, formats);
    return IncSeconds(StrToDateTime(joined, formats), delaySeconds);
}

int MillisecondsToNextSecond(const QDateTime& now)
{
    return 1000 - now.time().msec();
}
