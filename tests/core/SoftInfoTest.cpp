#include "BaseVar.h"
#include "TestFolder.h"
#include "uFunction.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase
{
    const char* Name;
    const char* Text;
    const char* Separator;
    QStringList Expected;
};

class SplitStringTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitStringTest, YieldsTheNonEmptyPiecesInOrder)
{
    const SplitCase& c = GetParam();
    QStringList list{QStringLiteral("left over")};
    SplitString(QString::fromUtf8(c.Text), QString::fromUtf8(c.Separator), list);
    EXPECT_EQ(list, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitStringTest,
                         ::testing::Values(SplitCase{"VersionNumber", "1.2.0.0", ".", {"1", "2", "0", "0"}},
                                           SplitCase{"TrailingSeparator", "1.2.", ".", {"1", "2"}},
                                           SplitCase{"EmptyPieceDropped", "a..b", ".", {"a", "b"}},
                                           SplitCase{"EmptyText", "", ".", {}},
                                           SplitCase{"NoSeparator", "abc", ".", {"abc"}},
                                           SplitCase{"TwoCharacterSeparator", "x--y--", "--", {"x", "y"}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FileVersion, TheProgramCarriesItsProjectVersionInThreeParts)
{
    EXPECT_EQ(GetFileVersionText(QStringLiteral(TASKWICK_EXECUTABLE)), QStringLiteral("1.0.0"));
}

TEST(FileVersion, AFileWithoutVersionYieldsTheEmptyText)
{
    TestFolder folder;
    folder.Write(QStringLiteral("plain.txt"), "not a program");
    EXPECT_EQ(GetFileVersionText(folder.File(QStringLiteral("plain.txt"))), QString());
    EXPECT_EQ(GetFileVersionText(folder.File(QStringLiteral("missing"))), QString());
    // A program built without the version note: this test itself.
    EXPECT_EQ(GetFileVersionText(QStringLiteral("/proc/self/exe")), QString());
}

TEST(SoftInfo, ReadsEntriesOneFourAndFiveAndCutsLongOnes)
{
    TestFolder folder;
    const QString longName = QString(300, QLatin1Char('n'));
    folder.Write(QStringLiteral("Res.dll"), "# comment\n1=" + longName.toUtf8() +
                                                "\n2=ignored\n4=https://home.example/\r\n5=mail@home.example\n");
    const RecSoftInfo info = LoadSoftInfo(folder.File(QStringLiteral("Res.dll")), QStringLiteral(TASKWICK_EXECUTABLE));
    EXPECT_EQ(info.SoftName, QString(253, QLatin1Char('n')));
    EXPECT_EQ(info.HomePage, QStringLiteral("https://home.example/"));
    EXPECT_EQ(info.EMail, QStringLiteral("mail@home.example"));
    EXPECT_EQ(info.SoftVersion, QStringLiteral("1.0.0"));
}

TEST(SoftInfo, MissingEntriesStayEmpty)
{
    TestFolder folder;
    folder.Write(QStringLiteral("Res.dll"), "1=Név ✓\n");
    const RecSoftInfo info = LoadSoftInfo(folder.File(QStringLiteral("Res.dll")), QString());
    EXPECT_EQ(info.SoftName, QStringLiteral("Név ✓"));
    EXPECT_TRUE(info.HomePage.isEmpty());
    EXPECT_TRUE(info.EMail.isEmpty());
    EXPECT_TRUE(info.SoftVersion.isEmpty());
}

} // namespace
