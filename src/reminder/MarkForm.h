// A task pinned to the desktop as a small note window.
#pragma once

#include "BaseAppVar.h"
#include "StringObjectList.h"

#include <QWidget>

class TFrmMarkInfoForm : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmMarkInfoForm(QWidget* parent = nullptr);

    // The note's own copy of its task; its position follows the window.
    TTaskInfo TaskInfo;
};

// Task identifier to that task's open note window; at most one entry per task.
extern TStringObjectList<TFrmMarkInfoForm>* MarkFormList;

// Drops the entry of the note whose task has this identifier (the window stays open).
void RemoveMarkFormEntry(const QString& taskId);
