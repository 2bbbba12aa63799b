// The main window: its layout, menus, commands, selector, tray behaviour and appearance.
#include "Application.h"
#include "BaseFunc.h"
#include "BaseVar.h"
#include "ImageList.h"
#include "MainFormFixture.h"
#include "Platform.h"
#include "WindowAppearanceRule.h"
#include "uFunction.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>

namespace {

QString Id(int n)
{
    return QStringLiteral("task202403150930%1").arg(n, 5, 10, QLatin1Char('0'));
}

// The items of a menu; a separator is "-", a shortcut follows a tab.
QStringList MenuItems(const QMenu* menu)
{
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else if (action->shortcut().isEmpty())
            items << action->text();
        else
            items << action->text() + QLatin1Char('\t') + action->shortcut().toString();
    }
    return items;
}

QAction* MenuItem(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

QMenu* MenuBarMenu(TFrmMainForm* form, const QString& title)
{
    for (QAction* action : form->menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

// While it lives, closes the next modal window that opens, as a person would after a look,
// and tells its object name, its title and its text (a message box's text, else the text
// of its first line edit). `before` acts on the window first.
class SeenModal
{
public:
    explicit SeenModal(std::function<void(QWidget*)> before = {})
    {
        QObject::connect(&FPoll, &QTimer::timeout, [this, before] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            FPoll.stop();
            Opened = true;
            Name = modal->objectName();
            Title = modal->windowTitle();
            if (auto* message = qobject_cast<QMessageBox*>(modal))
                Text = message->text();
            else if (auto* edit = modal->findChild<QLineEdit*>())
                Text = edit->text();
            if (before)
                before(modal);
            if (modal->isVisible())
                modal->close();
        });
        FPoll.start(20);
    }

    bool Opened = false;
    QString Name;
    QString Title;
    QString Text;

private:
    QTimer FPoll;
};

class MainWindowTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetApplicationTitle(QStringLiteral("Taskwick 1.0.0"));
    }
    void TearDown() override
    {
        Platform::SetOpener({});
        MainFormTest::TearDown();
    }
    TFrmMainForm* ShowActive()
    {
        ShowForm();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Grid()->setFocus();
        return Form.get();
    }
    QToolButton* Button(QAction* action) const
    {
        return qobject_cast<QToolButton*>(Form->ToolBar1->widgetForAction(action));
    }
};

TEST_F(MainWindowTest, TheWindowHasAFixedClientSizeAndNoMaximiseButton)
{
    ShowForm();
    EXPECT_EQ(Form->size(), QSize(541, 361));
    EXPECT_EQ(Form->minimumSize(), Form->maximumSize());
    const Qt::WindowFlags flags = Form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Taskwick 1.0.0"));
    EXPECT_FALSE(Form->windowIcon().isNull());
    EXPECT_FALSE(Form->TrayIcon->icon().isNull());
    EXPECT_TRUE(Form->TrayIcon->isVisible());
    EXPECT_EQ(Form->TrayIcon->contextMenu(), Form->PopupMenu1);

    // Tool bar on top, then the grid, then the status bar, filling the window.
    const int toolBarBottom = Form->ToolBar1->geometry().bottom();
    EXPECT_EQ(Form->ToolBar1->height(), 30);
    EXPECT_GT(Grid()->geometry().top(), toolBarBottom);
    EXPECT_EQ(Grid()->width(), 541);
    EXPECT_EQ(Form->StatusBar->geometry().bottom(), 360);
    EXPECT_EQ(Grid()->geometry().bottom() + 1, Form->StatusBar->geometry().top());
}

TEST_F(MainWindowTest, TheCaptionIsTheApplicationTitleEachTimeTheWindowShows)
{
    ShowForm();
    Form->setWindowTitle(QStringLiteral("something else"));
    Form->hide();
    SetApplicationTitle(QStringLiteral("Taskwick 1.0.1"));
    Form->ActTrayMenuOpenExecute();
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Taskwick 1.0.1"));
}

