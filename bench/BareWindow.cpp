// The floor to compare start-up with: a bare Qt Widgets window with the main window's widgets
// (menu bar, tool bar with a selector, a seven-column grid, a status bar, a tray icon) and
// nothing behind them.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QTreeWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkCyan);
    const QIcon icon(pixmap);

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    for (const char* item : {"Add Task ...", "Edit Task", "Delete Task", "&Setting", "&Exit"})
        file->addAction(QString::fromLatin1(item));
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    for (const char* item : {"Home Page", "&Email", "&Help", "&About"})
        help->addAction(QString::fromLatin1(item));

    QToolBar* tools = window.addToolBar(QStringLiteral("Tools"));
    for (int i = 0; i < 8; ++i)
        tools->addAction(icon, QString());
    auto* selector = new QComboBox();
    selector->addItem(icon, QStringLiteral("Personal"));
    selector->addItem(icon, QStringLiteral("All"));
    tools->addWidget(selector);

    auto* grid = new QTreeWidget();
    grid->setColumnCount(7);
    grid->setHeaderLabels({QString(), QString(), QStringLiteral("Priority"), QStringLiteral("Task"),
                           QStringLiteral("Catetory"), QStringLiteral("Reminder"), QStringLiteral("Due Date")});
    grid->setRootIsDecorated(false);
    window.setCentralWidget(grid);
    window.statusBar()->showMessage(QStringLiteral(" Task Count : 0"));

    QSystemTrayIcon tray(icon);
    tray.show();
    window.resize(541, 361);
    window.show();
    return app.exec();
}
