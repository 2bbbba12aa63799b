// The reminder of one task: checks the clock once a second and shows the pop-up when due.
#pragma once

#include "BaseAppVar.h"
#include "StringObjectList.h"

#include <QObject>

class TReminderThread : public QObject
{
    Q_OBJECT
public:
    explicit TReminderThread(const TTaskInfo& task, QObject* parent = nullptr);

    TTaskInfo TaskInfo;
};

// Task identifier to that task's reminder object; at most one entry per task.
extern TStringObjectList<TReminderThread>* ReminderThreadList;
