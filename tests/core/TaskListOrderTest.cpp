// The order, done placement and filter of the task list, and the appearance arithmetic.
#include "TaskListOrder.h"
#include "WindowAppearanceRule.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

TTaskInfo Task(const QString& id, const QString& priority = QStringLiteral("1"), const QString& name = QString(),
               const QString& state = QStringLiteral("false"))
{
    TTaskInfo task;
    task.ID = id;
    task.TaskPriorityID = priority;
    task.TaskName = name;
    task.TaskState = state;
    task.TaskDueDate = QStringLiteral("none");
    return task;
}

QStringList Ids(const TTaskInfoList& list)
{
    QStringList ids;
    for (const TTaskInfo& task : list)
        ids << task.ID;
    return ids;
}

TSettingInfo SortBy(const QString& column)
{
    TSettingInfo setting;
    setting.SortByColumn = column;
    return setting;
}

// The exchange procedure written out plainly on the keys, to compare the real one with.
QStringList PlainExchangeSort(TTaskInfoList list, const QString& column)
{
    const auto key = [&](const TTaskInfo& t) { return TaskSortKey(t, column); };
    for (qsizetype i = 0; i < list.size(); ++i)
        for (qsizetype j = i; j < list.size(); ++j)
            if (key(list[j]) < key(list[i]))
                std::swap(list[i], list[j]);
    return Ids(list);
}

TEST(TaskSortKey, EachColumnHasItsKey)
{
    TTaskInfo task = Task(QStringLiteral("t"), QStringLiteral("2"), QStringLiteral("Zebra crossing"));
    task.TaskCategoryID = QStringLiteral("category20240101000000000");
    task.TaskDueDate = QStringLiteral("12/1/2008");
    struct Case
    {
        const char* column;
        QByteArray key;
        bool known;
    };
    const Case cases[] = {
        {"priority", "2", true},
        {"category", "category20240101000000000", true},
        {"due date", "12/1/2008", true},
        {"task name", "z", true},
        {"default", "", false},
        {"name", "", false},
    };
    for (const Case& c : cases) {
        bool known = !c.known;
        EXPECT_EQ(TaskSortKey(task, QString::fromLatin1(c.column), &known), c.key) << c.column;
        EXPECT_EQ(known, c.known) << c.column;
    }
}

TEST(TaskSortKey, TheNameKeyIsItsFirstCharacterWithOnlyAToZLowered)
{
    struct Case
    {
        QString name;
        QByteArray key;
    };
    const Case cases[] = {
        {QStringLiteral("apple"), "a"},
        {QStringLiteral("Avocado"), "a"},
        {QString(), ""},
        {QStringLiteral("1st"), "1"},
        {QStringLiteral("Äpfel"), QStringLiteral("Ä").toUtf8()}, // not lowered
        {QStringLiteral("😀 party"), QStringLiteral("😀").toUtf8()}, // a whole character, not half of one
        {QStringLiteral("[x]"), "["},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TaskSortKey(Task(QStringLiteral("t"), QStringLiteral("1"), c.name), QStringLiteral("task name")), c.key)
            << c.name.toStdString();
}

