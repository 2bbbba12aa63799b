// The task grid: columns, rows, order, done placement, filter, count, colours, focus.
#include "BaseFunc.h"
#include "ImageList.h"
#include "MainFormFixture.h"

#include <QHeaderView>
#include <QImage>
#include <QStatusBar>

namespace {

using TaskListTest = MainFormTest;

QString Id(int n)
{
    return QStringLiteral("task202403150930%1").arg(n, 5, 10, QLatin1Char('0'));
}

TEST_F(TaskListTest, ColumnsHaveTheirHeadersWidthsAndOrderAndCannotBeRearranged)
{
    CreateForm();
    struct Column
    {
        int index;
        const char* header;
        int width;
        Qt::Alignment headerAlignment;
    };
    const Column columns[] = {
        {CxTreeListColTaskState, "", 20, Qt::AlignCenter},
        {CxTreeListColPriority, "Priority", 40, Qt::AlignCenter},
        {CxTreeListColTaskName, "Task", 310, Qt::AlignLeft | Qt::AlignVCenter},
        {CxTreeListColCategory, "Catetory", 50, Qt::AlignCenter},
        {CxTreeListColReminder, "Reminder", 52, Qt::AlignCenter},
        {CxTreeListColDuedate, "Due Date", 65, Qt::AlignCenter},
    };
    QHeaderView* header = Grid()->header();
    ASSERT_EQ(Grid()->columnCount(), 7);
    EXPECT_TRUE(Grid()->isColumnHidden(CxTreeListColTaskID));
    EXPECT_TRUE(Grid()->headerItem()->text(CxTreeListColTaskID).isEmpty());
    int screenPosition = 0;
    for (const Column& c : columns) {
        SCOPED_TRACE(c.header);
        EXPECT_EQ(Grid()->headerItem()->text(c.index), QString::fromLatin1(c.header));
        EXPECT_EQ(header->sectionSize(c.index), c.width);
        EXPECT_EQ(Qt::Alignment(Grid()->headerItem()->textAlignment(c.index)), c.headerAlignment);
        EXPECT_FALSE(Grid()->isColumnHidden(c.index));
        EXPECT_EQ(header->visualIndex(c.index), c.index); // defined order is the order on screen
        EXPECT_EQ(header->sectionResizeMode(c.index), QHeaderView::Fixed);
        EXPECT_EQ(header->sectionViewportPosition(c.index), screenPosition);
        screenPosition += c.width;
    }
    EXPECT_FALSE(header->sectionsMovable());
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_FALSE(Grid()->isSortingEnabled());
    EXPECT_FALSE(Grid()->rootIsDecorated());
    EXPECT_EQ(Grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(Grid()->font().pointSize(), 8);
}

TEST_F(TaskListTest, EachRowShowsItsTaskLikeTheStoreHoldsIt)
{
    const QString work = CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    TTaskInfo high = MakeTask(Id(1), QStringLiteral("Pay the rent"), QStringLiteral("0"), QStringLiteral("true"), work);
    high.TaskDueDate = QStringLiteral("3/31/2024");
    high.Reminder.State = true;
    high.Reminder.Date = DateToTDateTime(QDate(2024, 3, 30));
    high.Reminder.Time = TimeToTDateTime(QTime(8, 0));
    XMLOperation->AddTask(high);
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("Water the plants"), QStringLiteral("2")));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("No such category"), QStringLiteral("1"),
                                   QStringLiteral("false"), QStringLiteral("category19990101000000000")));
    CreateForm();

    ASSERT_EQ(RowIds(), QStringList({Id(1), Id(2), Id(3)}));
    struct Expected
    {
        Qt::CheckState done;
        int priorityImage;
        const char* name;
        int categoryImage; // -1: none
        bool reminder;
        const char* due;
    };
    const Expected rows[] = {
        {Qt::Checked, 0, "Pay the rent", 9, true, "3/31/2024"},
        {Qt::Unchecked, 2, "Water the plants", 4, false, "none"},
        {Qt::Unchecked, 1, "No such category", -1, false, "none"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QTreeWidgetItem* row = Grid()->topLevelItem(i);
        const Expected& e = rows[i];
        EXPECT_EQ(row->checkState(CxTreeListColTaskState), e.done);
        EXPECT_EQ(row->icon(CxTreeListColPriority).cacheKey(), CategoryImage(e.priorityImage).cacheKey());
        EXPECT_EQ(row->text(CxTreeListColTaskName), QString::fromUtf8(e.name));
        if (e.categoryImage < 0)
            EXPECT_TRUE(row->icon(CxTreeListColCategory).isNull());
        else
            EXPECT_EQ(row->icon(CxTreeListColCategory).cacheKey(), CategoryImage(e.categoryImage).cacheKey());
        if (e.reminder)
            EXPECT_EQ(row->icon(CxTreeListColReminder).cacheKey(), CategoryImage(ImageReminder).cacheKey());
        else
            EXPECT_TRUE(row->icon(CxTreeListColReminder).isNull());
        EXPECT_TRUE(row->text(CxTreeListColReminder).isEmpty());
        EXPECT_EQ(row->text(CxTreeListColDuedate), QString::fromUtf8(e.due));
        // Only the done box can change; nothing is typed into a cell.
        EXPECT_FALSE(row->flags() & Qt::ItemIsEditable);
    }
}

