// The dialogs opened from the real main window: what the selector and the grid show after them.
#include "BaseFunc.h"
#include "CategoryAddEditForm.h"
#include "CategoryForm.h"
#include "MainForm.h"
#include "TaskAddEditForm.h"
#include "TaskAddEditFormFixture.h"
#include "TaskList.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QToolButton>

namespace {

const QString WorkID = QStringLiteral("category20240101000000000");

class MainWindowDialogTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        TFrmMainForm::SetNotificationAreaCheck([] { return true; });
    }
    void TearDown() override
    {
        Form.reset();
        TFrmMainForm::SetNotificationAreaCheck({});
        DialogTest::TearDown();
    }
    TFrmMainForm* ShowForm()
    {
        Form = std::make_unique<TFrmMainForm>();
        Form->show();
        // Shortcuts reach the active window only.
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        return Form.get();
    }

    QStringList SelectorTexts() const
    {
        QStringList texts;
        for (int i = 0; i < Form->CmbCategory->count(); ++i)
            texts.append(Form->CmbCategory->itemText(i));
        return texts;
    }
    QSet<QString> GridNames() const
    {
        QSet<QString> names;
        for (int i = 0; i < Form->TreeListTaskList->topLevelItemCount(); ++i)
            names.insert(Form->TreeListTaskList->topLevelItem(i)->text(CxTreeListColTaskName));
        return names;
    }
    // Double-clicks the task name of the row that shows `name`.
    bool DoubleClickTask(const QString& name)
    {
        QTreeWidget* grid = Form->TreeListTaskList;
        for (int i = 0; i < grid->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = grid->topLevelItem(i);
            if (row->text(CxTreeListColTaskName) != name)
                continue;
            const QPoint at(grid->header()->sectionViewportPosition(CxTreeListColTaskName) + 10,
                            grid->visualItemRect(row).center().y());
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            return true;
        }
        return false;
    }

    std::unique_ptr<TFrmMainForm> Form;
};

TEST_F(MainWindowDialogTest, DeletingACategoryThroughTheSelectorTakesItsTasksOutOfTheSelectorAndTheGrid)
{
    StoreCategory(WorkID, QStringLiteral("Work"), 6);
    StoreTask(QStringLiteral("task20240101000000001"), QStringLiteral("Work task"), WorkID);
    StoreTask(QStringLiteral("task20240101000000002"), QStringLiteral("Personal task"));
    TFrmMainForm* form = ShowForm();
    ASSERT_EQ(SelectorTexts(), QStringList({"Personal", "Work", "All", "Edit Categories"}));
    ASSERT_EQ(GridNames(), QSet<QString>({"Work task", "Personal task"}));

    MessageBoxAnswerer answers(QMessageBox::Yes);
    auto opened = WhenDialogOpens<TFrmCategoryForm>([form](TFrmCategoryForm* manager) {
        EXPECT_EQ(manager->parentWidget(), form);
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
        ClickCentre(manager->BitBtn3);
        // The main window changes only once the manager has closed.
        EXPECT_EQ(form->TreeListTaskList->topLevelItemCount(), 2);
        ClickCentre(manager->BitBtn4);
    });
    form->CmbCategory->setFocus();
    QTest::keyClick(form->CmbCategory, Qt::Key_End); // "Edit Categories"
    ASSERT_TRUE(*opened);
    EXPECT_EQ(answers.Texts.size(), 1);
    EXPECT_EQ(SelectorTexts(), QStringList({"Personal", "All", "Edit Categories"}));
    EXPECT_EQ(form->CmbCategory->currentText(), QStringLiteral("All"));
    EXPECT_EQ(GridNames(), QSet<QString>({"Personal task"}));
    EXPECT_FALSE(TaskFile().contains("Work task"));
}

TEST_F(MainWindowDialogTest, ACategoryAddedFromTheTaskEditorReachesBothCategoryLists)
{
    TFrmMainForm* form = ShowForm();
    auto opened = WhenDialogOpens<TFrmTaskAddEditForm>([form](TFrmTaskAddEditForm* editor) {
        EXPECT_EQ(editor->parentWidget(), form);
        WhenDialogOpens<TFrmCategoryForm>([](TFrmCategoryForm* manager) {
            WhenDialogOpens<TFrmCategoryAddEditForm>([](TFrmCategoryAddEditForm* categoryEditor) {
                QTest::keyClicks(categoryEditor->EdtCategoryName, QStringLiteral("Garden"));
                ClickCentre(categoryEditor->ToolButtons[2]);
                ClickCentre(categoryEditor->BitBtn1);
            });
            ClickCentre(manager->BitBtn1);
            ClickCentre(manager->BitBtn4);
        });
        editor->CmbCategory->setFocus();
        QTest::keyClick(editor->CmbCategory, Qt::Key_End);
        EXPECT_EQ(editor->CmbCategory->itemText(1), QStringLiteral("Garden"));
        EXPECT_EQ(editor->CmbCategory->currentIndex(), 0);
        // The main window's selector is refilled while the editor is still open.
        EXPECT_TRUE(form->CmbCategory->findText(QStringLiteral("Garden")) >= 0);

        editor->CmbCategory->setCurrentIndex(1);
        editor->EdtTaskName->setFocus();
        QTest::keyClicks(editor->EdtTaskName, QStringLiteral("Plant the roses"));
        QTest::keyClick(editor->EdtTaskName, Qt::Key_Return);
    });
    QTest::keyClick(form->TreeListTaskList, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(*opened);
    EXPECT_EQ(SelectorTexts(), QStringList({"Personal", "Garden", "All", "Edit Categories"}));
    EXPECT_EQ(GridNames(), QSet<QString>({"Plant the roses"}));
    const TTaskInfoList tasks = Tasks();
    ASSERT_EQ(tasks.size(), 1);
    EXPECT_EQ(tasks[0].TaskCategoryID, Categories().value(1).ID);
    EXPECT_EQ(Categories().value(1).CategoryIconID, 6);
}

TEST_F(MainWindowDialogTest, ADoubleClickOnATaskRowOpensItForEditing)
{
    StoreTask(QStringLiteral("task20240101000000001"), QStringLiteral("Old name"));
    TFrmMainForm* form = ShowForm();
    auto opened = WhenDialogOpens<TFrmTaskAddEditForm>([form](TFrmTaskAddEditForm* editor) {
        EXPECT_EQ(editor->parentWidget(), form);
        EXPECT_EQ(editor->Mode, QStringLiteral("edit"));
        EXPECT_EQ(editor->EdtTaskName->text(), QStringLiteral("Old name"));
        editor->EdtTaskName->selectAll();
        QTest::keyClicks(editor->EdtTaskName, QStringLiteral("New name"));
        ClickCentre(editor->BitBtn1);
    });
    ASSERT_TRUE(DoubleClickTask(QStringLiteral("Old name")));
    ASSERT_TRUE(*opened);
    EXPECT_EQ(GridNames(), QSet<QString>({"New name"}));
    EXPECT_EQ(Tasks().value(0).TaskState, QStringLiteral("false"));
}

} // namespace
