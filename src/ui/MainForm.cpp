#include "MainForm.h"

#include "Application.h"
#include "Func.h"
#include "BaseFunc.h"
#include "ImageList.h"
#include "Platform.h"
#include "TaskList.h"
#include "WindowAppearance.h"
#include "uFunction.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

TFrmMainForm* FrmMainForm = nullptr;

namespace {

std::function<bool()>& NotificationAreaCheck()
{
    static std::function<bool()> check;
    return check;
}

constexpr int BalloonMilliseconds = 10000;

QAction* NewAction(QObject* owner, const char* name, const QString& text)
{
    auto* action = new QAction(text, owner);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TFrmMainForm::TFrmMainForm(QWidget* parent) : QMainWindow(parent)
{
    FrmMainForm = this;
    setObjectName(QStringLiteral("FrmMainForm"));
    setWindowTitle(ApplicationTitle());
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(ApplicationImage());
    setWindowIcon(ApplicationImage());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(541, 361);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateTaskList();
    CreateStatusBar();
    CreateTrayIcon();

    RunCommand([this] { TrayIconStartup(FShowOnStart); });
    RunCommand([this] { FormCreate(); });
}

TFrmMainForm::~TFrmMainForm()
{
    if (FrmMainForm == this)
        FrmMainForm = nullptr;
}

void TFrmMainForm::SetNotificationAreaCheck(std::function<bool()> check)
{
    NotificationAreaCheck() = std::move(check);
}

bool TFrmMainForm::NotificationAreaPresent()
{
    const auto& check = NotificationAreaCheck();
    return check ? check() : Platform::HasNotificationArea();
}

// ---- building the window -------------------------------------------------------------

void TFrmMainForm::CreateActions()
{
    ActOpeAddTask = NewAction(this, "ActOpeAddTask", tr("Add Task ..."));
    ActOpeAddTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    ActOpeAddTask->setIcon(ToolBarImage(QStringLiteral("addtask")));
    ActOpeAddTask->setToolTip(tr("Add Task"));
    connect(ActOpeAddTask, &QAction::triggered, this, [this] { RunCommand([this] { ActOpeAddTaskExecute(); }); });

    ActOpeEditTask = NewAction(this, "ActOpeEditTask", tr("Edit Task"));
    ActOpeEditTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ActOpeEditTask->setIcon(ToolBarImage(QStringLiteral("edittask")));
    ActOpeEditTask->setToolTip(tr("Edit Task"));
    connect(ActOpeEditTask, &QAction::triggered, this, [this] { RunCommand([this] { ActOpeEditTaskExecute(); }); });

    ActOpeDelTask = NewAction(this, "ActOpeDelTask", tr("Delete Task"));
    ActOpeDelTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    ActOpeDelTask->setIcon(ToolBarImage(QStringLiteral("deletetask")));
    ActOpeDelTask->setToolTip(tr("Delete Task"));
    connect(ActOpeDelTask, &QAction::triggered, this, [this] { RunCommand([this] { ActOpeDelTaskExecute(); }); });

    ActOpeSetting = NewAction(this, "ActOpeSetting", tr("&Setting"));
    ActOpeSetting->setIcon(ToolBarImage(QStringLiteral("setting")));
    ActOpeSetting->setToolTip(tr("Setting"));
    connect(ActOpeSetting, &QAction::triggered, this, [this] { RunCommand([this] { ActOpeSettingExecute(); }); });

    // The help commands have no caption of their own: each menu item carries its own.
    ActSysHomePage = NewAction(this, "ActSysHomePage", QString());
    ActSysHomePage->setIcon(ToolBarImage(QStringLiteral("homepage")));
    ActSysHomePage->setToolTip(tr("Home Page"));
    connect(ActSysHomePage, &QAction::triggered, this, [this] { RunCommand([this] { ActSysHomePageExecute(); }); });

    ActSysEmail = NewAction(this, "ActSysEmail", QString());
    ActSysEmail->setIcon(ToolBarImage(QStringLiteral("email")));
    ActSysEmail->setToolTip(tr("Email"));
    connect(ActSysEmail, &QAction::triggered, this, [this] { RunCommand([this] { ActSysEmailExecute(); }); });

    ActSysHelp = NewAction(this, "ActSysHelp", QString());
    ActSysHelp->setIcon(ToolBarImage(QStringLiteral("help")));
    ActSysHelp->setToolTip(tr("Help"));
    connect(ActSysHelp, &QAction::triggered, this, [this] { RunCommand([this] { ActSysHelpExecute(); }); });

    ActSysAbout = NewAction(this, "ActSysAbout", QString());
    ActSysAbout->setIcon(ToolBarImage(QStringLiteral("about")));
    ActSysAbout->setToolTip(tr("About"));
    connect(ActSysAbout, &QAction::triggered, this, [this] { RunCommand([this] { ActSysAboutExecute(); }); });

    ActTrayMenuOpen = NewAction(this, "ActTrayMenuOpen", tr("&Open"));
    connect(ActTrayMenuOpen, &QAction::triggered, this, [this] { RunCommand([this] { ActTrayMenuOpenExecute(); }); });

    ActTrayMenuExit = NewAction(this, "ActTrayMenuExit", tr("&Exit"));
    connect(ActTrayMenuExit, &QAction::triggered, this, [this] { RunCommand([this] { ActTrayMenuExitExecute(); }); });

    // The menu bar and the grid's menu show no pictures.
    for (QAction* action : {ActOpeAddTask, ActOpeEditTask, ActOpeDelTask, ActOpeSetting})
        action->setIconVisibleInMenu(false);
}

void TFrmMainForm::CreateMenus()
{
    // A menu item of its own for a help command: its caption, optionally the tool bar picture.
    const auto item = [this](QMenu* menu, const char* name, const QString& text, QAction* command, bool withIcon) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        if (withIcon)
            action->setIcon(command->icon());
        connect(action, &QAction::triggered, command, &QAction::trigger);
        return action;
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addActions({ActOpeAddTask, ActOpeEditTask, ActOpeDelTask});
    file->addSeparator();
    file->addAction(ActOpeSetting);
    file->addSeparator();
    file->addAction(ActTrayMenuExit);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    item(help, "MenuHomePage", tr("Home Page"), ActSysHomePage, false);
    item(help, "MenuEmail", tr("&Email"), ActSysEmail, false);
    item(help, "MenuHelpFile", tr("&Help"), ActSysHelp, false);
    item(help, "MenuAbout", tr("&About"), ActSysAbout, false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(ActTrayMenuOpen);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({ActOpeAddTask, ActOpeSetting});
    PopupMenu1->addSeparator();
    item(PopupMenu1, "TrayHomePage", tr("Home&Page"), ActSysHomePage, true);
    item(PopupMenu1, "TrayEmail", tr("&Email"), ActSysEmail, true);
    item(PopupMenu1, "TrayHelp", tr("&Help"), ActSysHelp, true);
    item(PopupMenu1, "TrayAbout", tr("&About"), ActSysAbout, true);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(ActTrayMenuExit);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addActions({ActOpeAddTask, ActOpeEditTask, ActOpeDelTask});
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(ActOpeSetting);
}

void TFrmMainForm::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(30);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar#ToolBar1 { border: none; padding: 0px; spacing: 0px;"
                                           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                                           " stop:0 #fdfdfd, stop:1 #d9dde4); }"));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    const auto button = [this](QAction* action) {
        ToolBar1->addAction(action);
        if (auto* tool = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action))) {
            tool->setFixedSize(31, 30);
            tool->setObjectName(action->objectName() + QStringLiteral("Button"));
            tool->setAccessibleName(action->toolTip());
            tool->setToolTip(action->toolTip());
        }
    };
    ToolBar1->addSeparator();
    for (QAction* action : {ActOpeAddTask, ActOpeEditTask, ActOpeDelTask, ActOpeSetting})
        button(action);
    ToolBar1->addSeparator();
    for (QAction* action : {ActSysHomePage, ActSysEmail, ActSysHelp, ActSysAbout})
        button(action);
    ToolBar1->addSeparator();

    auto* spring = new QWidget(ToolBar1);
    spring->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spring);

    auto* panel = new QWidget(ToolBar1);
    panel->setObjectName(QStringLiteral("PanelCategory"));
    panel->setFixedSize(235, 30);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(6);
    row->addStretch(1);
    LabCategory = new QLabel(tr("Category :"), panel);
    LabCategory->setObjectName(QStringLiteral("LabCategory"));
    CmbCategory = new QComboBox(panel);
    CmbCategory->setObjectName(QStringLiteral("CmbCategory"));
    CmbCategory->setEditable(false);
    CmbCategory->setFixedWidth(133);
    CmbCategory->setIconSize(QSize(16, 16));
    CmbCategory->setAccessibleName(tr("Category"));
    LabCategory->setBuddy(CmbCategory);
    row->addWidget(LabCategory);
    row->addWidget(CmbCategory);
    ToolBar1->addWidget(panel);
    connect(CmbCategory, &QComboBox::activated, this, [this] { RunCommand([this] { CmbCategoryClick(); }); });
}