TEST_F(MainWindowTest, TheToolBarHoldsItsButtonsInOrderAndTheCategorySelectorAtTheRight)
{
    ShowForm();
    QToolBar* bar = Form->ToolBar1;
    EXPECT_EQ(bar->iconSize(), QSize(24, 24));
    EXPECT_FALSE(bar->isMovable());
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 13);
    const QList<QAction*> buttons = {nullptr,             Form->ActOpeAddTask, Form->ActOpeEditTask, Form->ActOpeDelTask,
                                     Form->ActOpeSetting, nullptr,             Form->ActSysHomePage, Form->ActSysEmail,
                                     Form->ActSysHelp,    Form->ActSysAbout,   nullptr};
    int left = 0;
    for (int i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        if (!buttons[i]) {
            EXPECT_TRUE(actions[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(actions[i], buttons[i]);
        QToolButton* button = Button(buttons[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), QSize(31, 30));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->toolTip().isEmpty());
        EXPECT_FALSE(button->accessibleName().isEmpty());
        EXPECT_GT(button->x(), left);
        left = button->x();
    }
    EXPECT_EQ(Form->LabCategory->text(), QStringLiteral("Category :"));
    EXPECT_EQ(Form->CmbCategory->width(), 133);
    EXPECT_FALSE(Form->CmbCategory->isEditable());
    EXPECT_EQ(Form->CmbCategory->iconSize(), QSize(16, 16));
    QWidget* panel = Form->CmbCategory->parentWidget();
    EXPECT_EQ(panel->width(), 235);
    EXPECT_GT(panel->x(), left);
    EXPECT_GE(panel->geometry().right(), bar->width() - 12); // at the right end
}

TEST_F(MainWindowTest, MenusHoldEveryItemWithItsCaptionAndShortcut)
{
    CreateForm();
    struct Menu
    {
        QMenu* menu;
        QStringList items;
    };
    const Menu menus[] = {
        {MenuBarMenu(Form.get(), QStringLiteral("&File")),
         {QStringLiteral("Add Task ...\tCtrl+A"), QStringLiteral("Edit Task\tCtrl+E"),
          QStringLiteral("Delete Task\tCtrl+D"), QStringLiteral("-"), QStringLiteral("&Setting"), QStringLiteral("-"),
          QStringLiteral("&Exit")}},
        {MenuBarMenu(Form.get(), QStringLiteral("&Help")),
         {QStringLiteral("Home Page"), QStringLiteral("&Email"), QStringLiteral("&Help"), QStringLiteral("&About")}},
        {Form->PopupMenu1,
         {QStringLiteral("&Open"), QStringLiteral("-"), QStringLiteral("Add Task ...\tCtrl+A"),
          QStringLiteral("&Setting"), QStringLiteral("-"), QStringLiteral("Home&Page"), QStringLiteral("&Email"),
          QStringLiteral("&Help"), QStringLiteral("&About"), QStringLiteral("-"), QStringLiteral("&Exit")}},
        {Form->PopupMenu2,
         {QStringLiteral("Add Task ...\tCtrl+A"), QStringLiteral("Edit Task\tCtrl+E"),
          QStringLiteral("Delete Task\tCtrl+D"), QStringLiteral("-"), QStringLiteral("&Setting")}},
    };
    ASSERT_EQ(Form->menuBar()->actions().size(), 2);
    for (const Menu& m : menus) {
        ASSERT_NE(m.menu, nullptr);
        EXPECT_EQ(MenuItems(m.menu), m.items);
    }
    // Pictures only in the tray menu, beside its four help items.
    const auto showsIcon = [](const QAction* a) { return !a->icon().isNull() && a->isIconVisibleInMenu(); };
    for (int m : {0, 1, 3})
        for (const QAction* action : menus[m].menu->actions())
            EXPECT_FALSE(showsIcon(action)) << action->text().toStdString();
    for (const QAction* action : Form->PopupMenu1->actions()) {
        const bool help = QStringList({QStringLiteral("Home&Page"), QStringLiteral("&Email"), QStringLiteral("&Help"),
                                       QStringLiteral("&About")})
                              .contains(action->text());
        EXPECT_EQ(showsIcon(action), help) << action->text().toStdString();
    }
    EXPECT_EQ(MenuItem(Form->PopupMenu1, QStringLiteral("Home&Page"))->icon().cacheKey(),
              Form->ActSysHomePage->icon().cacheKey());
}

TEST_F(MainWindowTest, PicturesAreDrawnSharpAtSingleAndDoubleScale)
{
    QList<QIcon> icons;
    for (int i = 0; i < ImageCount; ++i)
        icons << CategoryImage(i);
    for (const char* name : {"addtask", "edittask", "deletetask", "setting", "homepage", "email", "help", "about"})
        icons << ToolBarImage(QString::fromLatin1(name));
    icons << TrayImage() << ApplicationImage();
    EXPECT_TRUE(CategoryImage(-1).isNull());
    EXPECT_TRUE(CategoryImage(16).isNull());
    for (int i = 0; i < icons.size(); ++i) {
        SCOPED_TRACE(i);
        // The list images and the tray icon are 16 x 16, the tool bar and program icons 24 x 24.
        const bool small = i < ImageCount || i == icons.size() - 2;
        const QSize logical = small ? QSize(16, 16) : QSize(24, 24);
        const QImage one = icons[i].pixmap(logical, 1.0).toImage();
        const QImage two = icons[i].pixmap(logical, 2.0).toImage();
        ASSERT_EQ(one.size(), logical);
        ASSERT_EQ(two.size(), logical * 2);
        // Drawn anew at double scale, not the single-scale picture blown up.
        const QImage blownUp = one.scaled(logical * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                   .convertToFormat(two.format());
        EXPECT_NE(two, blownUp);
        int opaque = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x)
                opaque += qAlpha(one.pixel(x, y)) > 128;
        EXPECT_GT(opaque, logical.width()); // something is drawn
    }
}

TEST_F(MainWindowTest, TheSelectorListsTheCategoriesThenAllAndEditCategories)
{
    const QString work = CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 7);
    const QString home = CategoryWithIcon(QStringLiteral("category20230101000000000"), QStringLiteral("Home"), 12);
    XMLOperation->SaveDisplayFilter(home);
    CreateForm();
    QComboBox* selector = Form->CmbCategory;
    struct Entry
    {
        QString caption;
        int image;
        QString value;
    };
    const Entry entries[] = {
        {QStringLiteral("Personal"), 4, DefaultCategoryID}, {QStringLiteral("Work"), 7, work},
        {QStringLiteral("Home"), 12, home},                 {QStringLiteral("All"), ImageAll, QStringLiteral("all")},
        {QStringLiteral("Edit Categories"), ImageEditCategories, QStringLiteral("edit")},
    };
    ASSERT_EQ(selector->count(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(selector->itemText(i), entries[i].caption);
        EXPECT_EQ(selector->itemIcon(i).cacheKey(), CategoryImage(entries[i].image).cacheKey());
        EXPECT_EQ(selector->itemData(i).toString(), entries[i].value);
    }
    EXPECT_EQ(selector->currentIndex(), 2);

    // A filter that names no entry shows "All" and is not rewritten.
    XMLOperation->SaveDisplayFilter(QStringLiteral("category19990101000000000"));
    FillCategoryFilter(selector);
    EXPECT_EQ(selector->currentText(), QStringLiteral("All"));
    EXPECT_EQ(Setting().DisplayFilter, QStringLiteral("category19990101000000000"));
    XMLOperation->SaveDisplayFilter(home.toUpper()); // exact comparison
    FillCategoryFilter(selector);
    EXPECT_EQ(selector->currentText(), QStringLiteral("All"));
}

TEST_F(MainWindowTest, PickingAnEntryStoresTheFilterAndRefillsTheGrid)
{
    const QString work = CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Work"), 7);
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("home"), QStringLiteral("1")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("work"), QStringLiteral("1"), QStringLiteral("false"), work));
    ShowActive();
    QComboBox* selector = Form->CmbCategory;
    ASSERT_EQ(selector->currentText(), QStringLiteral("All"));

    QTest::keyClick(selector, Qt::Key_Home); // "Personal"
    EXPECT_EQ(Setting().DisplayFilter, DefaultCategoryID);
    EXPECT_EQ(RowIds(), QStringList({Id(1)}));
    EXPECT_EQ(CountText(), QStringLiteral(" Task Count : 1"));
    QTest::keyClick(selector, Qt::Key_Down); // "Work"
    EXPECT_EQ(Setting().DisplayFilter, work);
    EXPECT_EQ(RowIds(), QStringList({Id(2)}));
    QTest::keyClick(selector, Qt::Key_Down); // "All"
    EXPECT_EQ(Setting().DisplayFilter, QStringLiteral("all"));
    EXPECT_EQ(RowIds(), QStringList({Id(1), Id(2)}));

    // "Edit Categories" opens the category manager and then shows the stored filter again.
    SeenModal seen;
    QTest::keyClick(selector, Qt::Key_Down);
    EXPECT_TRUE(seen.Opened);
    EXPECT_EQ(seen.Name, QStringLiteral("FrmCategoryForm"));
    EXPECT_EQ(selector->currentText(), QStringLiteral("All"));
    EXPECT_EQ(Setting().DisplayFilter, QStringLiteral("all"));
    EXPECT_EQ(RowIds(), QStringList({Id(1), Id(2)}));
}

