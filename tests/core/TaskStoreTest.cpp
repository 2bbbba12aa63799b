// Reading and writing task records: what each task operation writes, and what a stored text reads as.
#include "Errors.h"
#include "StoreTestSupport.h"
#include "uXMLOperate.h"

namespace {

using CaseNames::PrintTo;

const QString kId = QStringLiteral("task20260105080000000");
const QString kEarlier = QStringLiteral("task20260105070000000");

TTaskInfo WithReminder()
{
    TTaskInfo t = MakeTask(kId, QStringLiteral("Dentist"), DefaultCategoryID);
    t.Reminder = {true, DateToTDateTime(QDate(2009, 1, 29)), TimeToTDateTime(QTime(9, 5))};
    return t;
}

TEST(AddTask, AppendsTheTwelveChildrenInOrderWithTheReminderTextsEvenWhenOff)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.AddTask(MakeTask(kEarlier, QStringLiteral("Earlier"), DefaultCategoryID));
    // As the task editor builds a new task: no due date, reminder off with 0 in both fields.
    TTaskInfo t = MakeTask(kId, QStringLiteral("Call Ann"), DefaultCategoryID);
    t.TaskContent = QStringLiteral("first line\r\nsecond line");
    t.TaskDueDate = QString();
    store.AddTask(t);

    const QByteArray file = folder.Read(kTaskFile);
    const ElementTexts expected{{"taskname", "Call Ann"},
                                {"taskcategoryid", DefaultCategoryID},
                                {"taskpriorityid", "1"},
                                {"taskcontent", "first line\r\nsecond line"},
                                {"taskduedate", ""},
                                {"taskreminderstate", "false"},
                                {"taskremindertime", "12:00:00 AM"},
                                {"taskreminderdate", "12/30/1899"},
                                {"taskstate", "false"},
                                {"markformstate", "false"},
                                {"markformtop", "0"},
                                {"markformleft", "0"}};
    EXPECT_EQ(ChildTexts(file, kId), expected);
    EXPECT_LT(file.indexOf(kEarlier.toUtf8()), file.indexOf(kId.toUtf8()));

    TTaskInfo read;
    store.GetTask(kId, read);
    TTaskInfo wanted = t;
    wanted.TaskDueDate = QStringLiteral("none");
    EXPECT_EQ(read, wanted);
}

TEST(UpdateTask, AnUnknownIdentifierAppendsTheTaskAsAddTaskDoesWithItsDoneStateAsGiven)
{
    // As the task editor builds a record in edit mode: the done state is left empty.
    TTaskInfo t = WithReminder();
    t.TaskState = QString();
    t.MarkFormState = true;
    t.MarkFormTop = 40;
    t.MarkFormLeft = 50;
    TestFolder added, updated;
    for (const TestFolder* folder : {&added, &updated}) {
        TXMLOperation store(folder->Path(), UnitedStates());
        store.AddTask(MakeTask(kEarlier, QStringLiteral("Earlier"), DefaultCategoryID));
        if (folder == &added)
            store.AddTask(t);
        else
            store.UpdateTask(t);
    }
    EXPECT_EQ(updated.Read(kTaskFile), added.Read(kTaskFile));
    TXMLOperation store(updated.Path(), UnitedStates());
    TTaskInfoList list;
    store.GetTaskList(list);
    ASSERT_EQ(Ids(list), QStringList({kEarlier, kId}));
    EXPECT_EQ(list[1], t);
}

TEST(UpdateTask, EditingADoneTaskLeavesItDone)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.AddTask(WithReminder());
    store.SetTaskState(kId, QStringLiteral("true"));
    TTaskInfo edited = WithReminder();
    edited.TaskName = QStringLiteral("Dentist at ten");
    edited.TaskState = QStringLiteral("false");
    store.UpdateTask(edited);

    EXPECT_EQ(ChildText(folder.Read(kTaskFile), kId, QStringLiteral("taskstate")), QStringLiteral("true"));
    TTaskInfo read;
    store.GetTask(kId, read);
    EXPECT_EQ(read.TaskName, QStringLiteral("Dentist at ten"));
    EXPECT_EQ(read.TaskState, QStringLiteral("true"));
}