TEST_F(TaskListTest, OnlyTheExactTextFalseLeavesTheBoxEmpty)
{
    const char* states[] = {"false", "true", "", "False", "1"};
    for (int i = 0; i < 5; ++i)
        XMLOperation->AddTask(MakeTask(Id(i), QStringLiteral("t"), QStringLiteral("1"), QString::fromLatin1(states[i])));
    CreateForm();
    ASSERT_EQ(Grid()->topLevelItemCount(), 5);
    EXPECT_EQ(Row(Id(0))->checkState(CxTreeListColTaskState), Qt::Unchecked);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(Row(Id(i))->checkState(CxTreeListColTaskState), Qt::Checked) << states[i];
}

TEST_F(TaskListTest, SortColumnInAnyLetterCaseOrdersTheRows)
{
    // Store order: Normal "banana", High "Cherry", Low "apple", High "Avocado".
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("banana"), QStringLiteral("1")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("Cherry"), QStringLiteral("0")));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("apple"), QStringLiteral("2")));
    XMLOperation->AddTask(MakeTask(Id(4), QStringLiteral("Avocado"), QStringLiteral("0")));
    struct Case
    {
        const char* column;
        QStringList order;
    };
    const Case cases[] = {
        {"default", {Id(1), Id(2), Id(3), Id(4)}},
        // The exchange procedure puts the second High task first.
        {"Priority", {Id(2), Id(4), Id(1), Id(3)}},
        {"PRIORITY", {Id(2), Id(4), Id(1), Id(3)}},
        // apple and Avocado share the key "a"; "Cherry" comes after "banana".
        {"Task Name", {Id(3), Id(4), Id(1), Id(2)}},
        {"no such column", {Id(1), Id(2), Id(3), Id(4)}},
    };
    CreateForm();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        ChangeSetting([&](TSettingInfo& s) { s.SortByColumn = QString::fromLatin1(c.column); });
        RefreshTaskList(Grid());
        EXPECT_EQ(RowIds(), c.order);
    }
}

TEST_F(TaskListTest, DoneTasksGoBelowTheOthersOnlyWhenTheSettingSaysSo)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("done high"), QStringLiteral("0"), QStringLiteral("true")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("low"), QStringLiteral("2")));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("empty state"), QStringLiteral("1"), QString()));
    ChangeSetting([](TSettingInfo& s) { s.SortByColumn = QStringLiteral("priority"); });
    CreateForm();
    EXPECT_EQ(RowIds(), QStringList({Id(1), Id(3), Id(2)}));

    ChangeSetting([](TSettingInfo& s) { s.DoneTaskPutInBottom = true; });
    RefreshTaskList(Grid());
    // The done High task follows the not-done Low one; an empty state counts as not done
    // for the placement even though its box is ticked.
    EXPECT_EQ(RowIds(), QStringList({Id(3), Id(2), Id(1)}));
    EXPECT_EQ(Row(Id(3))->checkState(CxTreeListColTaskState), Qt::Checked);
}

