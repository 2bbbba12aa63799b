// The task editor, opened through its openers and driven by keyboard and mouse.
#include "BaseFunc.h"
#include "Errors.h"
#include "CategoryAddEditForm.h"
#include "CategoryForm.h"
#include "ImageList.h"
#include "TaskAddEditForm.h"
#include "TaskAddEditFormFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimeEdit>

namespace {

using Editor = TFrmTaskAddEditForm;

class TaskEditorTest : public DialogTest
{
protected:
    // Opens the editor in add mode and runs `act` on it.
    bool Add(std::function<void(Editor*)> act)
    {
        auto opened = WhenDialogOpens<Editor>(std::move(act));
        OpenAddTask();
        return *opened;
    }
    bool Edit(const QString& id, std::function<void(Editor*)> act)
    {
        auto opened = WhenDialogOpens<Editor>(std::move(act));
        OpenEditTask(nullptr, id);
        return *opened;
    }
    static void TypeName(Editor* form, const QString& text)
    {
        form->EdtTaskName->setFocus();
        QTest::keyClicks(form->EdtTaskName, text);
    }
    static void PressOk(Editor* form) { ClickCentre(form->BitBtn1); }

    TTaskInfo OnlyTask() const
    {
        const TTaskInfoList tasks = Tasks();
        EXPECT_EQ(tasks.size(), 1);
        return tasks.value(0);
    }
};

TEST_F(TaskEditorTest, ANewTaskStartsEmptyWithTheFirstCategoryNormalPriorityAndGreyedPickers)
{
    StoreCategory(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    ASSERT_TRUE(Add([](Editor* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Task"));
        EXPECT_EQ(form->size(), QSize(428, 336));
        EXPECT_TRUE(form->EdtTaskName->text().isEmpty());
        EXPECT_TRUE(form->meoTaskContent->toPlainText().isEmpty());
        EXPECT_EQ(form->EdtTaskName->maxLength(), 200);

        ASSERT_EQ(form->CmbCategory->count(), 3);
        EXPECT_EQ(form->CmbCategory->currentIndex(), 0);
        EXPECT_EQ(form->CmbCategory->itemText(0), QStringLiteral("Personal"));
        EXPECT_EQ(form->CmbCategory->itemData(0).toString(), DefaultCategoryID);
        EXPECT_EQ(form->CmbCategory->itemText(1), QStringLiteral("Work"));
        EXPECT_EQ(form->CmbCategory->itemText(2), QStringLiteral("Edit Categories"));
        EXPECT_EQ(form->CmbCategory->itemData(2).toString(), QStringLiteral("edit"));
        EXPECT_FALSE(form->CmbCategory->itemIcon(2).isNull());

        ASSERT_EQ(form->CmbPriority->count(), 3);
        const QStringList priorities{QStringLiteral("High"), QStringLiteral("Normal"), QStringLiteral("Low")};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(form->CmbPriority->itemText(i), priorities[i]);
            EXPECT_EQ(form->CmbPriority->itemData(i).toInt(), i);
            EXPECT_FALSE(form->CmbPriority->itemIcon(i).isNull());
        }
        EXPECT_EQ(form->CmbPriority->currentText(), QStringLiteral("Normal"));

        for (QCheckBox* box : {form->ChkBoxDueDate, form->ChkBoxReminder, form->ChkMarkOnDesktop})
            EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
        EXPECT_EQ(form->ChkMarkOnDesktop->text(), QStringLiteral("Display On Desktop"));
        EXPECT_EQ(form->GroupBox1->title(), QStringLiteral("Reminder"));
        EXPECT_FALSE(form->TpkDueDate->isEnabled());
        EXPECT_FALSE(form->TpkReminderTime->isEnabled());
        EXPECT_FALSE(form->TpkReminderDate->isEnabled());
        EXPECT_EQ(form->TpkDueDate->date(), FixedNow().date());
        EXPECT_EQ(form->TpkReminderDate->date(), FixedNow().date());
        EXPECT_EQ(form->TpkReminderTime->time().toString(QStringLiteral("HH:mm:ss")), QStringLiteral("09:30:45"));
        EXPECT_EQ(form->TpkReminderTime->displayFormat(), QStringLiteral("HH:mm:ss"));
        EXPECT_EQ(form->BitBtn1->text(), QStringLiteral("&Ok"));
        EXPECT_TRUE(form->BitBtn1->isDefault());
        EXPECT_EQ(form->BitBtn4->text(), QStringLiteral("&Cancel"));
        ExpectNothingClipped(form);
        ClickCentre(form->BitBtn4);
    }));
}

TEST_F(TaskEditorTest, TheFocusMovesThroughTheControlsInTheOrderOfTheForm)
{
    ASSERT_TRUE(Add([](Editor* form) {
        const QList<QWidget*> expected{form->EdtTaskName,    form->CmbCategory,     form->meoTaskContent,
                                       form->TpkDueDate,     form->CmbPriority,     form->ChkBoxDueDate,
                                       form->ChkBoxReminder, form->TpkReminderTime, form->TpkReminderDate,
                                       form->BitBtn1,        form->BitBtn4,         form->ChkMarkOnDesktop};
        QList<QWidget*> chain;
        QWidget* w = form->EdtTaskName;
        do {
            if (expected.contains(w) && !chain.contains(w))
                chain.append(w);
            w = w->nextInFocusChain();
        } while (w != form->EdtTaskName);
        EXPECT_EQ(chain, expected);

        // With the pickers greyed, Tab passes them over.
        form->EdtTaskName->setFocus();
        QStringList visited;
        for (int i = 0; i < 9; ++i) {
            QWidget* focused = QApplication::focusWidget();
            ASSERT_NE(focused, nullptr);
            visited.append(focused->objectName());
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        EXPECT_EQ(visited, QStringList({"EdtTaskName", "CmbCategory", "meoTaskContent", "CmbPriority",
                                        "ChkBoxDueDate", "ChkBoxReminder", "BitBtn1", "BitBtn4",
                                        "ChkMarkOnDesktop"}));
        ClickCentre(form->BitBtn4);
    }));
}

TEST_F(TaskEditorTest, AddWithOnlyANameTypedStoresTheDefaultsFieldByField)
{
    ASSERT_TRUE(Add([](Editor* form) {
        TypeName(form, QStringLiteral("Buy milk"));
        QTest::keyClick(form->EdtTaskName, Qt::Key_Return); // the default button
    }));
    const TTaskInfo task = OnlyTask();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^task\\d{17}$")).match(task.ID).hasMatch()) << task.ID.toStdString();
    EXPECT_EQ(task.ID, QStringLiteral("task20240315093045123"));
    EXPECT_EQ(task.TaskName, QStringLiteral("Buy milk"));
    EXPECT_EQ(task.TaskCategoryID, DefaultCategoryID);
    EXPECT_EQ(task.TaskPriorityID, QStringLiteral("1"));
    EXPECT_EQ(task.TaskContent, QString());
    EXPECT_EQ(task.TaskDueDate, QStringLiteral("none"));
    EXPECT_FALSE(task.Reminder.State);
    EXPECT_FALSE(task.MarkFormState);
    EXPECT_EQ(task.TaskState, QStringLiteral("false"));

    const QHash<QString, QString> stored = StoredElements(TaskFileName, task.ID);
    EXPECT_EQ(stored.value(QStringLiteral("taskduedate"), QStringLiteral("?")), QString());
    EXPECT_EQ(stored.value(QStringLiteral("taskreminderstate")), QStringLiteral("false"));
    EXPECT_EQ(stored.value(QStringLiteral("markformstate")), QStringLiteral("false"));
    EXPECT_EQ(stored.value(QStringLiteral("markformtop")), QStringLiteral("0"));
    EXPECT_EQ(stored.value(QStringLiteral("markformleft")), QStringLiteral("0"));
    EXPECT_EQ(stored.value(QStringLiteral("taskstate")), QStringLiteral("false"));
}

TEST_F(TaskEditorTest, AnIdentifierInUseMovesOnByAMillisecond)
{
    StoreTask(QStringLiteral("task20240315093045123"), QStringLiteral("Earlier"));
    ASSERT_TRUE(Add([](Editor* form) {
        TypeName(form, QStringLiteral("Later"));
        PressOk(form);
    }));
    TTaskInfo later;
    XMLOperation->GetTask(QStringLiteral("task20240315093045124"), later);
    EXPECT_EQ(later.TaskName, QStringLiteral("Later"));
    EXPECT_EQ(Tasks().size(), 2);
}

TEST_F(TaskEditorTest, AnEmptyNameIsRefusedAndTheDialogKeepsEverythingTyped)
{
    const QByteArray before = TaskFile();
    MessageBoxAnswerer answers;
    ASSERT_TRUE(Add([](Editor* form) {
        form->meoTaskContent->setFocus();
        QTest::keyClicks(form->meoTaskContent, QStringLiteral("some notes"));
        PressOk(form);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->meoTaskContent->toPlainText(), QStringLiteral("some notes"));
        QTest::keyClick(form->EdtTaskName, Qt::Key_Return);
        EXPECT_TRUE(form->isVisible());
        ClickCentre(form->BitBtn4);
    }));
    EXPECT_EQ(answers.Texts, QStringList({"Please input the Task name.", "Please input the Task name."}));
    ASSERT_FALSE(answers.Buttons.isEmpty());
    EXPECT_EQ(answers.Buttons[0], QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(TaskFile(), before);
}

struct NameCase
{
    const char* Title;
    QString Typed;
    QString Stored;
};

class TaskNameTest : public TaskEditorTest, public ::testing::WithParamInterface<NameCase>
{
};

TEST_P(TaskNameTest, TheNameIsStoredAsTheNameBoxTookIt)
{
    const NameCase& c = GetParam();
    ASSERT_TRUE(Add([&c](Editor* form) {
        TypeName(form, c.Typed);
        EXPECT_EQ(form->EdtTaskName->text(), c.Stored);
        PressOk(form);
    }));
    EXPECT_EQ(OnlyTask().TaskName, c.Stored);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TaskNameTest,
    ::testing::Values(NameCase{"OnlyBlanks", QStringLiteral("   "), QStringLiteral("   ")},
                      NameCase{"BlanksAroundAreKept", QStringLiteral("  tea  "), QStringLiteral("  tea  ")},
                      NameCase{"TwoHundredCharacters", QString(200, QLatin1Char('x')), QString(200, QLatin1Char('x'))},
                      NameCase{"TheTwoHundredAndFirstIsRefused", QString(200, QLatin1Char('y')) + QLatin1Char('z'),
                               QString(200, QLatin1Char('y'))}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.Title); });

TEST_F(TaskEditorTest, EveryControlReachesItsFieldAndTheContentKeepsItsLineBreaks)
{
    StoreCategory(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    ASSERT_TRUE(Add([](Editor* form) {
        TypeName(form, QStringLiteral("Report"));
        form->CmbCategory->setFocus();
        QTest::keyClick(form->CmbCategory, Qt::Key_Down); // "Work"
        form->meoTaskContent->setFocus();
        QTest::keyClicks(form->meoTaskContent, QStringLiteral("first line"));
        QTest::keyClick(form->meoTaskContent, Qt::Key_Return); // a line break, not Ok
        QTest::keyClicks(form->meoTaskContent, QStringLiteral("second line"));
        EXPECT_TRUE(form->isVisible());
        form->CmbPriority->setFocus();
        QTest::keyClick(form->CmbPriority, Qt::Key_Up); // "High"

        ClickCentre(form->ChkBoxDueDate);
        EXPECT_TRUE(form->TpkDueDate->isEnabled());
        form->TpkDueDate->setDate(QDate(2024, 12, 24));

        ClickCentre(form->ChkBoxReminder);
        EXPECT_TRUE(form->TpkReminderTime->isEnabled());
        EXPECT_TRUE(form->TpkReminderDate->isEnabled());
        form->TpkReminderDate->setDate(QDate(2024, 12, 23));
        // Tab into the time picker selects its hours; each full section moves on to the next.
        form->ChkBoxReminder->setFocus();
        QTest::keyClick(form->ChkBoxReminder, Qt::Key_Tab);
        ASSERT_TRUE(form->TpkReminderTime->hasFocus());
        QTest::keyClicks(form->TpkReminderTime, QStringLiteral("180530"));
        EXPECT_EQ(form->TpkReminderTime->text(), QStringLiteral("18:05:30"));
        PressOk(form);
    }));
    const TTaskInfo task = OnlyTask();
    EXPECT_EQ(task.TaskName, QStringLiteral("Report"));
    EXPECT_EQ(task.TaskCategoryID, QStringLiteral("category20240101000000000"));
    EXPECT_EQ(task.TaskPriorityID, QStringLiteral("0"));
    EXPECT_EQ(task.TaskContent, QStringLiteral("first line\nsecond line"));
    EXPECT_EQ(task.TaskDueDate, QStringLiteral("12/24/2024"));
    EXPECT_TRUE(task.Reminder.State);
    EXPECT_EQ(TDateTimeToDate(task.Reminder.Date), QDate(2024, 12, 23));
    EXPECT_EQ(TDateTimeToTime(task.Reminder.Time), QTime(18, 5, 30));
    const QHash<QString, QString> stored = StoredElements(TaskFileName, task.ID);
    EXPECT_EQ(stored.value(QStringLiteral("taskreminderdate")), QStringLiteral("12/23/2024"));
    EXPECT_EQ(stored.value(QStringLiteral("taskremindertime")), QStringLiteral("6:05:30 PM"));
}

TEST_F(TaskEditorTest, TheDueDateIsWrittenAndReadInTheUsersShortDateFormat)
{
    OpenStore(GermanFormats());
    ASSERT_TRUE(Add([](Editor* form) {
        EXPECT_EQ(form->TpkDueDate->displayFormat(), QStringLiteral("dd.MM.yyyy"));
        TypeName(form, QStringLiteral("Steuer"));
        ClickCentre(form->ChkBoxDueDate);
        form->TpkDueDate->setDate(QDate(2024, 5, 31));
        PressOk(form);
    }));
    const TTaskInfo task = OnlyTask();
    EXPECT_EQ(task.TaskDueDate, QStringLiteral("31.05.2024"));
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        EXPECT_TRUE(form->ChkBoxDueDate->isChecked());
        EXPECT_EQ(form->TpkDueDate->date(), QDate(2024, 5, 31));
        ClickCentre(form->BitBtn4);
    }));
}

