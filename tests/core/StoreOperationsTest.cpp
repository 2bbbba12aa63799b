// Which data file each store operation saves, with a stored and with an unknown identifier.
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

#include <functional>
#include <memory>

namespace {

using CaseNames::PrintTo;

const QString kTask1 = QStringLiteral("task20260102030405001");
const QString kTask2 = QStringLiteral("task20260102030405002");
const QString kMissingTask = QStringLiteral("task20991231235959999");
const QString kCategoryA = QStringLiteral("category20260102030405001");
const QString kCategoryB = QStringLiteral("category20260102030405002");
const QString kMissingCategory = QStringLiteral("category20991231235959999");

struct OperationCase
{
    const char* Name;
    std::function<void(TXMLOperation&)> Run;
    // How often the task, category and setting files are saved.
    int TaskSaves;
    int CategorySaves;
    int SettingSaves;
};

TTaskInfo Stored1()
{
    TTaskInfo t = MakeTask(kTask1, QStringLiteral("Pay rent"), kCategoryA);
    t.Reminder = {true, 46000, 0.375};
    t.MarkFormState = true;
    t.MarkFormTop = 100;
    t.MarkFormLeft = 200;
    return t;
}

class StoreOperationTest : public ::testing::TestWithParam<OperationCase>
{
protected:
    void SetUp() override
    {
        Store = std::make_unique<TXMLOperation>(Folder.Path(), UnitedStates());
        Store->AddCategory(MakeCategory(kCategoryA, QStringLiteral("Home"), 5));
        Store->AddCategory(MakeCategory(kCategoryB, QStringLiteral("Work"), 6));
        Store->AddTask(Stored1());
        Store->AddTask(MakeTask(kTask2, QStringLiteral("Write report"), kCategoryB));
    }

    TestFolder Folder;
    std::unique_ptr<TXMLOperation> Store;
};

TEST_P(StoreOperationTest, SavesExactlyTheFilesItChanges)
{
    const OperationCase& c = GetParam();
    const QHash<QString, FileStamp> before = StampDataFiles(Folder);
    TTaskInfoList tasksBefore;
    Store->GetTaskList(tasksBefore);
    Tcategorylist categoriesBefore;
    Store->GetCategoryList(categoriesBefore);

    SaveCounter counter(Folder.Path());
    c.Run(*Store);

    const QHash<QString, int> expected{
        {kTaskFile, c.TaskSaves}, {kCategoryFile, c.CategorySaves}, {kSettingFile, c.SettingSaves}};
    for (const QString& name : kDataFiles) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(counter.Saves(name), expected.value(name));
        if (expected.value(name) == 0)
            EXPECT_TRUE(FileStamp::Of(Folder, name) == before.value(name)) << "the file was written";
        else
            EXPECT_GT(Folder.Modified(name), TestFolder::OldTime());
    }
    if (c.TaskSaves + c.CategorySaves + c.SettingSaves == 0) {
        // Nothing saved, nothing changed in memory either.
        TTaskInfoList tasks;
        Store->GetTaskList(tasks);
        EXPECT_EQ(tasks, tasksBefore);
        Tcategorylist categories;
        Store->GetCategoryList(categories);
        EXPECT_EQ(categories, categoriesBefore);
    }
    // Whatever was saved reads back the same after a restart.
    TXMLOperation reopened(Folder.Path(), UnitedStates());
    TTaskInfoList saved, held;
    reopened.GetTaskList(saved);
    Store->GetTaskList(held);
    EXPECT_EQ(saved, held);
}

TTaskInfo Edited(const QString& id)
{
    TTaskInfo t = MakeTask(id, QStringLiteral("Edited"), kCategoryB);
    t.TaskPriorityID = QStringLiteral("0");
    return t;
}

TSettingInfo SomeSettings()
{
    TSettingInfo s;
    s.SortByColumn = QStringLiteral("priority");
    return s;
}

