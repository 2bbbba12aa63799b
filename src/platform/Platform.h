// What the program needs of the desktop it runs on, behind one small interface.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

namespace Platform {

// The primary screen without the task bar and docked panels.
QRect WorkArea();

// Opacity from 0 (invisible) to 255 (opaque).
void SetWindowAlpha(QWidget* window, int alpha);

// The system's short sound.
void Beep();

// Whether the desktop shows tray icons; without one, windows minimise to the task bar.
bool HasNotificationArea();

// Documents, addresses and programs handed to the desktop. Tests put their own opener in
// place to see what would be opened without starting anything.
struct OpenRequest
{
    QUrl Url;            // set for documents and addresses
    QString Program;     // set for programs started directly
    QStringList Arguments;
};
using Opener = std::function<bool(const OpenRequest&)>;
bool OpenUrl(const QUrl& url);
bool StartProgram(const QString& program, const QStringList& arguments);
// The system's web browser program started with `address` as its argument.
bool StartWebBrowser(const QString& address);
void SetOpener(Opener opener); // an empty opener restores the desktop's

// The per-user autostart entry `<config>/autostart/<name>.desktop` that starts `executable`
// when the user logs in. Both return false and set `error` on failure.
QString AutostartEntryPath(const QString& name);
bool WriteAutostartEntry(const QString& name, const QString& executable, QString* error);
bool RemoveAutostartEntry(const QString& name, QString* error); // a missing entry is no error

// A frameless window that lives on the desktop: below ordinary windows, no task-bar entry,
// left in place when other windows are minimised, as far as the window manager allows.
void MakeDesktopWindow(QWidget* window);
// A small stay-on-top tool window with no task-bar entry, shown while the program is hidden.
void MakePopupWindow(QWidget* window);
// Whether a stay-on-top window keeps above ordinary windows; takes effect at once on a shown
// window. A modal dialog lowers them while it is open so that none covers it.
void SetKeptAbove(QWidget* window, bool above);

} // namespace Platform
