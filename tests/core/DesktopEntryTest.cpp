// The Exec key of desktop entry files: quoting, string escapes and reading them back.
#include "DesktopEntry.h"
#include "TestFolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace DesktopEntry;

namespace {

struct QuoteCase
{
    const char* argument;
    const char* quoted; // before the key file's string escapes
};

// Written out by hand from the quoting rules, so that a writer and a reader that share a
// mistake cannot hide it from each other.
const QuoteCase QuoteCases[] = {
    {"/usr/bin/taskwick", "/usr/bin/taskwick"},
    {"", "\"\""},
    {"/opt/my apps/taskwick", "\"/opt/my apps/taskwick\""},
    {"/opt/\"quoted\"/taskwick", "\"/opt/\\\"quoted\\\"/taskwick\""},
    {"/opt/$HOME/taskwick", "\"/opt/\\$HOME/taskwick\""},
    {"/opt/back\\slash/taskwick", "\"/opt/back\\\\slash/taskwick\""},
    {"/opt/tick`date`/taskwick", "\"/opt/tick\\`date\\`/taskwick\""},
    {"/opt/it's/taskwick", "\"/opt/it's/taskwick\""},
    {"/opt/100%/taskwick", "/opt/100%%/taskwick"},
    {"/opt/100% sure/taskwick", "\"/opt/100%% sure/taskwick\""},
    {"/opt/a;b&c|d/taskwick", "\"/opt/a;b&c|d/taskwick\""},
    {"/opt/<x>~*?#()/taskwick", "\"/opt/<x>~*?#()/taskwick\""},
    {"/opt/tab\there", "\"/opt/tab\there\""},
    {"/opt/plain-name_1.2+x=y,z@q", "/opt/plain-name_1.2+x=y,z@q"},
};

} // namespace

TEST(DesktopEntryTest, QuotesAnArgumentExactlyWhenItHoldsAReservedCharacter)
{
    for (const QuoteCase& c : QuoteCases)
        EXPECT_EQ(QuoteExecArgument(QString::fromUtf8(c.argument)), QString::fromUtf8(c.quoted)) << c.argument;
}

TEST(DesktopEntryTest, ExecValueAppliesTheStringEscapesAfterQuoting)
{
    struct Case
    {
        QStringList commandLine;
        QString value;
    };
    const Case cases[] = {
        {{"/usr/bin/taskwick"}, "/usr/bin/taskwick"},
        // A literal dollar sign in a quoted argument is written \\$, a backslash four times.
        {{"/opt/$x/taskwick"}, R"("/opt/\\$x/taskwick")"},
        {{"/opt/a\\b/taskwick"}, R"("/opt/a\\\\b/taskwick")"},
        {{"/opt/say \"hi\"/taskwick"}, R"("/opt/say \\"hi\\"/taskwick")"},
        {{"/opt/tab\tnew\nline\rreturn"}, R"("/opt/tab\tnew\nline\rreturn")"},
        {{"/usr/bin/prog", "--flag", "two words", ""}, R"(/usr/bin/prog --flag "two words" "")"},
        {{QString::fromUtf8("/home/jürgen/Программы/taskwick")}, QString::fromUtf8("/home/jürgen/Программы/taskwick")},
    };
    for (const Case& c : cases) {
        const std::optional<QString> value = ExecValue(c.commandLine);
        ASSERT_TRUE(value.has_value()) << c.commandLine.join('|').toStdString();
        EXPECT_EQ(*value, c.value);
    }
}

TEST(DesktopEntryTest, ExecValueRefusesWhatAKeyFileCannotHold)
{
    EXPECT_FALSE(ExecValue({}).has_value());
    EXPECT_FALSE(ExecValue({QStringLiteral("/opt/bell\x07/taskwick")}).has_value());
    EXPECT_FALSE(ExecValue({QStringLiteral("/opt/del\x7f/taskwick")}).has_value());
    EXPECT_FALSE(ExecValue({QStringLiteral("/usr/bin/prog"), QString(QChar(u'\x1b'))}).has_value());
}

TEST(DesktopEntryTest, EveryWrittenPathReadsBackAsTheSameSingleWord)
{
    const char* paths[] = {
        "/usr/bin/taskwick",
        "/opt/my apps/taskwick",
        "/opt/  two  spaces  /taskwick ",
        "/opt/\"quotes\" and 'apostrophes'/taskwick",
        "/opt/$HOME ${PATH} $(id)/taskwick",
        "/opt/\\\\server\\share\\/taskwick",
        "/opt/`uname`/taskwick",
        "/opt/%f %U %%/taskwick",
        "/opt/tab\tnewline\ncr\r/taskwick",
        "/opt/a=b/taskwick",
        "/home/jürgen/Программы/タスク/taskwick",
    };
    for (const char* path : paths) {
        const QString text = QString::fromUtf8(path);
        const std::optional<QString> value = ExecValue({text});
        ASSERT_TRUE(value.has_value()) << path;
        const std::optional<QStringList> words = SplitExecValue(*value);
        ASSERT_TRUE(words.has_value()) << value->toStdString();
        EXPECT_EQ(*words, QStringList{text}) << value->toStdString();
    }
}