void TFrmMainForm::CreateTaskList()
{
    TreeListTaskList = new QTreeWidget(this);
    TreeListTaskList->setObjectName(QStringLiteral("TreeListTaskList"));
    FTaskListDelegate = SetupTaskListGrid(TreeListTaskList);
    setCentralWidget(TreeListTaskList);

    TreeListTaskList->installEventFilter(this);
    TreeListTaskList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeListTaskList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(TreeListTaskList->viewport()->mapToGlobal(pos)); });
    connect(TreeListTaskList, &QAbstractItemView::doubleClicked, this,
            [this] { RunCommand([this] { ActOpeEditTaskExecute(); }); });
    connect(FTaskListDelegate, &TTaskListDelegate::DoneBoxClicked, this,
            [this] { RunCommand([this] { CxTreeListColTaskStatePropertiesEditValueChanged(); }); });
}

void TFrmMainForm::CreateStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusBarPanel0 = new QLabel(tr("Task Count :"), StatusBar);
    StatusBarPanel0->setObjectName(QLatin1String(TaskCountPanelName));
    StatusBarPanel0->setFixedWidth(200);
    StatusBarPanel1 = new QLabel(StatusBar);
    StatusBarPanel1->setObjectName(QStringLiteral("StatusBarPanel1"));
    StatusBarPanel1->setFixedWidth(50);
    StatusBarPanel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusBar->addWidget(StatusBarPanel0);
    StatusBar->addWidget(StatusBarPanel1);
    setStatusBar(StatusBar);
}

