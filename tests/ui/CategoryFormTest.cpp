// The category manager and the category editor, opened through OpenCategoryManager.
#include "BaseFunc.h"
#include "CategoryAddEditForm.h"
#include "CategoryForm.h"
#include "ImageList.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "TaskAddEditFormFixture.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

namespace {

using Manager = TFrmCategoryForm;
using CategoryEditor = TFrmCategoryAddEditForm;

const QString WorkID = QStringLiteral("category20240101000000000");
const QString ZooID = QStringLiteral("category20240101000000001");

class CategoryManagerTest : public DialogTest
{
protected:
    bool Manage(std::function<void(Manager*)> act)
    {
        auto opened = WhenDialogOpens<Manager>(std::move(act));
        OpenCategoryManager(nullptr);
        return *opened;
    }
    static QString SelectedName(Manager* manager)
    {
        const QList<QTreeWidgetItem*> rows = manager->TreeListCategory->selectedItems();
        return rows.isEmpty() ? QString() : rows.first()->text(CxTreeListCelName);
    }
    // The image indexes of the icon buttons that are down.
    static QList<int> DownIcons(CategoryEditor* editor)
    {
        QList<int> down;
        for (int k = 0; k < CategoryIconButtonCount; ++k)
            if (editor->ToolButtons[k]->isChecked())
                down.append(k + ImageFirstCategory);
        return down;
    }
    TCategoryInfo Category(const QString& id) const
    {
        TCategoryInfo c;
        XMLOperation->GetCategory(id, c);
        return c;
    }
};

TEST_F(CategoryManagerTest, AFreshFileListsPersonalWithItsIconAndNoFocusedRow)
{
    ASSERT_TRUE(Manage([](Manager* manager) {
        EXPECT_EQ(manager->windowTitle(), QStringLiteral("Category"));
        EXPECT_EQ(manager->size(), QSize(244, 220));
        QTreeWidget* list = manager->TreeListCategory;
        EXPECT_EQ(list->size(), QSize(231, 174));
        EXPECT_EQ(list->headerItem()->text(CxTreeListCelName), QStringLiteral("Category"));
        EXPECT_EQ(list->headerItem()->text(CxTreeListCelIcon), QStringLiteral("Icon"));
        EXPECT_TRUE(list->isColumnHidden(CxTreeListCelID));
        EXPECT_TRUE(list->isColumnHidden(CxTreeListCelIconID));
        EXPECT_EQ(list->columnWidth(CxTreeListCelName), 140);
        EXPECT_EQ(list->columnWidth(CxTreeListCelIcon), 50);
        EXPECT_LT(list->header()->visualIndex(CxTreeListCelName), list->header()->visualIndex(CxTreeListCelIcon));

        ASSERT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* row = list->topLevelItem(0);
        EXPECT_EQ(row->text(CxTreeListCelID), DefaultCategoryID);
        EXPECT_EQ(row->text(CxTreeListCelName), QStringLiteral("Personal"));
        EXPECT_EQ(row->data(CxTreeListCelIconID, Qt::DisplayRole).toInt(), 4);
        EXPECT_FALSE(row->icon(CxTreeListCelIcon).isNull());
        EXPECT_TRUE(list->selectedItems().isEmpty());
        // The list with the keyboard focus marks no row, also once the manager is active again
        // after the editor (opened with Alt+A, the list keeping the focus); the arrow keys pick one.
        manager->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(manager));
        list->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(list->currentItem(), nullptr);
        WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) { ClickCentre(editor->BitBtn2); });
        QTest::keyClick(list, Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitForWindowActive(manager));
        EXPECT_TRUE(list->hasFocus());
        EXPECT_EQ(list->currentItem(), nullptr);
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Personal"));
        EXPECT_EQ(list->currentItem(), list->topLevelItem(0));

        const QStringList captions{"&Add", "&Edit", "&Delete", "&Close"};
        const QList<QPushButton*> buttons{manager->BitBtn1, manager->BitBtn2, manager->BitBtn3, manager->BitBtn4};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(buttons[i]->text(), captions[i]);
            EXPECT_EQ(buttons[i]->size(), QSize(53, 25));
            EXPECT_EQ(buttons[i]->y(), buttons[0]->y());
            if (i > 0) {
                EXPECT_GT(buttons[i]->x(), buttons[i - 1]->x() + 53);
            }
        }
        ExpectNothingClipped(manager);
        ClickCentre(manager->BitBtn4);
    }));
}