TEST_F(MainWindowTest, ACategoryAddedInTheManagerAppearsInTheSelector)
{
    ShowActive();
    SeenModal seen([this](QWidget*) {
        CategoryWithIcon(QStringLiteral("category20240101000000000"), QStringLiteral("Added"), 8);
    });
    Form->CmbCategory->setCurrentIndex(Form->CmbCategory->count() - 2);
    QTest::keyClick(Form->CmbCategory, Qt::Key_End);
    ASSERT_TRUE(seen.Opened);
    EXPECT_EQ(Form->CmbCategory->count(), 4);
    EXPECT_EQ(Form->CmbCategory->itemText(1), QStringLiteral("Added"));
    EXPECT_EQ(Form->CmbCategory->currentText(), QStringLiteral("All"));
}

TEST_F(MainWindowTest, AddTaskOpensTheEditorAndRefillsTheGridAfterwards)
{
    ShowActive();
    struct Way
    {
        const char* name;
        std::function<void()> use;
    };
    const Way ways[] = {
        {"Ctrl+A", [this] { QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier); }},
        {"tool bar", [this] { QTest::mouseClick(Button(Form->ActOpeAddTask), Qt::LeftButton); }},
        {"File menu", [this] { MenuItem(MenuBarMenu(Form.get(), QStringLiteral("&File")), QStringLiteral("Add Task ..."))->trigger(); }},
        {"tray menu", [this] { MenuItem(Form->PopupMenu1, QStringLiteral("Add Task ..."))->trigger(); }},
    };
    int n = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const QString id = Id(++n);
        SeenModal seen([id](QWidget*) { XMLOperation->AddTask(MakeTask(id, QStringLiteral("added"))); });
        way.use();
        EXPECT_TRUE(seen.Opened);
        EXPECT_EQ(seen.Name, QStringLiteral("FrmTaskAddEditForm"));
        EXPECT_EQ(Grid()->topLevelItemCount(), n);
        EXPECT_NE(Row(id), nullptr);
    }
}

