// The store with 10,000 tasks in 20 categories, 1,000 of them with a reminder on: creating it
// (loading the three files), listing every task, and changing one task's done state with its save.
#include "Identifier.h"
#include "uXMLOperate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kTasks = 10000;
constexpr int kCategories = 20;
constexpr int kReminderEvery = kTasks / 1000;

TFormatSettings Formats()
{
    TFormatSettings f; // month first, 12-hour clock
    f.TwoDigitYearPivot = 2026;
    return f;
}

QString CategoryId(int n)
{
    return MakeIdentifier(QStringLiteral("category"), QDateTime(QDate(2025, 6, 1), QTime(8, 0)).addSecs(n));
}

QString TaskId(int n)
{
    return MakeIdentifier(QStringLiteral("task"),
                          QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addMSecs(n * 1337LL));
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        std::abort();
}

QByteArray Element(const char* name, const QByteArray& text)
{
    return QByteArray("<") + name + ">" + text + "</" + name + ">";
}

// Writes the three data files as the program saves them: one line, no declaration.
void WriteDataFolder(const QString& folder)
{
    QByteArray categories = "<categorylist>";
    categories += "<" + DefaultCategoryID.toUtf8() + ">" + Element("categoryname", "Personal") +
                  Element("categoryiconid", "4") + "</" + DefaultCategoryID.toUtf8() + ">";
    for (int c = 1; c < kCategories; ++c) {
        const QByteArray id = CategoryId(c).toUtf8();
        categories += "<" + id + ">" + Element("categoryname", "Category " + QByteArray::number(c)) +
                      Element("categoryiconid", QByteArray::number(4 + c % 10)) + "</" + id + ">";
    }
    categories += "</categorylist>";

    QByteArray tasks = "<tasklist>";
    tasks.reserve(kTasks * 520);
    for (int i = 0; i < kTasks; ++i) {
        const QByteArray id = TaskId(i).toUtf8();
        const bool reminder = i % kReminderEvery == 0;
        const QByteArray category =
            i % kCategories == 0 ? DefaultCategoryID.toUtf8() : CategoryId(i % kCategories).toUtf8();
        tasks += "<" + id + ">";
        tasks += Element("taskname", "Task number " + QByteArray::number(i) + " &amp; its follow-up");
        tasks += Element("taskcategoryid", category);
        tasks += Element("taskpriorityid", QByteArray::number(i % 3));
        tasks +=
            Element("taskcontent", "Some words about what is to be done, and by when.\r\nA second line.");
        tasks += Element("taskduedate",
                         i % 3 == 0 ? QByteArray("2/") + QByteArray::number(1 + i % 28) + "/2026" : "");
        tasks += Element("taskreminderstate", reminder ? "true" : "false");
        tasks += Element("taskremindertime",
                         reminder ? QByteArray::number(1 + i % 12) + ":05:00 PM" : "12:00:00 AM");
        tasks += Element("taskreminderdate",
                         reminder ? "3/" + QByteArray::number(1 + i % 31) + "/2026" : "12/30/1899");
        tasks += Element("taskstate", i % 4 == 0 ? "true" : "false");
        tasks += Element("markformstate", i % 1000 == 1 ? "true" : "false");
        tasks += Element("markformtop", i % 1000 == 1 ? "240" : "0");
        tasks += Element("markformleft", i % 1000 == 1 ? "480" : "0");
        tasks += "</" + id + ">";
    }
    tasks += "</tasklist>";

    const QDir dir(folder);
    WriteFile(dir.filePath(TaskFileName), tasks);
    WriteFile(dir.filePath(CategoryFileName), categories);
    // The setting file is left to the store to create with its default text.
}

// One data folder per use, made once for the whole run.
const QString& DataFolder(int which)
{
    static std::unique_ptr<QTemporaryDir> folders[2];
    static QString paths[2];
    if (!folders[which]) {
        folders[which] = std::make_unique<QTemporaryDir>();
        WriteDataFolder(folders[which]->path());
        paths[which] = folders[which]->path();
        // Check the generated files once: every task and category loads, the reminders read.
        TXMLOperation store(paths[which], Formats());
        TTaskInfoList list;
        store.GetTaskList(list);
        Tcategorylist categories;
        store.GetCategoryList(categories);
        int reminders = 0;
        for (const TTaskInfo& t : list)
            reminders += t.Reminder.State ? 1 : 0;
        if (list.size() != kTasks || categories.size() != kCategories || reminders != kTasks / kReminderEvery)
            std::abort();
    }
    return paths[which];
}

void BM_CreateStore(benchmark::State& state)
{
    const QString& folder = DataFolder(0);
    for (auto _ : state) {
        TXMLOperation store(folder, Formats());
        benchmark::DoNotOptimize(&store);
    }
}
BENCHMARK(BM_CreateStore)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetTaskList(benchmark::State& state)
{
    TXMLOperation store(DataFolder(0), Formats());
    TTaskInfoList list;
    for (auto _ : state) {
        store.GetTaskList(list);
        benchmark::DoNotOptimize(list.data());
    }
    if (list.size() != kTasks)
        state.SkipWithError("not every task was listed");
}
BENCHMARK(BM_GetTaskList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetTaskState(benchmark::State& state)
{
    TXMLOperation store(DataFolder(1), Formats());
    const QString id = TaskId(kTasks / 2);
    bool done = false;
    for (auto _ : state) {
        done = !done;
        store.SetTaskState(id, done ? QStringLiteral("true") : QStringLiteral("false"));
    }
}
BENCHMARK(BM_SetTaskState)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
