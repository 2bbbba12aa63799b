#include "MainForm.h"

#include "Application.h"
#include "uFunction.h"

#include <QApplication>
#include <QShowEvent>

TFrmMainForm* FrmMainForm = nullptr;

TFrmMainForm::TFrmMainForm(QWidget* parent) : QMainWindow(parent)
{
    FrmMainForm = this;
    setObjectName(QStringLiteral("FrmMainForm"));
    setWindowTitle(ApplicationTitle());
    auto* client = new QWidget(this);
    client->setFixedSize(541, 361);
    setCentralWidget(client);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    RunCommand([this] { FormCreate(); });
}

void TFrmMainForm::FormCreate() {}

void TFrmMainForm::ShowAtStart()
{
    if (FShowOnStart)
        show();
}

void TFrmMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmMainForm::FormShow()
{
    setWindowTitle(ApplicationTitle());
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
    QApplication::quit();
}