struct ReopenCase
{
    const char* Title;
    QString DueDate;  // as stored
    bool Reminder;
    QString Priority;
    bool OnDesktop;
};

class TaskReopenTest : public TaskEditorTest, public ::testing::WithParamInterface<ReopenCase>
{
};

TEST_P(TaskReopenTest, EditModeShowsTheStoredTask)
{
    const ReopenCase& c = GetParam();
    StoreCategory(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    TTaskInfo task;
    task.ID = QStringLiteral("task20240101120000000");
    task.TaskName = QStringLiteral("Dentist");
    task.TaskCategoryID = QStringLiteral("category20240101000000000");
    task.TaskPriorityID = c.Priority;
    task.TaskContent = QStringLiteral("Call first\nBring the card");
    task.TaskDueDate = c.DueDate;
    task.Reminder.State = c.Reminder;
    task.Reminder.Date = DateToTDateTime(QDate(2024, 4, 2));
    task.Reminder.Time = TimeToTDateTime(QTime(7, 45, 10));
    task.MarkFormState = c.OnDesktop;
    task.TaskState = QStringLiteral("false");
    XMLOperation->AddTask(task);
    const QByteArray before = TaskFile();

    ASSERT_TRUE(Edit(task.ID, [&c](Editor* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Task"));
        EXPECT_EQ(form->Mode, QStringLiteral("edit"));
        EXPECT_EQ(form->EditTaskId, QStringLiteral("task20240101120000000"));
        EXPECT_EQ(form->EdtTaskName->text(), QStringLiteral("Dentist"));
        EXPECT_EQ(form->meoTaskContent->toPlainText(), QStringLiteral("Call first\nBring the card"));
        EXPECT_EQ(form->CmbCategory->currentText(), QStringLiteral("Work"));
        EXPECT_EQ(form->CmbPriority->currentIndex(), c.Priority.toInt());

        const bool hasDue = !c.DueDate.isEmpty();
        EXPECT_EQ(form->ChkBoxDueDate->isChecked(), hasDue);
        EXPECT_EQ(form->TpkDueDate->isEnabled(), hasDue);
        EXPECT_EQ(form->TpkDueDate->date(), hasDue ? QDate(2024, 4, 3) : FixedNow().date());

        EXPECT_EQ(form->ChkBoxReminder->isChecked(), c.Reminder);
        EXPECT_EQ(form->TpkReminderTime->isEnabled(), c.Reminder);
        EXPECT_EQ(form->TpkReminderDate->isEnabled(), c.Reminder);
        EXPECT_EQ(form->TpkReminderTime->time(), c.Reminder ? QTime(7, 45, 10) : QTime(9, 30, 45, 123));
        EXPECT_EQ(form->TpkReminderDate->date(), c.Reminder ? QDate(2024, 4, 2) : FixedNow().date());
        EXPECT_EQ(form->ChkMarkOnDesktop->isChecked(), c.OnDesktop);

        // Cancel after changes writes nothing.
        TypeName(form, QStringLiteral(" changed"));
        ClickCentre(form->ChkBoxDueDate);
        ClickCentre(form->BitBtn4);
    }));
    EXPECT_EQ(TaskFile(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Tasks, TaskReopenTest,
    ::testing::Values(ReopenCase{"NoDueDateNoReminder", QString(), false, QStringLiteral("2"), false},
                      ReopenCase{"DueDateOnly", QStringLiteral("4/3/2024"), false, QStringLiteral("0"), false},
                      ReopenCase{"ReminderOnly", QString(), true, QStringLiteral("1"), false},
                      ReopenCase{"DueDateAndReminder", QStringLiteral("4/3/2024"), true, QStringLiteral("1"), false}),
    [](const ::testing::TestParamInfo<ReopenCase>& info) { return std::string(info.param.Title); });

TEST_F(TaskEditorTest, EditingKeepsTheIdentifierAndTheDoneState)
{
    TTaskInfo task = StoreTask(QStringLiteral("task20240101120000000"), QStringLiteral("Old name"));
    XMLOperation->SetTaskState(task.ID, QStringLiteral("true"));
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        form->EdtTaskName->selectAll();
        QTest::keyClicks(form->EdtTaskName, QStringLiteral("New name"));
        PressOk(form);
    }));
    const TTaskInfo stored = OnlyTask();
    EXPECT_EQ(stored.ID, task.ID);
    EXPECT_EQ(stored.TaskName, QStringLiteral("New name"));
    EXPECT_EQ(stored.TaskState, QStringLiteral("true"));
}