TEST_F(MainWindowTest, EditTaskOpensTheEditorOnTheFocusedTaskOnly)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("first")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("second")));
    ShowActive();

    {
        // Nothing focused: nothing happens (an editor would hold the key press until closed).
        SeenModal none;
        QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
        EXPECT_FALSE(none.Opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    ClickRow(Id(2));
    SeenModal byKey([](QWidget*) {
        TTaskInfo task;
        XMLOperation->GetTask(Id(2), task);
        task.TaskName = QStringLiteral("renamed");
        XMLOperation->UpdateTask(task);
    });
    QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(byKey.Name, QStringLiteral("FrmTaskAddEditForm"));
    EXPECT_EQ(byKey.Text, QStringLiteral("second"));
    EXPECT_EQ(Row(Id(2))->text(CxTreeListColTaskName), QStringLiteral("renamed"));
    EXPECT_EQ(FocusedId(), Id(2));

    SeenModal byDoubleClick;
    const QRect cell = Grid()->visualItemRect(Row(Id(1)));
    // Through the window, so that the press, release, press, release make the double-click.
    const QPoint at(Grid()->header()->sectionViewportPosition(CxTreeListColTaskName) + 10, cell.center().y());
    QTest::mouseDClick(Form->windowHandle(), Qt::LeftButton, Qt::NoModifier, Grid()->viewport()->mapTo(Form.get(), at));
    EXPECT_EQ(byDoubleClick.Text, QStringLiteral("first"));
    EXPECT_EQ(FocusedId(), Id(1));
}

TEST_F(MainWindowTest, DeleteAsksAndDeletesOnlyOnYes)
{
    struct Case
    {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QMessageBox::StandardButton answer;
    };
    const Case cases[] = {
        {"Delete, No", Qt::Key_Delete, Qt::NoModifier, QMessageBox::No},
        {"Delete, Yes", Qt::Key_Delete, Qt::NoModifier, QMessageBox::Yes},
        {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, QMessageBox::Yes},
        {"Ctrl+Delete", Qt::Key_Delete, Qt::ControlModifier, QMessageBox::Yes},
        {"Alt+Delete", Qt::Key_Delete, Qt::AltModifier, QMessageBox::Yes},
        {"Ctrl+D, No", Qt::Key_D, Qt::ControlModifier, QMessageBox::No},
        {"Ctrl+D, Yes", Qt::Key_D, Qt::ControlModifier, QMessageBox::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("keep")));
        XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("victim")));
        ShowActive();
        ClickRow(Id(2));
        SeenModal seen([&](QWidget* box) { ClickMessageBoxButton(box, c.answer); });
        QTest::keyClick(Grid(), c.key, c.modifiers);
        EXPECT_EQ(seen.Text, QStringLiteral("Are you sure you want to delete this task ?"));
        EXPECT_EQ(seen.Title, QStringLiteral("Taskwick 1.0.0"));
        const bool deleted = c.answer == QMessageBox::Yes;
        EXPECT_EQ(XMLOperation->HasTask(Id(2)), !deleted);
        EXPECT_EQ(Row(Id(2)) == nullptr, deleted);
        EXPECT_EQ(CountText(), deleted ? QStringLiteral(" Task Count : 1") : QStringLiteral(" Task Count : 2"));
        EXPECT_EQ(FocusedId(), deleted ? QString() : Id(2));
        EXPECT_TRUE(XMLOperation->HasTask(Id(1)));
        XMLOperation->DeleteTask(Id(1));
        XMLOperation->DeleteTask(Id(2));
    }
}