TEST_F(CategoryManagerTest, EditAndDeleteDoNothingWithoutARowAndRefuseTheDefaultCategory)
{
    const QByteArray categories = CategoryFile();
    MessageBoxAnswerer answers(QMessageBox::Yes);
    ASSERT_TRUE(Manage([&answers](Manager* manager) {
        // No row focused: no message, no editor.
        auto editorOpened = WhenDialogOpens<CategoryEditor>([](CategoryEditor* e) { e->reject(); }, 200);
        ClickCentre(manager->BitBtn2);
        ClickCentre(manager->BitBtn3);
        EXPECT_TRUE(answers.Texts.isEmpty());

        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Personal")));
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Personal"));
        ClickCentre(manager->BitBtn2);
        ClickCentre(manager->BitBtn3);
        ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Personal"), true);
        EXPECT_FALSE(*editorOpened);
        EXPECT_EQ(manager->TreeListCategory->topLevelItemCount(), 1);
        ClickCentre(manager->BitBtn4);
    }));
    const QString refusal = QStringLiteral("You can't delete or edit this category.");
    EXPECT_EQ(answers.Texts, QStringList({refusal, refusal, refusal}));
    EXPECT_EQ(CategoryFile(), categories);
}

TEST_F(CategoryManagerTest, AddWithTheFourthIconListsTheCategoryInNameOrderAndKeepsTheFocusedRow)
{
    StoreCategory(ZooID, QStringLiteral("Zoo"), 5);
    StoreCategory(WorkID, QStringLiteral("work"), 6);
    ASSERT_TRUE(Manage([](Manager* manager) {
        QTreeWidget* list = manager->TreeListCategory;
        EXPECT_EQ(ColumnTexts(list, CxTreeListCelName), QStringList({"Personal", "work", "Zoo"}));
        ASSERT_TRUE(ClickRow(list, CxTreeListCelName, QStringLiteral("work")));

        auto opened = WhenDialogOpens<CategoryEditor>([manager](CategoryEditor* editor) {
            EXPECT_EQ(editor->windowTitle(), QStringLiteral("Add Category"));
            EXPECT_EQ(editor->Mode, QStringLiteral("add"));
            EXPECT_EQ(editor->parentWidget(), manager);
            EXPECT_TRUE(editor->EdtCategoryName->text().isEmpty());
            EXPECT_EQ(DownIcons(editor), QList<int>({4}));
            EXPECT_TRUE(editor->EdtCategoryName->hasFocus());
            QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Garden"));
            ClickCentre(editor->ToolButtons[3]);
            EXPECT_EQ(DownIcons(editor), QList<int>({7}));
            QTest::keyClick(editor->EdtCategoryName, Qt::Key_Return); // the default button
        });
        ClickCentre(manager->BitBtn1);
        EXPECT_TRUE(*opened);
        EXPECT_EQ(ColumnTexts(list, CxTreeListCelName), QStringList({"Garden", "Personal", "work", "Zoo"}));
        EXPECT_EQ(SelectedName(manager), QStringLiteral("work"));
        ClickCentre(manager->BitBtn4);
    }));
    const Tcategorylist stored = Categories();
    ASSERT_EQ(stored.size(), 4);
    const TCategoryInfo& added = stored.last();
    EXPECT_EQ(added.CategoryName, QStringLiteral("Garden"));
    EXPECT_EQ(added.CategoryIconID, 7);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^category\\d{17}$")).match(added.ID).hasMatch());
    EXPECT_EQ(added.ID, QStringLiteral("category20240315093045123"));
}