TEST_F(TaskEditorTest, SwitchingTheReminderOffStoresItOffAndGreysThePickers)
{
    TTaskInfo task;
    task.ID = QStringLiteral("task20240101120000000");
    task.TaskName = QStringLiteral("Call");
    task.TaskCategoryID = DefaultCategoryID;
    task.TaskPriorityID = QStringLiteral("1");
    task.Reminder = {true, DateToTDateTime(QDate(2024, 4, 2)), TimeToTDateTime(QTime(7, 45, 10))};
    task.TaskState = QStringLiteral("false");
    XMLOperation->AddTask(task);

    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        ClickCentre(form->ChkBoxReminder);
        EXPECT_FALSE(form->TpkReminderTime->isEnabled());
        EXPECT_FALSE(form->TpkReminderDate->isEnabled());
        // "Display On Desktop" runs the same rule: the reminder pickers stay as their box says.
        ClickCentre(form->ChkMarkOnDesktop);
        ClickCentre(form->ChkMarkOnDesktop);
        EXPECT_FALSE(form->TpkReminderTime->isEnabled());
        PressOk(form);
    }));
    const TTaskInfo stored = OnlyTask();
    EXPECT_FALSE(stored.Reminder.State);
    EXPECT_EQ(StoredElements(TaskFileName, task.ID).value(QStringLiteral("taskreminderstate")),
              QStringLiteral("false"));
}