// A task with a reminder due tomorrow and a note on the desktop.
TTaskInfo RemindedTaskWithNote(const QString& id)
{
    TTaskInfo task = MakeTask(id, QStringLiteral("with note"));
    task.Reminder.State = true;
    task.Reminder.Date = DateToTDateTime(MainFormNow().date().addDays(1));
    task.Reminder.Time = TimeToTDateTime(QTime(8, 0));
    task.MarkFormState = true;
    task.MarkFormTop = 100;
    task.MarkFormLeft = 120;
    return task;
}

TEST_F(MainWindowTest, CreationShowsTheNotesStartsTheRemindersAndSavesTheNotesAtExit)
{
    XMLOperation->AddTask(RemindedTaskWithNote(Id(1)));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("plain")));
    CreateForm();
    EXPECT_GE(ReminderThreadList->IndexOf(Id(1)), 0);
    EXPECT_LT(ReminderThreadList->IndexOf(Id(2)), 0);
    const int note = MarkFormList->IndexOf(Id(1));
    ASSERT_GE(note, 0);
    EXPECT_TRUE(MarkFormList->Objects(note)->isVisible());
    EXPECT_LT(MarkFormList->IndexOf(Id(2)), 0);
    EXPECT_EQ(Form->CmbCategory->count(), 3);
    EXPECT_EQ(Grid()->topLevelItemCount(), 2);

    // The exit procedure writes where the note is when the program ends.
    MarkFormList->Objects(note)->move(300, 200);
    RunExitProcs();
    EXPECT_EQ(StoredTask(Id(1)).MarkFormLeft, 300);
    EXPECT_EQ(StoredTask(Id(1)).MarkFormTop, 200);
}