TEST(SortTaskList, TheWorkedExamplesOfTheExchangeProcedure)
{
    struct Case
    {
        QStringList priorities;
        QStringList order;
    };
    const Case cases[] = {
        {{"1", "1", "0"}, {"T3", "T2", "T1"}},
        {{"1", "0", "1", "0", "2"}, {"T2", "T4", "T3", "T1", "T5"}},
        {{"0", "1", "2"}, {"T1", "T2", "T3"}},
        {{"1", "1", "1"}, {"T1", "T2", "T3"}},
    };
    for (const Case& c : cases) {
        TTaskInfoList list;
        for (int i = 0; i < c.priorities.size(); ++i)
            list << Task(QStringLiteral("T%1").arg(i + 1), c.priorities[i]);
        SortTaskList(list, SortBy(QStringLiteral("priority")));
        EXPECT_EQ(Ids(list), c.order) << c.priorities.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(SortTaskList, TheColumnIsReadInAnyLetterCaseAndUnknownColumnsKeepTheOrder)
{
    const TTaskInfoList list = {Task(QStringLiteral("T1"), QStringLiteral("2")), Task(QStringLiteral("T2"), QStringLiteral("0")),
                                Task(QStringLiteral("T3"), QStringLiteral("1"))};
    struct Case
    {
        const char* column;
        QStringList order;
    };
    const Case cases[] = {
        {"priority", {"T2", "T3", "T1"}}, {"Priority", {"T2", "T3", "T1"}}, {"PRIORITY", {"T2", "T3", "T1"}},
        {"default", {"T1", "T2", "T3"}},  {"", {"T1", "T2", "T3"}},         {"priority ", {"T1", "T2", "T3"}},
    };
    for (const Case& c : cases) {
        TTaskInfoList sorted = list;
        SortTaskList(sorted, SortBy(QString::fromLatin1(c.column)));
        EXPECT_EQ(Ids(sorted), c.order) << c.column;
    }
}

TEST(SortTaskList, KeysCompareAsBytesNotAsNumbersOrDates)
{
    struct Case
    {
        const char* column;
        QStringList values; // in store order, tasks T1, T2, ...
        QStringList order;
    };
    const Case cases[] = {
        // Due dates are texts: 12/1/2008 before 2/1/2008, and "none" after every digit.
        {"due date", {"2/1/2008", "none", "12/1/2008"}, {"T3", "T1", "T2"}},
        // A key that starts a longer one comes first; "10" before "9".
        {"priority", {"9", "10", "1"}, {"T3", "T2", "T1"}},
        // Bytes are unsigned: a non-ASCII first character sorts after z.
        {"task name", {"élan", "zoo", "Apple"}, {"T3", "T2", "T1"}},
        // Only the first character counts.
        {"task name", {"bz", "ba", "Bb"}, {"T1", "T2", "T3"}},
    };
    for (const Case& c : cases) {
        TTaskInfoList list;
        for (int i = 0; i < c.values.size(); ++i) {
            TTaskInfo task = Task(QStringLiteral("T%1").arg(i + 1));
            if (QByteArray(c.column) == "due date")
                task.TaskDueDate = c.values[i];
            else if (QByteArray(c.column) == "priority")
                task.TaskPriorityID = c.values[i];
            else
                task.TaskName = c.values[i];
            list << task;
        }
        SortTaskList(list, SortBy(QString::fromLatin1(c.column)));
        EXPECT_EQ(Ids(list), c.order) << c.column << " " << c.values.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(SortTaskList, GroupsByCategoryIdentifierNotByName)
{
    TTaskInfoList list;
    const char* categories[] = {"category20240101000000000", "category20081124202715129", "category20240101000000000",
                                "category20081124202715129"};
    for (int i = 0; i < 4; ++i) {
        list << Task(QStringLiteral("T%1").arg(i + 1));
        list.last().TaskCategoryID = QString::fromLatin1(categories[i]);
    }
    SortTaskList(list, SortBy(QStringLiteral("category")));
    EXPECT_EQ(Ids(list), QStringList({"T2", "T4", "T3", "T1"}));
}

TEST(SortTaskList, MatchesThePlainProcedureOnManyEqualKeys)
{
    QRandomGenerator random(20240315);
    for (const QString& column : {QStringLiteral("priority"), QStringLiteral("task name")}) {
        for (int round = 0; round < 20; ++round) {
            TTaskInfoList list;
            const int n = int(random.bounded(1, 60));
            for (int i = 0; i < n; ++i)
                list << Task(QStringLiteral("T%1").arg(i), QString::number(random.bounded(4)),
                             QString(QChar(u"aBbAc"[random.bounded(5)])));
            TTaskInfoList sorted = list;
            SortTaskList(sorted, SortBy(column));
            ASSERT_EQ(Ids(sorted), PlainExchangeSort(list, column)) << column.toStdString() << " round " << round;
        }
    }
    TTaskInfoList empty;
    SortTaskList(empty, SortBy(QStringLiteral("priority")));
    EXPECT_TRUE(empty.isEmpty());
}

TEST(SortTaskList, KeepsEveryFieldOfTheTasks)
{
    TTaskInfo full = Task(QStringLiteral("T2"), QStringLiteral("0"), QStringLiteral("full"), QStringLiteral("true"));
    full.TaskContent = QStringLiteral("content");
    full.Reminder.State = true;
    full.MarkFormTop = 12;
    TTaskInfoList list = {Task(QStringLiteral("T1"), QStringLiteral("1")), full};
    SortTaskList(list, SortBy(QStringLiteral("priority")));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].TaskContent, QStringLiteral("content"));
    EXPECT_TRUE(list[0].Reminder.State);
    EXPECT_EQ(list[0].MarkFormTop, 12);
}

TEST(PutDoneTasksLast, OnlyTheExactTextTrueIsDoneAndEachGroupKeepsItsOrder)
{
    const TTaskInfoList list = {
        Task(QStringLiteral("T1"), QStringLiteral("1"), QString(), QStringLiteral("true")),
        Task(QStringLiteral("T2"), QStringLiteral("1"), QString(), QStringLiteral("false")),
        Task(QStringLiteral("T3"), QStringLiteral("1"), QString(), QStringLiteral("True")),
        Task(QStringLiteral("T4"), QStringLiteral("1"), QString(), QStringLiteral("true")),
        Task(QStringLiteral("T5"), QStringLiteral("1"), QString(), QString()),
        Task(QStringLiteral("T6"), QStringLiteral("1"), QString(), QStringLiteral("1")),
    };
    EXPECT_EQ(Ids(PutDoneTasksLast(list)), QStringList({"T2", "T3", "T5", "T6", "T1", "T4"}));
    EXPECT_TRUE(PutDoneTasksLast({}).isEmpty());
}

TEST(DisplayFilter, ShowsAllOneCategoryOrAllWhenItNamesNoCategory)
{
    TTaskInfo task = Task(QStringLiteral("T1"));
    task.TaskCategoryID = QStringLiteral("category20240101000000000");
    struct Case
    {
        const char* filter;
        bool namesCategory;
        bool shown;
    };
    const Case cases[] = {
        {"all", false, true},
        {"category20240101000000000", true, true},
        {"category20081124202715129", true, false},
        {"CATEGORY20240101000000000", false, true}, // names no category, so everything shows
        {"category19990101000000000", false, true},
        {"", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayFilterShowsTask(QString::fromLatin1(c.filter), c.namesCategory, task), c.shown) << c.filter;
}

TEST(TaskStateTicked, UntickedOnlyForTheExactTextFalse)
{
    EXPECT_FALSE(TaskStateTicked(QStringLiteral("false")));
    for (const char* state : {"true", "", "False", "FALSE", "0", " false"})
        EXPECT_TRUE(TaskStateTicked(QString::fromLatin1(state))) << state;
}

TEST(WindowAlpha, TheLowEightBitsWhenTransparencyIsOnElseOpaque)
{
    struct Case
    {
        bool on;
        qint32 value;
        int alpha;
    };
    const Case cases[] = {{true, 220, 220}, {true, 0, 0},     {true, 255, 255}, {true, 300, 44},
                          {true, 256, 0},   {true, -1, 255},  {false, 220, 255}, {false, 0, 255},
                          {false, 300, 255}};
    for (const Case& c : cases) {
        TSettingInfo setting;
        setting.AlphaBlendState = c.on;
        setting.AlphaBlendValue = c.value;
        EXPECT_EQ(WindowAlpha(setting), c.alpha) << c.on << " " << c.value;
    }
}

TEST(BottomRightPlace, TouchesTheBottomRightCornerOfTheWorkArea)
{
    struct Case
    {
        QRect workArea;
        QSize frame;
        QPoint place;
    };
    const Case cases[] = {
        {QRect(0, 0, 1024, 738), QSize(547, 407), QPoint(477, 331)},  // 30-pixel task bar at the bottom
        {QRect(0, 30, 1024, 738), QSize(547, 407), QPoint(477, 361)}, // at the top
        {QRect(60, 0, 964, 768), QSize(547, 407), QPoint(477, 361)},  // at the left
        {QRect(1920, 0, 1280, 1024), QSize(547, 407), QPoint(2653, 617)}, // a second screen on the right
        {QRect(0, 0, 500, 300), QSize(547, 407), QPoint(-47, -107)},  // larger than the work area
    };
    for (const Case& c : cases) {
        const QPoint place = BottomRightPlace(c.workArea, c.frame);
        EXPECT_EQ(place, c.place);
        EXPECT_EQ(QRect(place, c.frame).bottomRight(), c.workArea.bottomRight());
    }
}

} // namespace