void TFrmMainForm::CreateTrayIcon()
{
    TrayIcon = new QSystemTrayIcon(TrayImage(), this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setToolTip(ApplicationTitle());
    TrayIcon->setContextMenu(PopupMenu1);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            RunCommand([this] { ActTrayMenuOpenExecute(); });
    });
    TrayIcon->show();
}

QMenu* TFrmMainForm::createPopupMenu()
{
    return nullptr; // the tool bar cannot be hidden
}

// ---- creation, showing and hiding -----------------------------------------------------

void TFrmMainForm::TrayIconStartup(bool& showMainForm)
{
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    if (setting.MinimizeOnStart) {
        showMainForm = false;
        // Once the event loop runs, so that the icon has its place in the tray.
        QTimer::singleShot(0, this, [this] { ShowBalloon(); });
    }
}

void TFrmMainForm::FormCreate()
{
    AddExitProc(SaveMarkFormPositions);
    PlaceMainForm();
    ShowDesktopNotes();
    StartAllReminders();
    FillCategoryFilter(CmbCategory);
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::ShowAtStart()
{
    if (FShowOnStart)
        show();
    else if (!NotificationAreaPresent())
        showMinimized(); // no tray to start in: start on the task bar
}

void TFrmMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    RunCommand([this] { FormShow(); });
    if (!FPlacedWithFrame) {
        // The outer size is known once the window manager has framed the window.
        FPlacedWithFrame = true;
        QTimer::singleShot(0, this, [this] { PlaceWhenFramed(20); });
    }
}

void TFrmMainForm::PlaceWhenFramed(int attemptsLeft)
{
    if (!isVisible())
        return;
    if (frameGeometry().size() == size() && attemptsLeft > 0) {
        QTimer::singleShot(50, this, [this, attemptsLeft] { PlaceWhenFramed(attemptsLeft - 1); });
        return;
    }
    RunCommand([] { PlaceMainForm(); });
}

void TFrmMainForm::FormShow()
{
    ApplyWindowAppearance(this);
    setWindowTitle(ApplicationTitle());
}

void TFrmMainForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (NotificationAreaPresent())
        HideIntoTray();
    else
        showMinimized();
}

void TFrmMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible() && NotificationAreaPresent()) {
        // Hidden once the state change is through; a window restored meanwhile stays.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && isVisible())
                HideIntoTray();
        });
    }
}

