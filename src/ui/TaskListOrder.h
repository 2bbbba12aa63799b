// The order and the selection of the tasks that the task list shows. No windows here.
#pragma once

#include "BaseAppVar.h"

#include <QByteArray>
#include <QString>

// The sort key of `task` for the sort column `column` (already in lower case): the priority
// number, the category identifier or the due date as stored, or the first character of the
// name with A to Z turned into a to z; all as UTF-8 bytes. `known` tells whether the column
// is one that orders at all ("default" and unknown names leave the order alone).
QByteArray TaskSortKey(const TTaskInfo& task, const QString& column, bool* known = nullptr);

// Reorders `list` by the setting's SortByColumn (any letter case), ascending by byte
// comparison of the keys, with the exchange procedure: for every position i, each later
// position j whose key is smaller than the one now at i is swapped with i. Tasks with equal
// keys end up in the order this procedure leaves them, which is part of the behaviour.
void SortTaskList(TTaskInfoList& list, const TSettingInfo& setting);

// The same tasks: first all whose TaskState is not exactly "true", then those that are;
// each group keeps its order.
TTaskInfoList PutDoneTasksLast(const TTaskInfoList& list);

// Whether the list shows `task` under the display filter `filter`. "all" shows every task;
// a category identifier shows that category's tasks (exact comparison); a filter that names
// no category (`filterNamesCategory` false) also shows every task.
bool DisplayFilterShowsTask(const QString& filter, bool filterNamesCategory, const TTaskInfo& task);

// The done box of a row: unticked only for the exact text "false".
bool TaskStateTicked(const QString& taskState);
