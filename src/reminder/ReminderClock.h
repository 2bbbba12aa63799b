// The reminder's clock check and the snooze arithmetic, free of windows.
#pragma once

#include "BaseAppVar.h"
#include "FormatSettings.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// A moment as the reminder check compares it: the calendar day as "yyyyMMdd" and the time of
// day as two-digit hours (24-hour clock), minutes and seconds joined by the time separator.
// Both texts have a fixed width, so they sort like the values they stand for.
struct TReminderMoment
{
    QString Day;
    QString Time;
};

TReminderMoment ReminderMomentOf(QDate date, QTime time, QChar timeSeparator);
TReminderMoment ReminderMomentOf(const QDateTime& now, QChar timeSeparator);
// The calendar day of `reminderDate` with the time of day of `reminderTime`.
TReminderMoment ReminderMomentOf(TDateTime reminderDate, TDateTime reminderTime, QChar timeSeparator);

// Whether a reminder is due at `now`. The day and the time of day are compared separately, to
// the second: a reminder whose day has passed is due only once the time of day is reached.
bool ReminderDue(const TReminderMoment& now, const TReminderMoment& reminder);

// The choices of "Remind in :", in list order. A delay of 0 stands for "Don't Remind".
struct TRemindInChoice
{
    const char* Text; // English text; translated in the context "TFrmShowTaskForm"
    qint64 DelaySeconds;
};
const QVector<TRemindInChoice>& RemindInChoices();

// The delay of a choice given by its text in any letter case; 0 for "Don't Remind" and for a
// text that is no choice.
qint64 RemindInDelaySeconds(const QString& choice);

// The postponed reminder moment: the day of `reminderDate` in the short date format and the
// time of day of `reminderTime` in the long time format, joined by a blank and read back as
// one date-time, plus the delay. Raises EConvertError when the joined text does not read back.
TDateTime SnoozedMoment(TDateTime reminderDate, TDateTime reminderTime, qint64 delaySeconds,
                        const TFormatSettings& formats);

// Milliseconds from `now` to the next whole second of the clock (1 to 1000).
int MillisecondsToNextSecond(const QDateTime& now);