TEST_F(TaskEditorTest, AStoredPriorityThatIsNoNumberKeepsTheEditorClosed)
{
    TTaskInfo task = StoreTask(QStringLiteral("task20240101120000000"), QStringLiteral("Broken"));
    task.TaskPriorityID = QStringLiteral("high");
    XMLOperation->UpdateTask(task);
    auto opened = WhenDialogOpens<Editor>([](Editor* form) { form->reject(); }, 300);
    EXPECT_THROW(OpenEditTask(nullptr, task.ID), EConvertError);
    EXPECT_FALSE(*opened);
}

TEST_F(TaskEditorTest, EachOpeningIsAFreshDialogThatIsGoneAfterwards)
{
    QPointer<Editor> first;
    ASSERT_TRUE(Add([&first](Editor* form) {
        first = form;
        TypeName(form, QStringLiteral("typed, then cancelled"));
        ClickCentre(form->ChkBoxDueDate);
        ClickCentre(form->BitBtn4);
    }));
    EXPECT_TRUE(first.isNull());
    ASSERT_TRUE(Add([](Editor* form) {
        EXPECT_TRUE(form->EdtTaskName->text().isEmpty());
        EXPECT_FALSE(form->ChkBoxDueDate->isChecked());
        QTest::keyClick(form, Qt::Key_Escape);
    }));
    EXPECT_TRUE(Tasks().isEmpty());
}

