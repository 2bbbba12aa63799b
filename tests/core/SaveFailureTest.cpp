// A save that fails leaves the old file whole and keeps the change in memory; the change reaches
// the file with the next save that succeeds.
#include "Errors.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <sys/resource.h>

namespace {

using CaseNames::PrintTo;

const QString kFirst = QStringLiteral("task20260105070000000");
const QString kSecond = QStringLiteral("task20260105080000000");

// Stops the next save of the task file until Unblock. Block returns a reason to skip, if any.
class Blocker
{
public:
    virtual ~Blocker() = default;
    virtual std::optional<std::string> Block(const TestFolder& folder) = 0;
    virtual void Unblock(const TestFolder& folder) = 0;
    virtual bool KeepsTheOldFile() const { return true; }
    // A text that the error must hold besides the path.
    virtual QString Reason() const { return QString(); }
};

class ImmutableFile : public Blocker
{
public:
    std::optional<std::string> Block(const TestFolder& folder) override
    {
        FGuard = std::make_unique<ImmutableGuard>(folder.File(kTaskFile));
        if (!FGuard->IsSet())
            return FGuard->Reason();
        return {};
    }
    void Unblock(const TestFolder&) override { FGuard.reset(); }

private:
    std::unique_ptr<ImmutableGuard> FGuard;
};

class ReadOnlyFile : public Blocker
{
public:
    std::optional<std::string> Block(const TestFolder& folder) override
    {
        QFile::setPermissions(folder.File(kTaskFile), QFileDevice::ReadOwner);
        QFile probe(folder.File(kTaskFile));
        if (probe.open(QIODevice::Append))
            return "running as root: file permissions stop no write";
        return {};
    }
    void Unblock(const TestFolder& folder) override
    {
        QFile::setPermissions(folder.File(kTaskFile), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

// A folder where the file should be: no rename can replace it.
class FolderInPlaceOfFile : public Blocker
{
public:
    std::optional<std::string> Block(const TestFolder& folder) override
    {
        QFile::remove(folder.File(kTaskFile));
        QDir(folder.Path()).mkdir(kTaskFile);
        return {};
    }
    void Unblock(const TestFolder& folder) override { QDir(folder.Path()).rmdir(kTaskFile); }
    bool KeepsTheOldFile() const override { return false; }
};

// A full disk, as the file-size limit makes every write past one byte fail.
class FileSizeLimit : public Blocker
{
public:
    std::optional<std::string> Block(const TestFolder&) override
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit tight = FOld;
        tight.rlim_cur = 1;
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        FSet = true;
        if (setrlimit(RLIMIT_FSIZE, &tight) != 0)
            return std::string("cannot limit the file size: ") + strerror(errno);
        return {};
    }
    void Unblock(const TestFolder&) override { Restore(); }
    ~FileSizeLimit() override { Restore(); }
    QString Reason() const override { return QString::fromLocal8Bit(strerror(EFBIG)); }

private:
    void Restore()
    {
        if (!FSet)
            return;
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
        FSet = false;
    }

    rlimit FOld{};
    bool FSet = false;
    void (*FOldHandler)(int) = SIG_DFL;
};

struct SaveFailureCase
{
    const char* Name;
    std::function<std::unique_ptr<Blocker>()> Make;
};

class SaveFailureTest : public ::testing::TestWithParam<SaveFailureCase>
{
};

TEST_P(SaveFailureTest, KeepsTheOldFileAndTheChangeInMemoryUntilTheNextSave)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.AddTask(MakeTask(kFirst, QStringLiteral("First"), DefaultCategoryID));
    store.AddTask(MakeTask(kSecond, QStringLiteral("Second"), DefaultCategoryID));
    ASSERT_TRUE(folder.SetOldTime(kTaskFile));
    const FileStamp before = FileStamp::Of(folder, kTaskFile);
    const std::unique_ptr<Blocker> blocker = GetParam().Make();

    // Nothing is written to any file, standard output included, while the save is blocked.
    const std::optional<std::string> skip = blocker->Block(folder);
    std::optional<QString> error;
    if (!skip) {
        try {
            store.SetTaskState(kFirst, QStringLiteral("true"));
        } catch (const EFileError& e) {
            error = e.Message();
        }
    }
    blocker->Unblock(folder);
    if (skip)
        GTEST_SKIP() << *skip;

    ASSERT_TRUE(error) << "the save did not fail";
    EXPECT_TRUE(
        error->contains(QStringLiteral("'%1': ").arg(QDir::toNativeSeparators(folder.File(kTaskFile)))))
        << error->toStdString();
    EXPECT_TRUE(error->contains(blocker->Reason())) << error->toStdString();
    if (blocker->KeepsTheOldFile()) {
        EXPECT_TRUE(FileStamp::Of(folder, kTaskFile) == before) << "the old file was changed";
    }
    // No temporary file is left behind.
    QStringList entries{kCategoryFile, kSettingFile};
    if (blocker->KeepsTheOldFile())
        entries.append(kTaskFile);
    EXPECT_EQ(folder.Entries(), entries);

    TTaskInfo first;
    store.GetTask(kFirst, first);
    EXPECT_EQ(first.TaskState, QStringLiteral("true"));

    store.SetTaskState(kSecond, QStringLiteral("true"));
    TXMLOperation reopened(folder.Path(), UnitedStates());
    TTaskInfoList tasks;
    reopened.GetTaskList(tasks);
    ASSERT_EQ(Ids(tasks), QStringList({kFirst, kSecond}));
    EXPECT_EQ(tasks[0].TaskState, QStringLiteral("true"));
    EXPECT_EQ(tasks[1].TaskState, QStringLiteral("true"));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, SaveFailureTest,
    ::testing::Values(SaveFailureCase{"ImmutableFile", [] { return std::make_unique<ImmutableFile>(); }},
                      SaveFailureCase{"ReadOnlyFile", [] { return std::make_unique<ReadOnlyFile>(); }},
                      SaveFailureCase{"FolderInPlaceOfFile",
                                      [] { return std::make_unique<FolderInPlaceOfFile>(); }},
                      SaveFailureCase{"DiskFull", [] { return std::make_unique<FileSizeLimit>(); }}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