struct ReminderOffCase
{
    const char* Name;
    void (*Run)(TXMLOperation& store, TReminderInfo off);
};

class ReminderOffTest : public ::testing::TestWithParam<ReminderOffCase>
{
};

TEST_P(ReminderOffTest, WritesOnlyTheStateAndKeepsTheOldTimeAndDateTexts)
{
    TestFolder folder;
    {
        TXMLOperation store(folder.Path(), UnitedStates());
        store.AddTask(WithReminder());
        ElementTexts expected = ChildTexts(folder.Read(kTaskFile), kId);
        // Off, with a date and time that must not reach the file.
        GetParam().Run(store, {false, 50000.0, 0.9});
        for (auto& [name, text] : expected)
            if (name == QLatin1String("taskreminderstate"))
                text = QStringLiteral("false");
        EXPECT_EQ(ChildTexts(folder.Read(kTaskFile), kId), expected);
        EXPECT_EQ(ChildText(folder.Read(kTaskFile), kId, QStringLiteral("taskremindertime")),
                  QStringLiteral("9:05:00 AM"));
    }
    TXMLOperation reopened(folder.Path(), UnitedStates());
    TTaskInfo read;
    reopened.GetTask(kId, read);
    EXPECT_EQ(read.Reminder, (TReminderInfo{false, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Operations, ReminderOffTest,
                         ::testing::Values(ReminderOffCase{"UpdateTask",
                                                           [](TXMLOperation& store, TReminderInfo off) {
                                                               TTaskInfo t = WithReminder();
                                                               t.Reminder = off;
                                                               store.UpdateTask(t);
                                                           }},
                                           ReminderOffCase{"SetTaskReminder",
                                                           [](TXMLOperation& store, TReminderInfo off) {
                                                               store.SetTaskReminder(kId, off);
                                                           }}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DesktopNote, AClosedNoteReadsAsUnplacedAndAnUpdateWritesThat)
{
    TestFolder folder;
    folder.Write(kTaskFile, TaskFileOf({TaskElement(kId, {{"markformstate", "false"}})}));
    TXMLOperation store(folder.Path(), UnitedStates());
    TTaskInfo t;
    store.GetTask(kId, t);
    EXPECT_FALSE(t.MarkFormState);
    EXPECT_EQ(t.MarkFormTop, 0);
    EXPECT_EQ(t.MarkFormLeft, 0);
    store.UpdateTask(t);
    const QByteArray file = folder.Read(kTaskFile);
    EXPECT_EQ(ChildText(file, kId, QStringLiteral("markformtop")), QStringLiteral("0"));
    EXPECT_EQ(ChildText(file, kId, QStringLiteral("markformleft")), QStringLiteral("0"));
}

struct NoteCase
{
    const char* Name;
    bool Open;
};

class UpdateMarkFormTest : public ::testing::TestWithParam<NoteCase>
{
};

TEST_P(UpdateMarkFormTest, WritesStateAndPlaceAndTellsWhenTheNoteCloses)
{
    const NoteCase& c = GetParam();
    TestFolder folder;
    QStringList closed;
    {
        TXMLOperation store(folder.Path(), UnitedStates());
        store.SetNoteClosedHandler([&closed](const QString& id) { closed.append(id); });
        store.AddTask(WithReminder());
        TTaskInfo note = WithReminder();
        note.TaskName = QStringLiteral("not written by UpdateMarkForm");
        note.MarkFormState = c.Open;
        note.MarkFormTop = -30;
        note.MarkFormLeft = 640;
        store.UpdateMarkForm(note);
        const QByteArray file = folder.Read(kTaskFile);
        EXPECT_EQ(ChildText(file, kId, QStringLiteral("markformstate")), BoolToStr(c.Open));
        EXPECT_EQ(ChildText(file, kId, QStringLiteral("markformtop")), QStringLiteral("-30"));
        EXPECT_EQ(ChildText(file, kId, QStringLiteral("markformleft")), QStringLiteral("640"));
        EXPECT_EQ(ChildText(file, kId, QStringLiteral("taskname")), QStringLiteral("Dentist"));
    }
    EXPECT_EQ(closed, c.Open ? QStringList() : QStringList{kId});
    TXMLOperation reopened(folder.Path(), UnitedStates());
    TTaskInfo read;
    reopened.GetTask(kId, read);
    EXPECT_EQ(read.MarkFormState, c.Open);
    EXPECT_EQ(read.MarkFormTop, c.Open ? -30 : 0);
}

INSTANTIATE_TEST_SUITE_P(States, UpdateMarkFormTest,
                         ::testing::Values(NoteCase{"Open", true}, NoteCase{"Closed", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(MissingRecord, ReadingAnUnknownIdentifierLeavesTheCallersRecordAsItWas)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    store.AddTask(WithReminder());
    TTaskInfo task = MakeTask(QStringLiteral("caller's own"), QStringLiteral("kept"), QStringLiteral("x"));
    const TTaskInfo taskBefore = task;
    store.GetTask(QStringLiteral("task20991231235959999"), task);
    EXPECT_EQ(task, taskBefore);
    TCategoryInfo category = MakeCategory(QStringLiteral("caller's own"), QStringLiteral("kept"), 9);
    const TCategoryInfo categoryBefore = category;
    store.GetCategory(QStringLiteral("category20991231235959999"), category);
    EXPECT_EQ(category, categoryBefore);
}

// What the text of a hand-edited task element reads as.
struct StoredTextCase
{
    const char* Name;
    ChildChanges Changes;
    void (*Check)(const TTaskInfo& read);
};

class StoredTextTest : public ::testing::TestWithParam<StoredTextCase>
{
};

TEST_P(StoredTextTest, ReadsAs)
{
    TestFolder folder;
    folder.Write(kTaskFile, TaskFileOf({TaskElement(kId, GetParam().Changes)}));
    TXMLOperation store(folder.Path(), UnitedStates());
    TTaskInfo read;
    store.GetTask(kId, read);
    EXPECT_EQ(read.ID, kId);
    GetParam().Check(read);
}

void NoReminder(const TTaskInfo& t)
{
    EXPECT_EQ(t.Reminder, (TReminderInfo{false, 0, 0}));
}

void NoNote(const TTaskInfo& t)
{
    EXPECT_FALSE(t.MarkFormState);
    EXPECT_EQ(t.MarkFormTop, 0);
    EXPECT_EQ(t.MarkFormLeft, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredTextTest,
    ::testing::Values(
        StoredTextCase{"Plain",
                       {},
                       [](const TTaskInfo& t) {
                           EXPECT_EQ(t.TaskName, QStringLiteral("Stored"));
                           EXPECT_EQ(t.TaskDueDate, QStringLiteral("1/29/2009"));
                           EXPECT_EQ(t.Reminder, (TReminderInfo{true, DateToTDateTime(QDate(2009, 1, 29)),
                                                                TimeToTDateTime(QTime(9, 5))}));
                           EXPECT_EQ(t.MarkFormTop, 120);
                           EXPECT_EQ(t.MarkFormLeft, 300);
                       }},
        StoredTextCase{"EmptyDueDateIsNone",
                       {{"taskduedate", ""}},
                       [](const TTaskInfo& t) { EXPECT_EQ(t.TaskDueDate, QStringLiteral("none")); }},
        StoredTextCase{"NoneDueDateIsNone",
                       {{"taskduedate", "none"}},
                       [](const TTaskInfo& t) { EXPECT_EQ(t.TaskDueDate, QStringLiteral("none")); }},
        StoredTextCase{"DueDateIsNotConverted",
                       {{"taskduedate", "someday"}},
                       [](const TTaskInfo& t) { EXPECT_EQ(t.TaskDueDate, QStringLiteral("someday")); }},
        StoredTextCase{"ReminderCapitalTrueIsOff", {{"taskreminderstate", "True"}}, NoReminder},
        StoredTextCase{"ReminderOneIsOff", {{"taskreminderstate", "1"}}, NoReminder},
        StoredTextCase{
            "ReminderOffSkipsUnreadableTexts",
            {{"taskreminderstate", "false"}, {"taskreminderdate", "soon"}, {"taskremindertime", "x"}},
            NoReminder},
        StoredTextCase{"NoteCapitalTrueIsOff", {{"markformstate", "True"}}, NoNote},
        StoredTextCase{"NoteOffSkipsUnreadableNumbers",
                       {{"markformstate", "false"}, {"markformtop", "top"}, {"markformleft", ""}},
                       NoNote},
        StoredTextCase{"NegativePlace",
                       {{"markformtop", "-20"}, {"markformleft", "1500"}},
                       [](const TTaskInfo& t) {
                           EXPECT_EQ(t.MarkFormTop, -20);
                           EXPECT_EQ(t.MarkFormLeft, 1500);
                       }},
        StoredTextCase{"DoneStateIsKeptAsText",
                       {{"taskstate", ""}},
                       [](const TTaskInfo& t) { EXPECT_EQ(t.TaskState, QString()); }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(StoredText, ChildrenAreFoundByNameInAnyOrderAndTheFirstOfANameCounts)
{
    TestFolder folder;
    folder.Write(kTaskFile,
                 TaskFileOf({"<" + kId.toUtf8() +
                             "><markformleft>7</markformleft><markformtop>5</markformtop>"
                             "<markformstate>true</markformstate><taskstate>true</taskstate>"
                             "<taskname>Backwards</taskname><taskname>Second name</taskname>"
                             "<taskreminderdate>1/29/2009</taskreminderdate>"
                             "<taskremindertime>9:05:00 AM</taskremindertime>"
                             "<taskreminderstate>true</taskreminderstate><taskpriorityid>2</taskpriorityid>"
                             "<taskcategoryid>category20081124202715129</taskcategoryid></" +
                             kId.toUtf8() + ">"}));
    TXMLOperation store(folder.Path(), UnitedStates());
    TTaskInfo read;
    store.GetTask(kId, read);
    TTaskInfo expected = MakeTask(kId, QStringLiteral("Backwards"), DefaultCategoryID);
    expected.TaskPriorityID = QStringLiteral("2");
    expected.TaskContent = QString(); // no such child
    expected.TaskDueDate = QStringLiteral("none");
    expected.TaskState = QStringLiteral("true");
    expected.Reminder = {true, DateToTDateTime(QDate(2009, 1, 29)), TimeToTDateTime(QTime(9, 5))};
    expected.MarkFormState = true;
    expected.MarkFormTop = 5;
    expected.MarkFormLeft = 7;
    EXPECT_EQ(read, expected);
}

struct BadIdCase
{
    const char* Name;
    const char* Id;
    bool Category;
};

class BadIdentifierTest : public ::testing::TestWithParam<BadIdCase>
{
};

TEST_P(BadIdentifierTest, IsRefusedBeforeAnythingChanges)
{
    const BadIdCase& c = GetParam();
    TestFolder folder;
    TXMLOperation store(folder.Path(), UnitedStates());
    const QHash<QString, FileStamp> before = StampDataFiles(folder);
    const QString id = QString::fromUtf8(c.Id);
    try {
        if (c.Category)
            store.UpdateCategory(MakeCategory(id, QStringLiteral("Bad"), 4));
        else
            store.UpdateTask(MakeTask(id, QStringLiteral("Bad"), DefaultCategoryID));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid identifier").arg(id));
    }
    for (const QString& name : kDataFiles)
        EXPECT_TRUE(FileStamp::Of(folder, name) == before.value(name)) << name.toStdString();
    TTaskInfoList tasks;
    store.GetTaskList(tasks);
    EXPECT_TRUE(tasks.isEmpty());
    Tcategorylist categories;
    store.GetCategoryList(categories);
    EXPECT_EQ(categories.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadIdentifierTest,
                         ::testing::Values(BadIdCase{"EmptyTask", "", false},
                                           BadIdCase{"DigitFirst", "1task", false},
                                           BadIdCase{"Blank", "task 1", false},
                                           BadIdCase{"Markup", "task<b>", false},
                                           BadIdCase{"EmptyCategory", "", true},
                                           BadIdCase{"CategoryWithSlash", "category/1", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
