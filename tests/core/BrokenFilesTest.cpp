// Creating the store fails, naming the file, when a data file cannot be parsed, read or created;
// nothing is repaired or rewritten.
#include "Errors.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace {

using CaseNames::PrintTo;

const std::string kBrokenFixtures[] = {"empty",           "truncated",        "text-only",
                                       "mismatched-tags", "declaration-only", "comment-only",
                                       "whitespace-only", "bom-only",         "bad-attribute",
                                       "unclosed-cdata",  "bad-element-name", "binary",
                                       "two-roots",       "text-after-root"};

// "text-only" and "task.qrn" make "TextOnlyInTaskFile".
std::string CamelCase(const std::string& words)
{
    std::string name;
    bool upper = true;
    for (char c : words) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

class BrokenFileTest : public ::testing::TestWithParam<std::tuple<std::string, QString>>
{
};

TEST_P(BrokenFileTest, FailsWithAFileErrorNamingThePathAndLeavesTheFileAsItWas)
{
    const auto& [fixture, slot] = GetParam();
    const QByteArray broken =
        ReadFixture(QStringLiteral("broken/%1.qrn").arg(QString::fromStdString(fixture)));
    TestFolder folder;
    folder.Write(slot, broken);
    ASSERT_TRUE(folder.SetOldTime(slot));
    const FileStamp before = FileStamp::Of(folder, slot);
    try {
        TXMLOperation store(folder.Path(), UnitedStates());
        FAIL() << "the store was created";
    } catch (const EFileError& e) {
        EXPECT_TRUE(
            e.Message().contains(QStringLiteral("'%1'").arg(QDir::toNativeSeparators(folder.File(slot)))))
            << e.what();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("is not a well-formed data file"))) << e.what();
    }
    EXPECT_TRUE(FileStamp::Of(folder, slot) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, BrokenFileTest,
    ::testing::Combine(::testing::ValuesIn(kBrokenFixtures),
                       ::testing::Values(kTaskFile, kCategoryFile, kSettingFile)),
    [](const auto& info) {
        return CamelCase(std::get<0>(info.param)) + "In" +
               CamelCase(std::get<1>(info.param).section(QLatin1Char('.'), 0, 0).toStdString()) + "File";
    });

// A folder or file that cannot be written or read. `Prepare` makes it inside `scratch` and
// returns the folder to give the store and the file that the error must name, or a reason to skip.
struct Unusable
{
    QString Folder;
    QString File;
    std::optional<std::string> Skip;
};

struct CreationFailureCase
{
    const char* Name;
    std::function<Unusable(const TestFolder& scratch, std::unique_ptr<ImmutableGuard>& guard)> Prepare;
};

class CreationFailureTest : public ::testing::TestWithParam<CreationFailureCase>
{
protected:
    void TearDown() override
    {
        Guard.reset();
        // Let the temporary folder be removed whatever the case changed.
        chmod(QFile::encodeName(Scratch.File(QStringLiteral("data"))).constData(), 0755);
        chmod(QFile::encodeName(Scratch.File(QStringLiteral("data/task.qrn"))).constData(), 0644);
    }

    TestFolder Scratch;
    std::unique_ptr<ImmutableGuard> Guard;
};

TEST_P(CreationFailureTest, FailsWithAFileErrorNamingThePathAndTheReason)
{
    const Unusable target = GetParam().Prepare(Scratch, Guard);
    if (target.Skip)
        GTEST_SKIP() << *target.Skip;
    const bool existed = QFileInfo::exists(target.File);
    try {
        TXMLOperation store(target.Folder, UnitedStates());
        FAIL() << "the store was created";
    } catch (const EFileError& e) {
        const QString named = QStringLiteral("'%1': ").arg(QDir::toNativeSeparators(target.File));
        EXPECT_TRUE(e.Message().contains(named)) << e.what();
        // The system's reason follows the path.
        EXPECT_GT(e.Message().size() - e.Message().indexOf(named) - named.size(), 3) << e.what();
    }
    EXPECT_EQ(QFileInfo::exists(target.File), existed);
}

QString MakeDataFolder(const TestFolder& scratch)
{
    QDir(scratch.Path()).mkdir(QStringLiteral("data"));
    return scratch.File(QStringLiteral("data"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreationFailureTest,
    ::testing::Values(
        CreationFailureCase{
            "ReadOnlyFolder",
            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>&) {
                const QString folder = MakeDataFolder(scratch);
                if (!PermissionsStopWrites(scratch.Path()))
                    return Unusable{folder, {}, "running as root: folder permissions stop no write"};
                chmod(QFile::encodeName(folder).constData(), 0555);
                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
            }},
        CreationFailureCase{"ImmutableFolder",
                            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>& guard) {
                                const QString folder = MakeDataFolder(scratch);
                                guard = std::make_unique<ImmutableGuard>(folder);
                                if (!guard->IsSet())
                                    return Unusable{folder, {}, guard->Reason()};
                                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
                            }},
        CreationFailureCase{"FileInPlaceOfTheFolder",
                            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>&) {
                                scratch.Write(QStringLiteral("data"), "a file, not a folder");
                                const QString folder = scratch.File(QStringLiteral("data"));
                                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
                            }},
        CreationFailureCase{"FolderThatDoesNotExist",
                            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>&) {
                                const QString folder = scratch.File(QStringLiteral("data/not/there"));
                                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
                            }},
        CreationFailureCase{"FolderOfTheKernel",
                            [](const TestFolder&, std::unique_ptr<ImmutableGuard>&) {
                                const QString folder = QStringLiteral("/proc/self");
                                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
                            }},
        CreationFailureCase{"FolderInPlaceOfTheTaskFile",
                            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>&) {
                                const QString folder = MakeDataFolder(scratch);
                                QDir(folder).mkdir(kTaskFile);
                                return Unusable{folder, QDir(folder).filePath(kTaskFile), {}};
                            }},
        CreationFailureCase{
            "UnreadableTaskFile",
            [](const TestFolder& scratch, std::unique_ptr<ImmutableGuard>&) {
                const QString folder = MakeDataFolder(scratch);
                const QString file = QDir(folder).filePath(kTaskFile);
                scratch.Write(QStringLiteral("data/task.qrn"), "<tasklist>\r\n</tasklist>\r\n");
                chmod(QFile::encodeName(file).constData(), 0);
                QFile probe(file);
                if (probe.open(QIODevice::ReadOnly))
                    return Unusable{folder, {}, "running as root: file permissions stop no read"};
                return Unusable{folder, file, {}};
            }}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
