// Records exchanged by every part of the program, and the date-time type they use.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

// Days since 30 December 1899, 00:00; the fraction is the time of day (0.5 is noon).
using TDateTime = double;

inline const QString DefaultCategoryID = QStringLiteral("category20081124202715129");

struct TReminderInfo
{
    bool State = false;
    TDateTime Date = 0; // only the calendar day counts
    TDateTime Time = 0; // only the time of day counts, to the second
};

struct TTaskInfo
{
    QString ID;
    QString TaskName;
    QString TaskCategoryID;
    QString TaskPriorityID;
    QString TaskContent;
    QString TaskDueDate; // short date text; "" (editor) or "none" (store) for no due date
    bool MarkFormState = false;
    qint32 MarkFormTop = 0;  // 0: not placed yet
    qint32 MarkFormLeft = 0; // 0: not placed yet
    TReminderInfo Reminder;
    QString TaskState; // "true" done, "false" not done
};

struct TCategoryInfo
{
    QString ID;
    QString CategoryName;
    qint32 CategoryIconID = 0;
};

struct TSettingInfo
{
    bool StartWithWindows = false;
    bool MinimizeOnStart = false;
    bool AlwaysOnTop = false;
    bool AlphaBlendState = false;
    qint32 AlphaBlendValue = 0;
    bool MarkFormAlphaBlendState = false;
    qint32 MarkFormAlphaBlendValue = 0;
    bool DoneTaskPutInBottom = false;
    QString SortByColumn;
    QString DisplayFilter;
};

using TTaskInfoList = QVector<TTaskInfo>;
using Tcategorylist = QVector<TCategoryInfo>;

// Conversions between TDateTime and Qt's calendar types. The fraction of a negative
// value is, as in the serial-date convention, the time of day after that day's midnight.
TDateTime DateTimeToTDateTime(const QDateTime& value);
TDateTime DateTimeToTDateTime(QDate date, QTime time);
TDateTime DateToTDateTime(QDate date);
TDateTime TimeToTDateTime(QTime time);
QDate TDateTimeToDate(TDateTime value);
QTime TDateTimeToTime(TDateTime value); // rounded to the millisecond
QDateTime TDateTimeToDateTime(TDateTime value);

// Moves a date-time on by a number of seconds, keeping TDateTime's day and fraction rules.
TDateTime IncSeconds(TDateTime value, qint64 seconds);