// "Edit Categories" at the end of the editor's combo opens the manager over the editor.
TEST_F(TaskEditorTest, EditCategoriesOpensTheManagerAndRefillsTheComboWithItsFirstEntrySelected)
{
    StoreCategory(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    StoreTask(QStringLiteral("task20240101120000000"), QStringLiteral("In work"),
              QStringLiteral("category20240101000000000"));
    ASSERT_TRUE(Edit(QStringLiteral("task20240101120000000"), [](Editor* form) {
        EXPECT_EQ(form->CmbCategory->currentText(), QStringLiteral("Work"));
        auto managerOpened = WhenDialogOpens<TFrmCategoryForm>([form](TFrmCategoryForm* manager) {
            EXPECT_EQ(manager->parentWidget(), form);
            auto editorOpened = WhenDialogOpens<TFrmCategoryAddEditForm>([manager](TFrmCategoryAddEditForm* editor) {
                // Three dialogs deep: task editor, manager, category editor.
                EXPECT_EQ(editor->parentWidget(), manager);
                QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Garden"));
                ClickCentre(editor->BitBtn1);
            });
            ClickCentre(manager->BitBtn1);
            EXPECT_TRUE(*editorOpened);
            ClickCentre(manager->BitBtn4);
        });
        form->CmbCategory->setFocus();
        QTest::keyClick(form->CmbCategory, Qt::Key_End); // picks "Edit Categories"
        EXPECT_TRUE(*managerOpened);
        EXPECT_EQ(form->CmbCategory->count(), 4);
        EXPECT_EQ(form->CmbCategory->itemText(2), QStringLiteral("Garden"));
        EXPECT_EQ(form->CmbCategory->currentIndex(), 0);
        EXPECT_EQ(form->CmbCategory->currentText(), QStringLiteral("Personal"));
        PressOk(form);
    }));
    TTaskInfo stored;
    XMLOperation->GetTask(QStringLiteral("task20240101120000000"), stored);
    EXPECT_EQ(stored.TaskCategoryID, DefaultCategoryID);
}

TEST_F(TaskEditorTest, ATaskWhoseCategoryWasDeletedMeanwhileIsAddedAnewAsNotDone)
{
    StoreCategory(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 9);
    StoreTask(QStringLiteral("task20240101120000000"), QStringLiteral("In work"),
              QStringLiteral("category20240101000000000"));
    XMLOperation->SetTaskState(QStringLiteral("task20240101120000000"), QStringLiteral("true"));
    MessageBoxAnswerer answers(QMessageBox::Yes);
    ASSERT_TRUE(Edit(QStringLiteral("task20240101120000000"), [this](Editor* form) {
        WhenDialogOpens<TFrmCategoryForm>([](TFrmCategoryForm* manager) {
            ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
            ClickCentre(manager->BitBtn3);
            ClickCentre(manager->BitBtn4);
        });
        form->CmbCategory->setFocus();
        QTest::keyClick(form->CmbCategory, Qt::Key_End);
        EXPECT_TRUE(Tasks().isEmpty()); // gone with its category
        PressOk(form);
    }));
    ASSERT_EQ(answers.Texts.size(), 1);
    const TTaskInfo stored = OnlyTask();
    EXPECT_EQ(stored.ID, QStringLiteral("task20240101120000000"));
    EXPECT_EQ(stored.TaskCategoryID, DefaultCategoryID);
    EXPECT_EQ(stored.TaskState, QStringLiteral("false"));
}

// ---- the desktop note and the reminder of the task --------------------------------------

TEST_F(TaskEditorTest, AddingWithDisplayOnDesktopShowsTheNoteAtItsDefaultPlaceAndStoresThatPlace)
{
    ASSERT_TRUE(Add([](Editor* form) {
        TypeName(form, QStringLiteral("On the desktop"));
        ClickCentre(form->ChkMarkOnDesktop);
        PressOk(form);
    }));
    const TTaskInfo task = OnlyTask();
    TFrmMarkInfoForm* note = NoteOf(task.ID);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->LabName->text(), QStringLiteral("On the desktop"));
    EXPECT_TRUE(task.MarkFormState);
    EXPECT_NE(task.MarkFormTop, 0);
    EXPECT_NE(task.MarkFormLeft, 0);
    EXPECT_EQ(task.MarkFormTop, note->y());
    EXPECT_EQ(task.MarkFormLeft, note->x());
    EXPECT_EQ(ReminderOf(task.ID), nullptr); // no reminder asked for
}