TEST_F(MainWindowTest, DeletingATaskStopsItsReminderAndClosesItsNote)
{
    XMLOperation->AddTask(RemindedTaskWithNote(Id(1)));
    ShowActive();
    ASSERT_GE(MarkFormList->IndexOf(Id(1)), 0);
    QPointer<QWidget> note = MarkFormList->Objects(MarkFormList->IndexOf(Id(1)));
    ClickRow(Id(1));
    SeenModal seen([](QWidget* box) { ClickMessageBoxButton(box, QMessageBox::Yes); });
    QTest::keyClick(Grid(), Qt::Key_Delete);
    ASSERT_TRUE(seen.Opened);
    EXPECT_FALSE(XMLOperation->HasTask(Id(1)));
    EXPECT_LT(ReminderThreadList->IndexOf(Id(1)), 0);
    EXPECT_LT(MarkFormList->IndexOf(Id(1)), 0);
    EXPECT_TRUE(note.isNull() || !note->isVisible());
    EXPECT_FALSE(XMLOperation->HasTask(Id(1))); // closing the note wrote nothing back
}

TEST_F(MainWindowTest, DeleteWithoutAFocusedTaskAsksNothing)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("keep")));
    ShowActive();
    SeenModal seen;
    QTest::keyClick(Grid(), Qt::Key_Delete);
    QTest::keyClick(Grid(), Qt::Key_D, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(seen.Opened);
    EXPECT_TRUE(XMLOperation->HasTask(Id(1)));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, TheDoneBoxWritesTheStoreAndMovesTheRow)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("first")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("second")));
    XMLOperation->AddTask(MakeTask(Id(3), QStringLiteral("third")));
    ChangeSetting([](TSettingInfo& s) { s.DoneTaskPutInBottom = true; });
    ShowActive();

    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, DoneBoxCentre(Id(1)));
    EXPECT_EQ(StoredTask(Id(1)).TaskState, QStringLiteral("true"));
    EXPECT_EQ(RowIds(), QStringList({Id(2), Id(3), Id(1)}));
    EXPECT_EQ(Row(Id(1))->checkState(CxTreeListColTaskState), Qt::Checked);
    EXPECT_EQ(FocusedId(), Id(1)); // the row moved and stayed focused

    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, DoneBoxCentre(Id(1)));
    EXPECT_EQ(StoredTask(Id(1)).TaskState, QStringLiteral("false"));
    EXPECT_EQ(RowIds(), QStringList({Id(1), Id(2), Id(3)}));

    // Space on the focused row is the same as a click on its box.
    ClickRow(Id(3));
    QTest::keyClick(Grid(), Qt::Key_Space);
    EXPECT_EQ(StoredTask(Id(3)).TaskState, QStringLiteral("true"));

    // A click beside the box, on the name, changes nothing.
    ClickRow(Id(2));
    EXPECT_EQ(StoredTask(Id(2)).TaskState, QStringLiteral("false"));
    EXPECT_EQ(FocusedId(), Id(2));
}

TEST_F(MainWindowTest, AnEmptyStateIsTickedSoItsBoxWritesFalse)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("odd"), QStringLiteral("1"), QString()));
    ShowActive();
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, DoneBoxCentre(Id(1)));
    EXPECT_EQ(StoredTask(Id(1)).TaskState, QStringLiteral("false"));
}

TEST_F(MainWindowTest, SettingsOpenAndTheGridTakesTheFocusAndTheNewOrder)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("low"), QStringLiteral("2")));
    XMLOperation->AddTask(MakeTask(Id(2), QStringLiteral("high"), QStringLiteral("0")));
    ShowActive();
    Form->CmbCategory->setFocus();
    SeenModal seen([this](QWidget*) { ChangeSetting([](TSettingInfo& s) { s.SortByColumn = QStringLiteral("priority"); }); });
    QTest::mouseClick(Button(Form->ActOpeSetting), Qt::LeftButton);
    EXPECT_EQ(seen.Name, QStringLiteral("FrmSettingForm"));
    EXPECT_EQ(RowIds(), QStringList({Id(2), Id(1)}));
    EXPECT_EQ(Form->focusWidget(), Grid()); // what has the focus when the window is active
}

