// Identifiers: a prefix and the creation time in 17 digits; one in use moves on to the next free millisecond.
#include "Identifier.h"
#include "Clock.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <QRegularExpression>
#include <QSet>

namespace {

using CaseNames::PrintTo;

struct IdCase
{
    const char* Name;
    const char* Prefix;
    QDateTime When;
    QStringList Taken;
    const char* Expected;
};

class MakeIdentifierTest : public ::testing::TestWithParam<IdCase>
{
};

TEST_P(MakeIdentifierTest, FormatsTheTimeAndSkipsIdentifiersInUse)
{
    const IdCase& c = GetParam();
    const QSet<QString> taken(c.Taken.begin(), c.Taken.end());
    const QString id = MakeIdentifier(QString::fromUtf8(c.Prefix), c.When,
                                      [&taken](const QString& s) { return taken.contains(s); });
    EXPECT_EQ(id, QString::fromUtf8(c.Expected));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1\\d{17}$").arg(QString::fromUtf8(c.Prefix)))
                    .match(id)
                    .hasMatch());
}

QDateTime At(int y, int mo, int d, int h, int mi, int s, int ms)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeIdentifierTest,
    ::testing::Values(
        IdCase{"Category", "category", At(2008, 11, 24, 20, 27, 15, 129), {}, "category20081124202715129"},
        IdCase{"TaskInTheMorning", "task", At(2026, 1, 2, 3, 4, 5, 6), {}, "task20260102030405006"},
        IdCase{"InUseMovesOn",
               "task",
               At(2026, 1, 2, 3, 4, 5, 6),
               {"task20260102030405006"},
               "task20260102030405007"},
        IdCase{"SeveralInUse",
               "task",
               At(2026, 1, 2, 3, 4, 5, 6),
               {"task20260102030405006", "task20260102030405007", "task20260102030405009"},
               "task20260102030405008"},
        IdCase{"OtherPrefixDoesNotCount",
               "task",
               At(2026, 1, 2, 3, 4, 5, 6),
               {"category20260102030405006"},
               "task20260102030405006"},
        IdCase{"LastMillisecondOfTheYear",
               "task",
               At(2026, 12, 31, 23, 59, 59, 999),
               {"task20261231235959999"},
               "task20270101000000000"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MakeIdentifier, TwoTasksMadeInOneMillisecondAreBothFoundInTheStore)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    const QDateTime frozen = At(2026, 3, 4, 5, 6, 7, 890);
    Clock::SetSource([frozen] { return frozen; });
    const auto taken = [&store](const QString& id) { return store.HasTask(id); };
    const QString first = MakeIdentifier(QStringLiteral("task"), Clock::Now(), taken);
    store.AddTask(MakeTask(first, QStringLiteral("First"), DefaultCategoryID));
    const QString second = MakeIdentifier(QStringLiteral("task"), Clock::Now(), taken);
    store.AddTask(MakeTask(second, QStringLiteral("Second"), DefaultCategoryID));
    Clock::SetSource({});

    EXPECT_EQ(first, QStringLiteral("task20260304050607890"));
    EXPECT_EQ(second, QStringLiteral("task20260304050607891"));
    TTaskInfo read;
    store.GetTask(second, read);
    EXPECT_EQ(read.TaskName, QStringLiteral("Second"));
    store.GetTask(first, read);
    EXPECT_EQ(read.TaskName, QStringLiteral("First"));
}

} // namespace
