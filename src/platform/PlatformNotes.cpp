// The window kinds of the desktop notes and the reminder pop-up.
#include "Platform.h"

#include <QWidget>

namespace Platform {

void MakeDesktopWindow(QWidget* window)
{
    // A tool window has no task-bar entry and no owner to be minimised with; kept below the
    // ordinary windows, it stays on the desktop when they are minimised.
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                           Qt::NoDropShadowWindowHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
}

void MakePopupWindow(QWidget* window)
{
    // No parent: the pop-up shows also while the main window is hidden in the tray.
    window->setParent(nullptr);
    window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

} // namespace Platform