TEST_F(CategoryManagerTest, TheIconButtonsAreOneGroupWithExactlyOneDown)
{
    ASSERT_TRUE(Manage([](Manager* manager) {
        WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) {
            EXPECT_EQ(editor->size(), QSize(249, 145));
            EXPECT_EQ(editor->LabSelectIcon->text(), QStringLiteral("Select Icon :"));
            EXPECT_EQ(editor->LabCategoryName->text(), QStringLiteral("Category :"));
            EXPECT_GT(editor->EdtCategoryName->maxLength(), 1 << 20); // no limit of its own
            for (int k = 0; k < CategoryIconButtonCount; ++k) {
                QToolButton* button = editor->ToolButtons[k];
                EXPECT_EQ(button->objectName(), QStringLiteral("ToolButton%1").arg(k + 1));
                EXPECT_FALSE(button->icon().isNull());
                EXPECT_FALSE(button->toolTip().isEmpty());
                EXPECT_FALSE(button->accessibleName().isEmpty());
                EXPECT_EQ(editor->IconGroup->id(button), k + ImageFirstCategory);
                // Each button is on show in full, none folded away.
                EXPECT_TRUE(button->isVisible());
                EXPECT_TRUE(editor->rect().contains(QRect(button->mapTo(editor, QPoint(0, 0)), button->size())));
                EXPECT_EQ(button->visibleRegion().boundingRect(), button->rect());
            }
            ExpectNothingClipped(editor);
            for (int k : {9, 2, 2, 0}) { // clicking the button that is down keeps it down
                ClickCentre(editor->ToolButtons[k]);
                EXPECT_EQ(DownIcons(editor), QList<int>({k + ImageFirstCategory}));
            }
            ClickCentre(editor->BitBtn2);
        });
        ClickCentre(manager->BitBtn1);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(Categories().size(), 1);
}

// The icon stored for a category, the icon button that is down when it is opened, and the
// icon that Ok without changes stores.
struct IconCase
{
    int Stored;
    int Down;
};

class CategoryIconTest : public CategoryManagerTest, public ::testing::WithParamInterface<IconCase>
{
};

TEST_P(CategoryIconTest, EditShowsTheNameAndItsIconAndOkWithoutChangesKeepsThem)
{
    const IconCase& c = GetParam();
    StoreCategory(WorkID, QStringLiteral("Work"), c.Stored);
    ASSERT_TRUE(Manage([this, &c](Manager* manager) {
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
        EXPECT_EQ(manager->TreeListCategory->selectedItems().value(0)->icon(CxTreeListCelIcon).isNull(),
                  CategoryImage(c.Stored).isNull());
        auto opened = WhenDialogOpens<CategoryEditor>([&c](CategoryEditor* editor) {
            EXPECT_EQ(editor->windowTitle(), QStringLiteral("Add Category"));
            EXPECT_EQ(editor->Mode, QStringLiteral("edit"));
            EXPECT_EQ(editor->EditCategoryId, WorkID);
            EXPECT_EQ(editor->EdtCategoryName->text(), QStringLiteral("Work"));
            EXPECT_EQ(DownIcons(editor), QList<int>({c.Down}));
            ClickCentre(editor->BitBtn1);
        });
        ClickCentre(manager->BitBtn2);
        EXPECT_TRUE(*opened);
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Work"));
        EXPECT_EQ(Category(WorkID).CategoryIconID, c.Down);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(Category(WorkID).CategoryName, QStringLiteral("Work"));
}

INSTANTIATE_TEST_SUITE_P(Icons, CategoryIconTest,
                         ::testing::Values(IconCase{4, 4}, IconCase{7, 7}, IconCase{13, 13},
                                           // no button shows these: the first one is down
                                           IconCase{0, 4}, IconCase{3, 4}, IconCase{14, 4}, IconCase{99, 4},
                                           IconCase{-1, 4}),
                         [](const ::testing::TestParamInfo<IconCase>& info) {
                             return "Icon" + std::to_string(info.param.Stored < 0 ? 1000 : info.param.Stored);
                         });

TEST_F(CategoryManagerTest, ADoubleClickOnARowEditsIt)
{
    StoreCategory(WorkID, QStringLiteral("Work"), 6);
    ASSERT_TRUE(Manage([this](Manager* manager) {
        auto opened = WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) {
            EXPECT_EQ(editor->EdtCategoryName->text(), QStringLiteral("Work"));
            editor->EdtCategoryName->selectAll();
            QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Office"));
            ClickCentre(editor->ToolButtons[9]);
            ClickCentre(editor->BitBtn1);
        });
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work"), true));
        EXPECT_TRUE(*opened);
        EXPECT_EQ(ColumnTexts(manager->TreeListCategory, CxTreeListCelName), QStringList({"Office", "Personal"}));
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Office"));
        EXPECT_EQ(Category(WorkID).CategoryIconID, 13);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(Category(WorkID).CategoryName, QStringLiteral("Office"));
}

TEST_F(CategoryManagerTest, TwoCategoriesMayShareAName)
{
    ASSERT_TRUE(Manage([](Manager* manager) {
        for (int i = 0; i < 2; ++i) {
            WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) {
                QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Home"));
                ClickCentre(editor->BitBtn1);
            });
            ClickCentre(manager->BitBtn1);
        }
        EXPECT_EQ(ColumnTexts(manager->TreeListCategory, CxTreeListCelName), QStringList({"Home", "Home", "Personal"}));
        ClickCentre(manager->BitBtn4);
    }));
    const Tcategorylist stored = Categories();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[1].CategoryName, QStringLiteral("Home"));
    EXPECT_EQ(stored[2].CategoryName, QStringLiteral("Home"));
    EXPECT_NE(stored[1].ID, stored[2].ID);
}

TEST_F(CategoryManagerTest, AnEmptyNameIsRefusedAndTheEditorStaysOpen)
{
    MessageBoxAnswerer answers;
    const QByteArray before = CategoryFile();
    ASSERT_TRUE(Manage([](Manager* manager) {
        WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) {
            ClickCentre(editor->ToolButtons[5]);
            ClickCentre(editor->BitBtn1);
            EXPECT_TRUE(editor->isVisible());
            EXPECT_EQ(DownIcons(editor), QList<int>({9}));
            ClickCentre(editor->BitBtn2);
        });
        ClickCentre(manager->BitBtn1);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(answers.Texts, QStringList({"Please input the category name."}));
    EXPECT_EQ(CategoryFile(), before);
}

TEST_F(CategoryManagerTest, CancelInTheEditorWritesNothingButTheListIsRefilled)
{
    StoreCategory(WorkID, QStringLiteral("Work"), 6);
    const QByteArray before = CategoryFile();
    ASSERT_TRUE(Manage([this, &before](Manager* manager) {
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
        WhenDialogOpens<CategoryEditor>([this, &before](CategoryEditor* editor) {
            editor->EdtCategoryName->selectAll();
            QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Changed"));
            ClickCentre(editor->ToolButtons[8]);
            QTest::keyClick(editor, Qt::Key_Escape);
            EXPECT_EQ(CategoryFile(), before);
            // A change that reaches the store meanwhile shows once the editor is closed.
            StoreCategory(ZooID, QStringLiteral("Added meanwhile"), 8);
        });
        ClickCentre(manager->BitBtn2);
        EXPECT_EQ(ColumnTexts(manager->TreeListCategory, CxTreeListCelName),
                  QStringList({"Added meanwhile", "Personal", "Work"}));
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Work"));
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(Category(WorkID).CategoryName, QStringLiteral("Work"));
}

TEST_F(CategoryManagerTest, DeleteAsksAndOnYesRemovesTheCategoryWithItsTasks)
{
    StoreCategory(WorkID, QStringLiteral("Work"), 6);
    StoreCategory(ZooID, QStringLiteral("Zoo"), 8);
    StoreTask(QStringLiteral("task20240101000000001"), QStringLiteral("Work one"), WorkID);
    StoreTask(QStringLiteral("task20240101000000002"), QStringLiteral("Personal one"));
    StoreTask(QStringLiteral("task20240101000000003"), QStringLiteral("Work two"), WorkID);
    StoreTask(QStringLiteral("task20240101000000004"), QStringLiteral("Zoo one"), ZooID);
    const QByteArray tasksBefore = TaskFile();
    const QByteArray categoriesBefore = CategoryFile();

    MessageBoxAnswerer answers(QMessageBox::No);
    ASSERT_TRUE(Manage([&](Manager* manager) {
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
        ClickCentre(manager->BitBtn3); // answered No
        EXPECT_EQ(TaskFile(), tasksBefore);
        EXPECT_EQ(CategoryFile(), categoriesBefore);
        EXPECT_EQ(SelectedName(manager), QStringLiteral("Work"));

        answers.SetAnswer(QMessageBox::Yes);
        ClickCentre(manager->BitBtn3);
        EXPECT_EQ(ColumnTexts(manager->TreeListCategory, CxTreeListCelName), QStringList({"Personal", "Zoo"}));
        EXPECT_TRUE(manager->TreeListCategory->selectedItems().isEmpty());
        ClickCentre(manager->BitBtn4);
    }));
    const QString question = QStringLiteral(
        "Are you sure you want to delete this category? This will cause deletion of all task in this category.");
    EXPECT_EQ(answers.Texts, QStringList({question, question}));
    ASSERT_EQ(answers.Buttons.size(), 2);
    EXPECT_EQ(answers.Buttons[0], QMessageBox::Yes | QMessageBox::No);

    EXPECT_FALSE(XMLOperation->HasCategory(WorkID));
    EXPECT_TRUE(XMLOperation->HasCategory(ZooID));
    QStringList left;
    for (const TTaskInfo& task : Tasks())
        left.append(task.TaskName);
    EXPECT_EQ(left, QStringList({"Personal one", "Zoo one"}));
    EXPECT_FALSE(TaskFile().contains("Work one"));
    EXPECT_FALSE(TaskFile().contains("Work two"));
}

TEST_F(CategoryManagerTest, TheFocusedRowKeepsItsHighlightWithBlackText)
{
    ASSERT_TRUE(Manage([](Manager* manager) {
        const QPalette palette = manager->TreeListCategory->palette();
        EXPECT_EQ(palette.color(QPalette::Active, QPalette::HighlightedText), QColor(Qt::black));
        EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText), QColor(Qt::black));
        EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
                  palette.color(QPalette::Active, QPalette::Highlight));
        ClickCentre(manager->BitBtn4);
    }));
}

TEST_F(CategoryManagerTest, EachOpeningOfTheEditorIsFresh)
{
    ASSERT_TRUE(Manage([](Manager* manager) {
        QPointer<CategoryEditor> first;
        WhenDialogOpens<CategoryEditor>([&first](CategoryEditor* editor) {
            first = editor;
            QTest::keyClicks(editor->EdtCategoryName, QStringLiteral("Draft"));
            ClickCentre(editor->ToolButtons[6]);
            ClickCentre(editor->BitBtn2);
        });
        ClickCentre(manager->BitBtn1);
        EXPECT_TRUE(first.isNull());
        WhenDialogOpens<CategoryEditor>([](CategoryEditor* editor) {
            EXPECT_TRUE(editor->EdtCategoryName->text().isEmpty());
            EXPECT_EQ(DownIcons(editor), QList<int>({4}));
            ClickCentre(editor->BitBtn2);
        });
        ClickCentre(manager->BitBtn1);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_EQ(Categories().size(), 1);
}

TEST_F(CategoryManagerTest, DeletingACategoryStopsTheRemindersAndClosesTheNotesOfItsTasks)
{
    StoreCategory(WorkID, QStringLiteral("Work"), 6);
    const TTaskInfo gone = StoreRunningTask(QStringLiteral("task20240101000000001"), QStringLiteral("In work"), WorkID);
    const TTaskInfo kept = StoreRunningTask(QStringLiteral("task20240101000000002"), QStringLiteral("Personal"));
    QPointer<TFrmMarkInfoForm> goneNote = NoteOf(gone.ID);
    ASSERT_FALSE(goneNote.isNull());
    ASSERT_NE(ReminderOf(gone.ID), nullptr);

    MessageBoxAnswerer answers(QMessageBox::Yes);
    ASSERT_TRUE(Manage([](Manager* manager) {
        ASSERT_TRUE(ClickRow(manager->TreeListCategory, CxTreeListCelName, QStringLiteral("Work")));
        ClickCentre(manager->BitBtn3);
        ClickCentre(manager->BitBtn4);
    }));
    EXPECT_FALSE(XMLOperation->HasTask(gone.ID));
    EXPECT_EQ(ReminderOf(gone.ID), nullptr);
    EXPECT_EQ(NoteOf(gone.ID), nullptr);
    EXPECT_TRUE(goneNote.isNull() || !goneNote->isVisible());
    ASSERT_NE(NoteOf(kept.ID), nullptr);
    EXPECT_TRUE(NoteOf(kept.ID)->isVisible());
    EXPECT_NE(ReminderOf(kept.ID), nullptr);
}

} // namespace
