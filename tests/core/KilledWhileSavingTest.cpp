// A process killed at any moment, mid-save included, leaves data files that load and hold
// every task whose save had returned.
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <QProcess>
#include <QSet>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

namespace {

TEST(KilledWhileSaving, EveryFileStillLoadsAndHoldsEveryTaskReportedSaved)
{
    TestFolder folder;
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pause(0, 25000); // microseconds

    constexpr int kRounds = 40;
    QSet<qint64> reported;
    int roundsAfterASave = 0;
    for (int round = 0; round < kRounds; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(TASKWICK_STORE_WRITER), {folder.Path()});
        ASSERT_TRUE(writer.waitForStarted());
        // Half of the kills come after the first save has returned, the others at any moment
        // from the start on, the loading of the files included.
        if (round % 2 == 1) {
            while (!writer.canReadLine() && writer.state() == QProcess::Running)
                writer.waitForReadyRead(5000);
            ++roundsAfterASave;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(10000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << writer.readAllStandardError().toStdString();

        const QByteArray output = writer.readAllStandardOutput();
        // A line cut short by the kill was not reported.
        for (const QByteArray& line : output.left(output.lastIndexOf('\n') + 1).split('\n'))
            if (!line.isEmpty())
                reported.insert(line.toLongLong());

        SCOPED_TRACE("after kill " + std::to_string(round + 1));
        std::unique_ptr<TXMLOperation> store;
        ASSERT_NO_THROW(store = std::make_unique<TXMLOperation>(folder.Path(), TFormatSettings()));
        TTaskInfoList tasks;
        ASSERT_NO_THROW(store->GetTaskList(tasks));
        QSet<qint64> stored;
        qint64 previous = 0;
        for (const TTaskInfo& task : tasks) {
            const qint64 n = task.ID.mid(4).toLongLong();
            EXPECT_GT(n, previous) << "out of order: " << task.ID.toStdString();
            EXPECT_EQ(task.TaskName, QStringLiteral("Task %1").arg(n));
            previous = n;
            stored.insert(n);
        }
        for (qint64 n : reported)
            ASSERT_TRUE(stored.contains(n)) << "task " << n << " was reported saved but is missing";
    }
    // Each round that waited for a save saw at least one.
    EXPECT_GE(reported.size(), roundsAfterASave);
    RecordProperty("TasksReportedSaved", static_cast<int>(reported.size()));
}

} // namespace