TEST(DesktopEntryTest, SplitReadsValuesWrittenByHand)
{
    struct Case
    {
        const char* value;
        QStringList words;
    };
    const Case cases[] = {
        {"taskwick", {"taskwick"}},
        {"  /usr/bin/taskwick   --min  ", {"/usr/bin/taskwick", "--min"}},
        {R"("/opt/a b/taskwick" "" x)", {"/opt/a b/taskwick", "", "x"}},
        {R"("/opt/\\$x \\` \\" \\\\")", {"/opt/$x ` \" \\"}},
        {R"(prog\sone)", {"prog", "one"}},
        {"prog %U %f", {"prog"}},
        {"prog 50%%", {"prog", "50%"}},
    };
    for (const Case& c : cases) {
        const std::optional<QStringList> words = SplitExecValue(QString::fromUtf8(c.value));
        ASSERT_TRUE(words.has_value()) << c.value;
        EXPECT_EQ(*words, c.words) << c.value;
    }
}

TEST(DesktopEntryTest, SplitRefusesValuesThatBreakTheQuotingRules)
{
    const char* values[] = {
        "",                  // no program
        "   ",               // no program
        R"("/opt/open)",     // the quote is never closed
        R"("/opt/a"b)",      // a quoted word must be quoted in whole
        R"(/opt/"a b")",     // a quote inside an unquoted word
        R"(/opt/$HOME)",     // a reserved character outside quotes
        R"(/opt/a\sb'c)",    // an apostrophe outside quotes
        R"("/opt/\$x")",     // a lone backslash before $ is no string escape
        R"("/opt/\\q")",     // \q is no escape inside quotes
        R"(prog\)",          // a backslash at the end
        "prog 50%",          // a lone percent sign
        "prog %z",           // no such field code
    };
    for (const char* value : values)
        EXPECT_FALSE(SplitExecValue(QString::fromUtf8(value)).has_value()) << value;
}

TEST(DesktopEntryTest, AutostartEntryHoldsTheKeysADesktopReads)
{
    const QString exec = *ExecValue({QStringLiteral("/opt/my apps/$x/taskwick")});
    const QString text = QString::fromUtf8(AutostartEntryText(QStringLiteral("CorvalenPellory"), exec,
                                                              QStringLiteral("example.corvalen.Taskwick")));
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Type=Application")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Name=CorvalenPellory")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=example.corvalen.Taskwick")));
    EXPECT_TRUE(lines.contains(QStringLiteral("X-GNOME-Autostart-enabled=true")));
    EXPECT_TRUE(lines.contains(QStringLiteral("X-GNOME-Autostart-Delay=%1").arg(AutostartDelaySeconds)));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^Exec="))),
              QStringList{QStringLiteral(R"(Exec="/opt/my apps/\\$x/taskwick")")});
    EXPECT_TRUE(text.endsWith(u'\n'));
}

// The desktop's own checker, where it is installed, agrees that the entry is well formed.
TEST(DesktopEntryTest, AutostartEntryPassesTheDesktopFileValidator)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    TestFolder folder;
    const char* paths[] = {"/usr/bin/taskwick", "/opt/my apps/\"q\" $x `y` \\z 100%/taskwick",
                           "/home/jürgen/Программы/taskwick"};
    for (const char* path : paths) {
        const QString exec = *ExecValue({QString::fromUtf8(path)});
        folder.Write(QStringLiteral("CorvalenPellory.desktop"),
                     AutostartEntryText(QStringLiteral("CorvalenPellory"), exec, QStringLiteral("example.corvalen.Taskwick")));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(validator, {folder.File(QStringLiteral("CorvalenPellory.desktop"))});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << path << ": " << process.readAll().toStdString();
    }
}

TEST(DesktopEntryTest, ConfigHomeIgnoresAnEmptyOrRelativeSetting)
{
    const QString home = QStringLiteral("/home/user");
    EXPECT_EQ(ConfigHome(QStringLiteral("/srv/config"), home), QStringLiteral("/srv/config"));
    EXPECT_EQ(ConfigHome(QStringLiteral("/srv/config/"), home), QStringLiteral("/srv/config"));
    EXPECT_EQ(ConfigHome(QString(), home), QStringLiteral("/home/user/.config"));
    EXPECT_EQ(ConfigHome(QStringLiteral("relative/config"), home), QStringLiteral("/home/user/.config"));
}