TEST_F(MainWindowTest, HelpCommandsOpenTheHomePageMailHelpFileAndAboutBox)
{
    SoftInfo.HomePage = QStringLiteral("https://taskwick.example/");
    SoftInfo.EMail = QStringLiteral("help@taskwick.example");
    SoftInfo.AppPath = Folder.Path() + QLatin1Char('/');
    QList<QUrl> opened;
    Platform::SetOpener([&opened](const Platform::OpenRequest& request) {
        opened << request.Url;
        return true;
    });
    ShowActive();
    QMenu* help = MenuBarMenu(Form.get(), QStringLiteral("&Help"));
    const QUrl home(QStringLiteral("https://taskwick.example/"));
    const QUrl mail(QStringLiteral("mailto:help@taskwick.example"));
    const QUrl file = QUrl::fromLocalFile(Folder.Path() + QStringLiteral("/Help.chm"));
    struct Case
    {
        const char* name;
        std::function<void()> use;
        QUrl expected;
    };
    const Case cases[] = {
        {"home page button", [&] { QTest::mouseClick(Button(Form->ActSysHomePage), Qt::LeftButton); }, home},
        {"e-mail button", [&] { QTest::mouseClick(Button(Form->ActSysEmail), Qt::LeftButton); }, mail},
        {"help button", [&] { QTest::mouseClick(Button(Form->ActSysHelp), Qt::LeftButton); }, file},
        {"Home Page", [&] { MenuItem(help, QStringLiteral("Home Page"))->trigger(); }, home},
        {"&Email", [&] { MenuItem(help, QStringLiteral("&Email"))->trigger(); }, mail},
        {"&Help", [&] { MenuItem(help, QStringLiteral("&Help"))->trigger(); }, file},
        {"tray Home&Page", [&] { MenuItem(Form->PopupMenu1, QStringLiteral("Home&Page"))->trigger(); }, home},
        {"tray &Email", [&] { MenuItem(Form->PopupMenu1, QStringLiteral("&Email"))->trigger(); }, mail},
        {"tray &Help", [&] { MenuItem(Form->PopupMenu1, QStringLiteral("&Help"))->trigger(); }, file},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        c.use();
        EXPECT_EQ(opened, QList<QUrl>({c.expected}));
    }
    opened.clear();
    for (QAction* about : {Form->ActSysAbout, MenuItem(help, QStringLiteral("&About")),
                           MenuItem(Form->PopupMenu1, QStringLiteral("&About"))}) {
        SeenModal seen;
        if (about == Form->ActSysAbout)
            QTest::mouseClick(Button(about), Qt::LeftButton);
        else
            about->trigger();
        EXPECT_EQ(seen.Name, QStringLiteral("FrmAboutForm"));
    }
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MainWindowTest, TheGridsMenuOpensOnARightClick)
{
    XMLOperation->AddTask(MakeTask(Id(1), QStringLiteral("first")));
    ShowActive();
    const QPoint at(100, Grid()->visualItemRect(Row(Id(1))).center().y());
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Grid()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(Grid()->viewport(), &event);
    EXPECT_TRUE(ProcessUntil([this] { return Form->PopupMenu2->isVisible(); }));
    Form->PopupMenu2->close();
}

TEST_F(MainWindowTest, CloseAndMinimiseHideIntoTheTrayWithTheBalloon)
{
    ShowForm();
    QSignalSpy balloons(Form.get(), &TFrmMainForm::BalloonShown);
    EXPECT_FALSE(Form->close()); // the close request is refused
    EXPECT_FALSE(Form->isVisible());
    ASSERT_EQ(balloons.size(), 1);
    EXPECT_EQ(balloons[0][0].toString(), QStringLiteral("Corvalen"));
    EXPECT_EQ(balloons[0][1].toString(), QStringLiteral("Taskwick is here"));
    EXPECT_EQ(balloons[0][2].toInt(), 10000);

    // A double-click on the tray icon brings it back, as "&Open" does.
    emit Form->TrayIcon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Form->isMinimized());
    emit Form->TrayIcon->activated(QSystemTrayIcon::Trigger); // a single click does nothing
    EXPECT_TRUE(Form->isVisible());

    Form->showMinimized();
    EXPECT_TRUE(ProcessUntil([this] { return !Form->isVisible(); }));
    EXPECT_EQ(balloons.size(), 2);
    MenuItem(Form->PopupMenu1, QStringLiteral("&Open"))->trigger();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Form->isMinimized());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Taskwick 1.0.0"));
}

