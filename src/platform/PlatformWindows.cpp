#include "Platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

namespace Platform {

QRect WorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void SetWindowAlpha(QWidget* window, int alpha)
{
    window->setWindowOpacity(qBound(0, alpha, 255) / 255.0);
}

void Beep()
{
    QApplication::beep();
}

bool HasNotificationArea()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Platform
