// Settings: a value is read and written only while its switch is on; the display filter has its own
// operation.
#include "Errors.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <optional>

namespace {

using CaseNames::PrintTo;

// The setting file as created, with `changes` replacing the texts of the elements it names.
QByteArray SettingFileOf(const ChildChanges& changes)
{
    std::vector<std::pair<const char*, const char*>> elements{
        {"startwithwindows", "true"},       {"minimizeonstart", "false"},
        {"alwaysontop", "false"},           {"alphablendstate", "false"},
        {"alphablendvalue", "220"},         {"markformalphablendstate", "true"},
        {"markformalphablendvalue", "220"}, {"donetaskputinbottom", "false"},
        {"sortbycolumn", "default"},        {"displayfilter", "all"}};
    for (const auto& [name, text] : changes)
        for (auto& element : elements)
            if (std::strcmp(element.first, name) == 0)
                element.second = text;
    QByteArray xml = "<setting>\r\n";
    for (const auto& [name, text] : elements)
        xml += QByteArray("<") + name + ">" + text + "</" + name + ">\r\n";
    return xml + "</setting>\r\n";
}

struct ReadCase
{
    const char* Name;
    ChildChanges Changes;
    int AlphaBlendValue;
    int MarkFormAlphaBlendValue;
    std::optional<const char*> Error;
};

class GetSettingTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(GetSettingTest, ReadsAValueOnlyWhenItsSwitchIsOn)
{
    const ReadCase& c = GetParam();
    TestFolder folder;
    folder.Write(kSettingFile, SettingFileOf(c.Changes));
    TXMLOperation store(folder.Path(), UnitedStates());
    TSettingInfo s;
    s.SortByColumn = QStringLiteral("caller's own");
    if (c.Error) {
        try {
            store.GetSetting(s);
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(*c.Error));
        }
        EXPECT_EQ(s.SortByColumn, QStringLiteral("caller's own"));
        return;
    }
    store.GetSetting(s);
    EXPECT_EQ(s.AlphaBlendValue, c.AlphaBlendValue);
    EXPECT_EQ(s.MarkFormAlphaBlendValue, c.MarkFormAlphaBlendValue);
    EXPECT_EQ(s.AlphaBlendState, c.AlphaBlendValue != 0);
    EXPECT_EQ(s.MarkFormAlphaBlendState, c.MarkFormAlphaBlendValue != 0);
    EXPECT_EQ(s.SortByColumn, QStringLiteral("default"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetSettingTest,
    ::testing::Values(
        ReadCase{"AsCreated", {}, 0, 220, {}},
        ReadCase{"BothOn",
                 {{"alphablendstate", "true"}, {"alphablendvalue", "150"}, {"markformalphablendvalue", "90"}},
                 150,
                 90,
                 {}},
        ReadCase{"BothOff", {{"alphablendvalue", "150"}, {"markformalphablendstate", "false"}}, 0, 0, {}},
        ReadCase{"OffSkipsUnreadableValues",
                 {{"alphablendvalue", "opaque"},
                  {"markformalphablendstate", "false"},
                  {"markformalphablendvalue", ""}},
                 0,
                 0,
                 {}},
        ReadCase{"CapitalTrueAndOneAreOff",
                 {{"alphablendstate", "True"}, {"alphablendvalue", "150"}, {"markformalphablendstate", "1"}},
                 0,
                 0,
                 {}},
        ReadCase{"OnReadsUnreadableValue",
                 {{"alphablendstate", "true"}, {"alphablendvalue", "opaque"}},
                 0,
                 0,
                 "'opaque' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.Name); });

class SaveSettingTest : public ::testing::TestWithParam<std::tuple<bool, bool>>
{
};

TEST_P(SaveSettingTest, WritesAValueOnlyWhenItsSwitchIsOnAndNeverTheFilter)
{
    const auto [alpha, note] = GetParam();
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.SaveDisplayFilter(QStringLiteral("category20260101000000001"));
    TSettingInfo s;
    s.StartWithWindows = false;
    s.MinimizeOnStart = true;
    s.AlwaysOnTop = true;
    s.AlphaBlendState = alpha;
    s.AlphaBlendValue = 99;
    s.MarkFormAlphaBlendState = note;
    s.MarkFormAlphaBlendValue = 77;
    s.DoneTaskPutInBottom = true;
    s.SortByColumn = QStringLiteral("due date");
    s.DisplayFilter = QStringLiteral("all");
    store.SaveSetting(s);

    const ElementTexts expected{{"startwithwindows", "false"},
                                {"minimizeonstart", "true"},
                                {"alwaysontop", "true"},
                                {"alphablendstate", BoolToStr(alpha)},
                                {"alphablendvalue", alpha ? "99" : "220"},
                                {"markformalphablendstate", BoolToStr(note)},
                                {"markformalphablendvalue", note ? "77" : "220"},
                                {"donetaskputinbottom", "true"},
                                {"sortbycolumn", "due date"},
                                {"displayfilter", "category20260101000000001"}};
    EXPECT_EQ(ChildTexts(folder.Read(kSettingFile)), expected);

    TXMLOperation reopened(folder.Path(), UnitedStates());
    TSettingInfo read;
    reopened.GetSetting(read);
    EXPECT_EQ(read.AlphaBlendValue, alpha ? 99 : 0);
    EXPECT_EQ(read.MarkFormAlphaBlendValue, note ? 77 : 0);
    EXPECT_TRUE(read.MinimizeOnStart);
    EXPECT_TRUE(read.AlwaysOnTop);
    EXPECT_TRUE(read.DoneTaskPutInBottom);
    EXPECT_FALSE(read.StartWithWindows);
    EXPECT_EQ(read.SortByColumn, QStringLiteral("due date"));
    EXPECT_EQ(read.DisplayFilter, QStringLiteral("category20260101000000001"));
}

INSTANTIATE_TEST_SUITE_P(Switches, SaveSettingTest, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "AlphaOn" : "AlphaOff") +
                                    (std::get<1>(info.param) ? "NotesOn" : "NotesOff");
                         });

TEST(SaveDisplayFilter, ChangesTheFilterAndNothingElse)
{
    TestFolder folder;
    folder.Write(kSettingFile, SettingFileOf({{"alphablendvalue", "17"}, {"sortbycolumn", "Priority"}}));
    TXMLOperation store(folder.Path(), UnitedStates());
    ElementTexts expected = ChildTexts(folder.Read(kSettingFile));
    store.SaveDisplayFilter(QStringLiteral("category20260101000000001"));
    expected.last().second = QStringLiteral("category20260101000000001");
    EXPECT_EQ(ChildTexts(folder.Read(kSettingFile)), expected);
    TSettingInfo s;
    store.GetSetting(s);
    EXPECT_EQ(s.DisplayFilter, QStringLiteral("category20260101000000001"));
}

TEST(SettingFileDeletedWhileRunning, IsRecreatedAsDefaultButReadFromMemoryAndOverwrittenByTheNextSave)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    const QByteArray created = folder.Read(kSettingFile);
    TSettingInfo mine;
    mine.AlphaBlendState = true;
    mine.AlphaBlendValue = 128;
    mine.SortByColumn = QStringLiteral("task name");
    store.SaveSetting(mine);
    store.SaveDisplayFilter(DefaultCategoryID);
    const QByteArray saved = folder.Read(kSettingFile);

    ASSERT_TRUE(QFile::remove(folder.File(kSettingFile)));
    TSettingInfo read;
    store.GetSetting(read);
    EXPECT_EQ(folder.Read(kSettingFile), created);
    EXPECT_TRUE(read.AlphaBlendState);
    EXPECT_EQ(read.AlphaBlendValue, 128);
    EXPECT_EQ(read.SortByColumn, QStringLiteral("task name"));
    EXPECT_EQ(read.DisplayFilter, DefaultCategoryID);

    store.SaveSetting(mine);
    EXPECT_EQ(ChildTexts(folder.Read(kSettingFile)), ChildTexts(saved));
}

// The task and category files deleted while running: the next add recreates the file and then
// saves the whole document over it.
struct DeletedFileCase
{
    const char* Name;
    QString File;
    void (*Add)(TXMLOperation& store, int n);
    int (*Count)(TXMLOperation& store);
};

class DataFileDeletedTest : public ::testing::TestWithParam<DeletedFileCase>
{
};

TEST_P(DataFileDeletedTest, TheNextAddWritesTheWholeDocument)
{
    const DeletedFileCase& c = GetParam();
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    c.Add(store, 1);
    ASSERT_TRUE(QFile::remove(folder.File(c.File)));
    c.Add(store, 2);
    TXMLOperation reopened(folder.Path(), UnitedStates());
    EXPECT_EQ(c.Count(reopened), c.Count(store));
    EXPECT_EQ(c.Count(store), c.File == kCategoryFile ? 3 : 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataFileDeletedTest,
    ::testing::Values(DeletedFileCase{"TaskFile", kTaskFile,
                                      [](TXMLOperation& s, int n) {
                                          s.AddTask(MakeTask(QStringLiteral("task2026010100000000%1").arg(n),
                                                             "T", DefaultCategoryID));
                                      },
                                      [](TXMLOperation& s) {
                                          TTaskInfoList l;
                                          s.GetTaskList(l);
                                          return static_cast<int>(l.size());
                                      }},
                      DeletedFileCase{"CategoryFile", kCategoryFile,
                                      [](TXMLOperation& s, int n) {
                                          s.AddCategory(MakeCategory(
                                              QStringLiteral("category2026010100000000%1").arg(n), "C", 5));
                                      },
                                      [](TXMLOperation& s) {
                                          Tcategorylist l;
                                          s.GetCategoryList(l);
                                          return static_cast<int>(l.size());
                                      }}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
