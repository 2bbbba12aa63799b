// Categories: deleting one deletes its tasks and keeps the order of the others.
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

namespace {

using CaseNames::PrintTo;

const QString kHome = QStringLiteral("category20260101000000001");
const QString kWork = QStringLiteral("category20260101000000002");
const QString kNowhere = QStringLiteral("category20260101000000009");

QString TaskId(int n)
{
    return QStringLiteral("task202601010000%1").arg(n, 5, 10, QLatin1Char('0'));
}

struct CascadeCase
{
    const char* Name;
    QString Deleted;
    int CategorySaves;
    QStringList Categories; // what stays, in order
};

class DeleteCategoryTest : public ::testing::TestWithParam<CascadeCase>
{
};

TEST_P(DeleteCategoryTest, DeletesEveryTaskThatNamesItAndKeepsTheOthersInOrder)
{
    const CascadeCase& c = GetParam();
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.AddCategory(MakeCategory(kHome, QStringLiteral("Home"), 5));
    store.AddCategory(MakeCategory(kWork, QStringLiteral("Work"), 6));
    // Three tasks of the deleted category between tasks of others; one names it in other letter case.
    const QString categories[] = {c.Deleted,           kWork,     c.Deleted, DefaultCategoryID,
                                  c.Deleted.toUpper(), c.Deleted, kWork};
    for (int i = 0; i < 7; ++i)
        store.AddTask(MakeTask(TaskId(i), QStringLiteral("Task %1").arg(i), categories[i]));
    StampDataFiles(folder);

    SaveCounter counter(folder.Path());
    store.DeleteCategory(c.Deleted);
    EXPECT_EQ(counter.Saves(kCategoryFile), c.CategorySaves);
    EXPECT_EQ(counter.Saves(kTaskFile), 3);
    EXPECT_EQ(counter.Saves(kSettingFile), 0);

    const QStringList kept{TaskId(1), TaskId(3), TaskId(4), TaskId(6)};
    TTaskInfoList tasks;
    store.GetTaskList(tasks);
    EXPECT_EQ(Ids(tasks), kept);
    Tcategorylist left;
    store.GetCategoryList(left);
    QStringList leftIds;
    for (const TCategoryInfo& category : left)
        leftIds.append(category.ID);
    EXPECT_EQ(leftIds, c.Categories);

    TXMLOperation reopened(folder.Path(), UnitedStates());
    reopened.GetTaskList(tasks);
    EXPECT_EQ(Ids(tasks), kept);
    EXPECT_EQ(tasks[2].TaskName, QStringLiteral("Task 4"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteCategoryTest,
    ::testing::Values(CascadeCase{"StoredCategory", kHome, 1, {DefaultCategoryID, kWork}},
                      CascadeCase{"IdentifierNoCategoryHas", kNowhere, 0, {DefaultCategoryID, kHome, kWork}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Category, AddUpdateAndRemoveKeepTheOrderOfCreation)
{
    TestFolder folder;
    {
        TXMLOperation store(folder.Path(), UnitedStates());
        store.AddCategory(MakeCategory(kHome, QStringLiteral("Home"), 5));
        store.UpdateCategory(MakeCategory(kWork, QStringLiteral("Work"), 13)); // unknown: added
        store.UpdateCategory(MakeCategory(kHome, QStringLiteral("House & garden <3>"), 12));
        store.RemoveCategoryNode(DefaultCategoryID);
    }
    EXPECT_EQ(ChildTexts(folder.Read(kCategoryFile), kHome),
              ElementTexts({{"categoryname", "House & garden <3>"}, {"categoryiconid", "12"}}));
    TXMLOperation reopened(folder.Path(), UnitedStates());
    Tcategorylist list;
    reopened.GetCategoryList(list);
    EXPECT_EQ(list, Tcategorylist({MakeCategory(kHome, QStringLiteral("House & garden <3>"), 12),
                                   MakeCategory(kWork, QStringLiteral("Work"), 13)}));
}

} // namespace