TEST_F(MainWindowTest, WithoutANotificationAreaCloseAndMinimiseLeaveTheWindowOnTheTaskBar)
{
    TrayPresent = false;
    ShowForm();
    QSignalSpy balloons(Form.get(), &TFrmMainForm::BalloonShown);
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->isMinimized());
    Form->ActTrayMenuOpenExecute();
    EXPECT_FALSE(Form->isMinimized());
    Form->showMinimized();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->isMinimized());
    EXPECT_EQ(balloons.size(), 0);
}

TEST_F(MainWindowTest, OnlyExitEndsTheProgram)
{
    ShowForm();
    // A close request leaves the event loop running; only the later exit(7) ends it.
    QTimer::singleShot(0, Form.get(), [this] {
        Form->close();
        QTimer::singleShot(0, qApp, [] { QApplication::exit(7); });
    });
    EXPECT_EQ(QApplication::exec(), 7);

    for (QAction* exit : {MenuItem(MenuBarMenu(Form.get(), QStringLiteral("&File")), QStringLiteral("&Exit")),
                          MenuItem(Form->PopupMenu1, QStringLiteral("&Exit"))}) {
        ASSERT_NE(exit, nullptr);
        QTimer::singleShot(0, exit, &QAction::trigger);
        QTimer guard; // ends the loop should Exit do nothing
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(7); });
        guard.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(guard.isActive());
    }
}

TEST_F(MainWindowTest, MinimizeOnStartStartsInTheTrayWithTheBalloon)
{
    ChangeSetting([](TSettingInfo& s) { s.MinimizeOnStart = true; });
    CreateForm();
    QSignalSpy balloons(Form.get(), &TFrmMainForm::BalloonShown);
    Form->ShowAtStart();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(ProcessUntil([&] { return balloons.size() == 1; }));
    EXPECT_EQ(balloons[0][1].toString(), QStringLiteral("Taskwick is here"));
    EXPECT_TRUE(Form->TrayIcon->isVisible());
    emit Form->TrayIcon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Taskwick 1.0.0"));

    // Without the setting the window shows and no balloon comes.
    ChangeSetting([](TSettingInfo& s) { s.MinimizeOnStart = false; });
    CreateForm();
    QSignalSpy none(Form.get(), &TFrmMainForm::BalloonShown);
    Form->ShowAtStart();
    EXPECT_TRUE(Form->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(none.size(), 0);
}

TEST_F(MainWindowTest, MinimizeOnStartWithoutANotificationAreaStartsMinimised)
{
    TrayPresent = false;
    ChangeSetting([](TSettingInfo& s) { s.MinimizeOnStart = true; });
    ShowForm();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->isMinimized());
}

TEST_F(MainWindowTest, OpacityFollowsTheTransparencySetting)
{
    struct Case
    {
        bool on;
        int value;
        int alpha;
    };
    const Case cases[] = {{true, 220, 220}, {true, 0, 0}, {true, 300, 44}, {true, 255, 255},
                          {false, 220, 255}, {false, 0, 255}};
    ShowForm();
    QWidget dialog;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ChangeSetting([&](TSettingInfo& s) {
            s.AlphaBlendState = c.on;
            s.AlphaBlendValue = c.value;
        });
        Form->hide();
        Form->ActTrayMenuOpenExecute(); // every show applies the setting
        EXPECT_NEAR(Form->windowOpacity(), c.alpha / 255.0, 0.002);
        ApplyWindowAppearance(&dialog);
        EXPECT_NEAR(dialog.windowOpacity(), c.alpha / 255.0, 0.002);
    }
}

TEST_F(MainWindowTest, TheWindowSitsInTheBottomRightCornerOfTheWorkArea)
{
    ShowForm();
    const QRect area = Platform::WorkArea();
    // Placed before the first show, and again once the frame is known.
    EXPECT_TRUE(ProcessUntil([&] { return Form->frameGeometry().bottomRight() == area.bottomRight(); }));
    EXPECT_EQ(Form->pos(), BottomRightPlace(area, Form->frameGeometry().size()));
    Form->move(0, 0);
    PlaceMainForm();
    EXPECT_EQ(Form->frameGeometry().bottomRight(), area.bottomRight());
}

} // namespace
