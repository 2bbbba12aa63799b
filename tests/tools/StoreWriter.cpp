// Opens the store in the folder given as the first argument and adds tasks to it, one save for
// each, until it has added the number given as the second argument (default 100000) or is stopped.
// After each save returns it prints the task's number on a line of its own.
// Task n has the identifier "task" followed by n in 17 digits and the name "Task n"; numbering
// goes on from the highest number stored.
#include "Errors.h"
#include "uXMLOperate.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder [count]\n", argv[0]);
        return 2;
    }
    const long long count = argc > 2 ? std::atoll(argv[2]) : 100000;
    try {
        TXMLOperation store(QString::fromLocal8Bit(argv[1]), TFormatSettings());
        TTaskInfoList stored;
        store.GetTaskList(stored);
        long long next = 1;
        for (const TTaskInfo& task : stored)
            next = std::max(next, task.ID.mid(4).toLongLong() + 1);
        const QString content =
            QStringLiteral("Written by a process that may be killed at any moment. ").repeated(4);
        for (long long added = 0; added < count; ++added, ++next) {
            TTaskInfo task;
            task.ID = QStringLiteral("task%1").arg(next, 17, 10, QLatin1Char('0'));
            task.TaskName = QStringLiteral("Task %1").arg(next);
            task.TaskCategoryID = DefaultCategoryID;
            task.TaskPriorityID = QStringLiteral("1");
            task.TaskContent = content;
            task.TaskState = QStringLiteral("false");
            task.Reminder = {next % 3 == 0, 46000.0 + next % 365, (next % 1440) / 1440.0};
            store.AddTask(task);
            std::printf("%lld\n", next);
            std::fflush(stdout);
        }
    } catch (const ETaskwickError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