TEST_F(TaskEditorTest, AddingWithAReminderStartsTheTasksReminderWithTheRecordWritten)
{
    ASSERT_TRUE(Add([](Editor* form) {
        TypeName(form, QStringLiteral("Remind me"));
        ClickCentre(form->ChkBoxReminder);
        form->TpkReminderDate->setDate(QDate(2024, 3, 16));
        PressOk(form);
    }));
    const TTaskInfo task = OnlyTask();
    TReminderThread* reminder = ReminderOf(task.ID);
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->TaskInfo.TaskName, QStringLiteral("Remind me"));
    EXPECT_TRUE(reminder->TaskInfo.Reminder.State);
    EXPECT_EQ(TDateTimeToDate(reminder->TaskInfo.Reminder.Date), QDate(2024, 3, 16));
    EXPECT_EQ(TDateTimeToTime(reminder->TaskInfo.Reminder.Time), QTime(9, 30, 45));
    EXPECT_EQ(NoteOf(task.ID), nullptr);
}

TEST_F(TaskEditorTest, EditingATaskOnTheDesktopKeepsItsNoteWhereItIsWithTheNewTexts)
{
    const TTaskInfo task = StoreRunningTask(QStringLiteral("task20240101120000000"), QStringLiteral("Old name"));
    TFrmMarkInfoForm* note = NoteOf(task.ID);
    ASSERT_NE(note, nullptr);
    note->move(321, 123); // where the user dragged it
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        EXPECT_TRUE(form->ChkMarkOnDesktop->isChecked());
        form->EdtTaskName->selectAll();
        QTest::keyClicks(form->EdtTaskName, QStringLiteral("New name"));
        PressOk(form);
    }));
    EXPECT_EQ(NoteOf(task.ID), note);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->pos(), QPoint(321, 123));
    EXPECT_EQ(note->LabName->text(), QStringLiteral("New name"));
    const QHash<QString, QString> stored = StoredElements(TaskFileName, task.ID);
    EXPECT_EQ(stored.value(QStringLiteral("markformstate")), QStringLiteral("true"));
    EXPECT_EQ(stored.value(QStringLiteral("markformtop")), QStringLiteral("123"));
    EXPECT_EQ(stored.value(QStringLiteral("markformleft")), QStringLiteral("321"));
}

