#include "ReminderThread.h"

TStringObjectList<TReminderThread>* ReminderThreadList = nullptr;

TReminderThread::TReminderThread(const TTaskInfo& task, QObject* parent) : QObject(parent), TaskInfo(task) {}