void TFrmMainForm::HideIntoTray()
{
    hide();
    RunCommand([this] { TrayIconMinimizeToTray(); });
}

void TFrmMainForm::TrayIconMinimizeToTray()
{
    ShowBalloon();
}

void TFrmMainForm::ShowBalloon()
{
    const QString title = tr("Corvalen");
    const QString text = tr("Taskwick is here");
    TrayIcon->showMessage(title, text, QSystemTrayIcon::Information, BalloonMilliseconds);
    emit BalloonShown(title, text, BalloonMilliseconds);
}

void TFrmMainForm::ActTrayMenuOpenExecute()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFrmMainForm::ActTrayMenuExitExecute()
{
    // Ends the event loop at once; quit() would first ask every window to close, and the
    // main window refuses.
    QApplication::exit(0);
}

// ---- commands -------------------------------------------------------------------------

void TFrmMainForm::ActOpeAddTaskExecute()
{
    OpenAddTask();
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::ActOpeEditTaskExecute()
{
    const QTreeWidgetItem* row = TreeListTaskList->currentItem();
    if (!row)
        return;
    const QString id = row->text(CxTreeListColTaskID);
    OpenEditTask(this, id);
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::ActOpeDelTaskExecute()
{
    const QTreeWidgetItem* row = TreeListTaskList->currentItem();
    if (!row)
        return;
    const QString id = row->text(CxTreeListColTaskID);
    if (ShowMsg(tr("Are you sure you want to delete this task ?"), MsgYesNo) != IDYES)
        return;
    XMLOperation->DeleteTask(id);
    // A deleted task keeps neither its reminder nor its note.
    StopTaskReminder(id);
    CloseDesktopNote(id);
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::ActOpeSettingExecute()
{
    OpenSettings();
    if (isVisible())
        TreeListTaskList->setFocus();
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::ActSysHomePageExecute()
{
    OpenHomePage();
}

void TFrmMainForm::ActSysEmailExecute()
{
    OpenMail();
}

void TFrmMainForm::ActSysHelpExecute()
{
    OpenHelp();
}

void TFrmMainForm::ActSysAboutExecute()
{
    ShowAboutBox();
}

void TFrmMainForm::CmbCategoryClick()
{
    const QString value = CmbCategory->currentData().toString();
    if (value == QLatin1String("edit")) {
        OpenCategoryManager(this);
        FillCategoryFilter(CmbCategory);
    }
    else
        XMLOperation->SaveDisplayFilter(value);
    RefreshTaskList(TreeListTaskList);
}

void TFrmMainForm::CxTreeListColTaskStatePropertiesEditValueChanged()
{
    if (const QTreeWidgetItem* row = TreeListTaskList->currentItem()) {
        const bool wasDone = row->checkState(CxTreeListColTaskState) == Qt::Checked;
        XMLOperation->SetTaskState(row->text(CxTreeListColTaskID),
                                   wasDone ? QStringLiteral("false") : QStringLiteral("true"));
    }
    RefreshTaskList(TreeListTaskList);
}

bool TFrmMainForm::TreeListTaskListKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Delete)
        return false;
    RunCommand([this] { ActOpeDelTaskExecute(); });
    return true;
}

bool TFrmMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeListTaskList && event->type() == QEvent::KeyPress)
        return TreeListTaskListKeyDown(static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

// ---- the category selector ------------------------------------------------------------

void FillCategoryFilter(QComboBox* selector)
{
    selector->clear();
    Tcategorylist categories;
    XMLOperation->GetCategoryList(categories);
    for (const TCategoryInfo& category : categories)
        selector->addItem(CategoryImage(category.CategoryIconID), category.CategoryName, category.ID);
    selector->addItem(CategoryImage(ImageAll), QCoreApplication::translate("TFrmMainForm", "All"),
                      QStringLiteral("all"));
    selector->addItem(CategoryImage(ImageEditCategories),
                      QCoreApplication::translate("TFrmMainForm", "Edit Categories"), QStringLiteral("edit"));

    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    int chosen = selector->count() - 2; // "All" when no entry carries the stored filter
    for (int i = 0; i < selector->count(); ++i)
        if (selector->itemData(i).toString() == setting.DisplayFilter) {
            chosen = i;
            break;
        }
    selector->setCurrentIndex(chosen);
}