TEST_F(TaskEditorTest, SwitchingDisplayOnDesktopOffClosesTheNoteAndStoresItsLastPlace)
{
    const TTaskInfo task = StoreRunningTask(QStringLiteral("task20240101120000000"), QStringLiteral("Pinned"));
    QPointer<TFrmMarkInfoForm> note = NoteOf(task.ID);
    ASSERT_FALSE(note.isNull());
    note->move(222, 111);
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        ClickCentre(form->ChkMarkOnDesktop);
        PressOk(form);
    }));
    EXPECT_EQ(NoteOf(task.ID), nullptr);
    EXPECT_TRUE(note.isNull() || !note->isVisible());
    const QHash<QString, QString> stored = StoredElements(TaskFileName, task.ID);
    EXPECT_EQ(stored.value(QStringLiteral("markformstate")), QStringLiteral("false"));
    EXPECT_EQ(stored.value(QStringLiteral("markformtop")), QStringLiteral("111"));
    EXPECT_EQ(stored.value(QStringLiteral("markformleft")), QStringLiteral("222"));
}

TEST_F(TaskEditorTest, SwitchingTheReminderOffStopsTheRunningReminder)
{
    const TTaskInfo task = StoreRunningTask(QStringLiteral("task20240101120000000"), QStringLiteral("Call"));
    ASSERT_NE(ReminderOf(task.ID), nullptr);
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        ClickCentre(form->ChkBoxReminder);
        PressOk(form);
    }));
    EXPECT_EQ(ReminderOf(task.ID), nullptr);
    EXPECT_NE(NoteOf(task.ID), nullptr);
}

TEST_F(TaskEditorTest, CancelLeavesTheNoteAndTheReminderAsTheyWere)
{
    const TTaskInfo task = StoreRunningTask(QStringLiteral("task20240101120000000"), QStringLiteral("Keep"));
    TReminderThread* reminder = ReminderOf(task.ID);
    TFrmMarkInfoForm* note = NoteOf(task.ID);
    ASSERT_TRUE(Edit(task.ID, [](Editor* form) {
        ClickCentre(form->ChkBoxReminder);
        ClickCentre(form->ChkMarkOnDesktop);
        TypeName(form, QStringLiteral(" and more"));
        ClickCentre(form->BitBtn4);
    }));
    EXPECT_EQ(ReminderOf(task.ID), reminder);
    EXPECT_EQ(NoteOf(task.ID), note);
    EXPECT_EQ(note->LabName->text(), QStringLiteral("Keep"));
}

} // namespace
