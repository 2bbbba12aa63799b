// The main window: the task list with its commands, the category selector and the tray icon.
#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QStatusBar;
class QSystemTrayIcon;
class QToolBar;
class QTreeWidget;
class TTaskListDelegate;

class TFrmMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrmMainForm(QWidget* parent = nullptr);
    ~TFrmMainForm() override;

    // Shows the window when the program starts, unless the start-up settings keep it hidden.
    void ShowAtStart();

    // Whether the desktop shows tray icons right now; tests put their own answer in place
    // (an empty function restores the desktop's).
    static void SetNotificationAreaCheck(std::function<bool()> check);

    // Controls, by their names.
    QToolBar* ToolBar1 = nullptr;
    QLabel* LabCategory = nullptr;
    QComboBox* CmbCategory = nullptr;
    QTreeWidget* TreeListTaskList = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* StatusBarPanel0 = nullptr; // the task count
    QLabel* StatusBarPanel1 = nullptr; // empty
    QSystemTrayIcon* TrayIcon = nullptr;
    QMenu* PopupMenu1 = nullptr; // the tray icon's menu
    QMenu* PopupMenu2 = nullptr; // the grid's menu

    // Commands.
    QAction* ActOpeAddTask = nullptr;
    QAction* ActOpeEditTask = nullptr;
    QAction* ActOpeDelTask = nullptr;
    QAction* ActOpeSetting = nullptr;
    QAction* ActSysHomePage = nullptr;
    QAction* ActSysEmail = nullptr;
    QAction* ActSysHelp = nullptr;
    QAction* ActSysAbout = nullptr;
    QAction* ActTrayMenuOpen = nullptr;
    QAction* ActTrayMenuExit = nullptr;

public slots:
    void ActOpeAddTaskExecute();
    void ActOpeEditTaskExecute();
    void ActOpeDelTaskExecute();
    void ActOpeSettingExecute();
    void ActSysHomePageExecute();
    void ActSysEmailExecute();
    void ActSysHelpExecute();
    void ActSysAboutExecute();
    void ActTrayMenuOpenExecute();
    void ActTrayMenuExitExecute();
    void CmbCategoryClick();
    void CxTreeListColTaskStatePropertiesEditValueChanged();

signals:
    // The tray balloon was shown with this title, text and duration.
    void BalloonShown(const QString& title, const QString& text, int milliseconds);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateTaskList();
    void CreateStatusBar();
    void CreateTrayIcon();

    void FormCreate();
    void FormShow();
    void TrayIconStartup(bool& showMainForm);
    void TrayIconMinimizeToTray();
    bool TreeListTaskListKeyDown(QKeyEvent* event);
    void ShowBalloon();
    void HideIntoTray();
    void PlaceWhenFramed(int attemptsLeft);
    static bool NotificationAreaPresent();

    bool FShowOnStart = true;
    bool FPlacedWithFrame = false;
    TTaskListDelegate* FTaskListDelegate = nullptr;
};

extern TFrmMainForm* FrmMainForm;