const OperationCase kOperations[] = {
    {"GetTaskList",
     [](TXMLOperation& s) {
         TTaskInfoList l;
         s.GetTaskList(l);
     },
     0, 0, 0},
    {"GetTaskFound",
     [](TXMLOperation& s) {
         TTaskInfo t;
         s.GetTask(kTask1, t);
     },
     0, 0, 0},
    {"GetTaskMissing",
     [](TXMLOperation& s) {
         TTaskInfo t;
         s.GetTask(kMissingTask, t);
     },
     0, 0, 0},
    {"AddTask", [](TXMLOperation& s) { s.AddTask(Edited(kMissingTask)); }, 1, 0, 0},
    {"UpdateTaskFound", [](TXMLOperation& s) { s.UpdateTask(Edited(kTask1)); }, 1, 0, 0},
    {"UpdateTaskMissingAdds", [](TXMLOperation& s) { s.UpdateTask(Edited(kMissingTask)); }, 1, 0, 0},
    {"DeleteTaskFound", [](TXMLOperation& s) { s.DeleteTask(kTask1); }, 1, 0, 0},
    {"DeleteTaskMissing", [](TXMLOperation& s) { s.DeleteTask(kMissingTask); }, 0, 0, 0},
    {"SetTaskStateFound", [](TXMLOperation& s) { s.SetTaskState(kTask1, QStringLiteral("true")); }, 1, 0, 0},
    {"SetTaskStateMissing", [](TXMLOperation& s) { s.SetTaskState(kMissingTask, QStringLiteral("true")); }, 0,
     0, 0},
    {"SetTaskReminderFound",
     [](TXMLOperation& s) {
         s.SetTaskReminder(kTask2, {true, 46001, 0.5});
     },
     1, 0, 0},
    {"SetTaskReminderMissing",
     [](TXMLOperation& s) {
         s.SetTaskReminder(kMissingTask, {true, 46001, 0.5});
     },
     0, 0, 0},
    {"UpdateMarkFormFound", [](TXMLOperation& s) { s.UpdateMarkForm(Edited(kTask1)); }, 1, 0, 0},
    {"UpdateMarkFormMissing", [](TXMLOperation& s) { s.UpdateMarkForm(Edited(kMissingTask)); }, 0, 0, 0},
    {"GetCategoryList",
     [](TXMLOperation& s) {
         Tcategorylist l;
         s.GetCategoryList(l);
     },
     0, 0, 0},
    {"GetCategoryFound",
     [](TXMLOperation& s) {
         TCategoryInfo c;
         s.GetCategory(kCategoryA, c);
     },
     0, 0, 0},
    {"GetCategoryMissing",
     [](TXMLOperation& s) {
         TCategoryInfo c;
         s.GetCategory(kMissingCategory, c);
     },
     0, 0, 0},
    {"AddCategory",
     [](TXMLOperation& s) { s.AddCategory(MakeCategory(kMissingCategory, QStringLiteral("New"), 7)); }, 0, 1,
     0},
    {"UpdateCategoryFound",
     [](TXMLOperation& s) { s.UpdateCategory(MakeCategory(kCategoryA, QStringLiteral("Renamed"), 8)); }, 0, 1,
     0},
    {"UpdateCategoryMissingAdds",
     [](TXMLOperation& s) { s.UpdateCategory(MakeCategory(kMissingCategory, QStringLiteral("New"), 8)); }, 0,
     1, 0},
    {"RemoveCategoryNodeFound", [](TXMLOperation& s) { s.RemoveCategoryNode(kCategoryA); }, 0, 1, 0},
    {"RemoveCategoryNodeMissing", [](TXMLOperation& s) { s.RemoveCategoryNode(kMissingCategory); }, 0, 0, 0},
    {"DeleteCategoryFound", [](TXMLOperation& s) { s.DeleteCategory(kCategoryA); }, 1, 1, 0},
    {"DeleteCategoryMissing", [](TXMLOperation& s) { s.DeleteCategory(kMissingCategory); }, 0, 0, 0},
    {"GetSetting",
     [](TXMLOperation& s) {
         TSettingInfo i;
         s.GetSetting(i);
     },
     0, 0, 0},
    {"SaveSetting", [](TXMLOperation& s) { s.SaveSetting(SomeSettings()); }, 0, 0, 1},
    {"SaveDisplayFilter", [](TXMLOperation& s) { s.SaveDisplayFilter(kCategoryA); }, 0, 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Operations, StoreOperationTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.Name); });

// A hand-edited task file with two elements of one identifier: the first one is the record.
TEST(DuplicateIdentifiers, TheFirstElementIsTheRecordUntilItIsDeleted)
{
    TestFolder folder;
    folder.Write(kTaskFile, ReadFixture(QStringLiteral("duplicate-ids/task.qrn")));
    const QString twin = QStringLiteral("task20090129090500000");
    const QString other = QStringLiteral("task20090130100000000");
    TXMLOperation store(folder.Path(), UnitedStates());

    TTaskInfoList list;
    store.GetTaskList(list);
    ASSERT_EQ(Ids(list), QStringList({twin, other, twin}));
    EXPECT_EQ(list[0], list[2]);
    EXPECT_EQ(list[2].TaskName, QStringLiteral("First of two"));
    EXPECT_EQ(list[1].TaskName, QStringLiteral("Between them"));

    // A change by identifier reaches the first element only.
    store.SetTaskState(twin, QStringLiteral("true"));
    EXPECT_EQ(ChildText(folder.Read(kTaskFile), twin, QStringLiteral("taskstate")), QStringLiteral("true"));

    store.DeleteTask(twin);
    TTaskInfo second;
    store.GetTask(twin, second);
    EXPECT_EQ(second.TaskName, QStringLiteral("Second of two"));
    EXPECT_EQ(second.TaskState, QStringLiteral("false"));
    EXPECT_EQ(second.TaskPriorityID, QStringLiteral("2"));
    store.GetTaskList(list);
    EXPECT_EQ(Ids(list), QStringList({other, twin}));

    store.DeleteTask(twin);
    EXPECT_FALSE(store.HasTask(twin));
    store.GetTaskList(list);
    EXPECT_EQ(Ids(list), QStringList({other}));

    TXMLOperation reopened(folder.Path(), UnitedStates());
    reopened.GetTaskList(list);
    EXPECT_EQ(Ids(list), QStringList({other}));
}

} // namespace