TEST_F(TaskListTest, DisplayFilterChoosesTheRowsAndTheCountFollowsThem)
{
    const QString work = CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 5);
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("home 1")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("work 1"), QStringLiteral("1"), QStringLiteral("false"), work));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("home 2")));
    CreateForm();
    struct Case
    {
        QString filter;
        QStringList rows;
    };
    const Case cases[] = {
        {QStringLiteral("all"), {Id(1), Id(2), Id(3)}},
        {DefaultCategoryID, {Id(1), Id(3)}},
        {work, {Id(2)}},
        // Letter case counts: this names no category, so every task shows.
        {work.toUpper(), {Id(1), Id(2), Id(3)}},
        // A filter naming a deleted category shows every task as well.
        {QStringLiteral("category20000101000000000"), {Id(1), Id(2), Id(3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        XMLOperation->SaveDisplayFilter(c.filter);
        RefreshTaskList(Grid());
        EXPECT_EQ(RowIds(), c.rows);
        EXPECT_EQ(CountText(), QStringLiteral(" Task Count : %1").arg(c.rows.size()));
    }
    EXPECT_EQ(Setting().DisplayFilter, QStringLiteral("category20000101000000000")); // nothing rewritten
}

TEST_F(TaskListTest, AnEmptyListCountsZero)
{
    CreateForm();
    EXPECT_EQ(Grid()->topLevelItemCount(), 0);
    EXPECT_EQ(CountText(), QStringLiteral(" Task Count : 0"));
    EXPECT_EQ(Form->StatusBarPanel0->width(), 200);
    EXPECT_TRUE(Form->StatusBarPanel1->text().isEmpty());
}

TEST_F(TaskListTest, TheFocusedTaskStaysFocusedAcrossRefreshesByItsId)
{
    for (int i = 1; i <= 3; ++i)
        XMLOperation->AddTask(MakeTask(Id(i), QStringLiteral("task %1").arg(i), QString::number(i)));
    ShowForm();
    EXPECT_TRUE(FocusedId().isEmpty()); // nothing focused at first
    ClickRow(Id(3));
    ASSERT_EQ(FocusedId(), Id(3));
    EXPECT_EQ(Grid()->currentColumn(), CxTreeListColTaskState); // the box column holds the focus

    // An edit that moves the task to the top keeps it focused.
    TTaskInfo edited = StoredTask(Id(3));
    edited.TaskPriorityID = QStringLiteral("0");
    edited.TaskName = QStringLiteral("edited");
    XMLOperation->UpdateTask(edited);
    ChangeSetting([](TSettingInfo& s) { s.SortByColumn = QStringLiteral("priority"); });
    RefreshTaskList(Grid());
    EXPECT_EQ(RowIds().first(), Id(3));
    EXPECT_EQ(FocusedId(), Id(3));
    EXPECT_TRUE(Grid()->currentItem()->isSelected());

    // Deleting another task keeps it; deleting it leaves nothing focused.
    XMLOperation->DeleteTask(Id(1));
    RefreshTaskList(Grid());
    EXPECT_EQ(FocusedId(), Id(3));
    XMLOperation->DeleteTask(Id(3));
    RefreshTaskList(Grid());
    EXPECT_TRUE(FocusedId().isEmpty());
    EXPECT_TRUE(Grid()->selectedItems().isEmpty());

    // A task filtered out of view cannot stay focused.
    ClickRow(Id(2));
    ASSERT_EQ(FocusedId(), Id(2));
    const QString other = CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Other"), 6);
    XMLOperation->SaveDisplayFilter(other);
    RefreshTaskList(Grid());
    EXPECT_EQ(Grid()->topLevelItemCount(), 0);
    XMLOperation->SaveDisplayFilter(QStringLiteral("all"));
    RefreshTaskList(Grid());
    EXPECT_TRUE(FocusedId().isEmpty());
}

TEST_F(TaskListTest, CellsAreColouredForTheFocusedRowAndForDoneRows)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("open")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("done"), QStringLiteral("1"), QStringLiteral("true")));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("focused")));
    XMLOperation->AddTask(MakeTask(Id(4), QStringLiteral("focused and done"), QStringLiteral("1"), QStringLiteral("true")));
    ShowForm();

    // A point in the task name cell past the end of its text: only the background shows there.
    const auto background = [this](const QString& id) {
        const QImage image = Grid()->viewport()->grab().toImage();
        const QRect cell = Grid()->visualItemRect(Row(id));
        const int x = Grid()->header()->sectionViewportPosition(CxTreeListColTaskName) + 300;
        return image.pixelColor(QPoint(x, cell.center().y()) * image.devicePixelRatio()).rgb();
    };
    const QPalette palette = Grid()->palette();
    const QRgb base = palette.color(QPalette::Base).rgb();
    const QRgb highlight = palette.color(QPalette::Active, QPalette::Highlight).rgb();
    const QRgb done = DoneRowColour(palette).rgb();
    ASSERT_NE(done, base);
    ASSERT_NE(done, highlight);

    EXPECT_EQ(background(Id(1)), base);
    EXPECT_EQ(background(Id(2)), done);
    ClickRow(Id(3));
    EXPECT_EQ(background(Id(3)), highlight);
    EXPECT_EQ(background(Id(1)), base);
    ClickRow(Id(4));
    EXPECT_EQ(background(Id(4)), done); // done replaces the selection colour
    EXPECT_EQ(background(Id(3)), base);
}

TEST_F(TaskListTest, TheFocusedRowIsWrittenInBlack)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("WWWWWWWWWWWWWWWWWWWW")));
    ShowForm();
    ClickRow(Id(1));
    const QImage image = Grid()->viewport()->grab().toImage();
    const QRect cell = Grid()->visualItemRect(Row(Id(1)));
    const int left = Grid()->header()->sectionViewportPosition(CxTreeListColTaskName);
    int darkest = 255 * 3;
    for (int x = left; x < left + 150; ++x)
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            const QColor c = image.pixelColor(QPoint(x, y) * image.devicePixelRatio());
            darkest = std::min(darkest, c.red() + c.green() + c.blue());
        }
    EXPECT_LT(darkest, 60); // black text on the caption colour, not the palette's light text
}

} // namespace
