// The window kinds of the desktop notes and the reminder pop-up.
#include "Platform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#ifdef TASKWICK_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace Platform {

namespace {

#ifdef TASKWICK_HAVE_XCB
xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}
#endif

// Adds the window states that keep a window off the task bar and the pager to its native
// window, while it is not yet mapped (Qt keeps states it finds there when it maps the window).
void SkipTaskBar(QWidget* window)
{
#ifdef TASKWICK_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                               Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || skip[0] == XCB_ATOM_NONE || skip[1] == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 2, skip);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

// Puts the task-bar states back each time the window is about to be mapped: a window
// manager drops a window's states when it is withdrawn.
class TSkipTaskBarFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            SkipTaskBar(static_cast<QWidget*>(watched));
        return false;
    }
};

void KeepOffTaskBar(QWidget* window)
{
    static const char* const installed = "taskwickKeepOffTaskBar";
    if (window->property(installed).toBool())
        return;
    window->setProperty(installed, true);
    window->installEventFilter(new TSkipTaskBarFilter(window));
}

} // namespace

void MakeDesktopWindow(QWidget* window)
{
    // A tool window has no owner to be minimised with; kept below the ordinary windows and
    // off the task bar, it stays on the desktop when they are minimised.
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                           Qt::NoDropShadowWindowHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    KeepOffTaskBar(window);
}

void MakePopupWindow(QWidget* window)
{
    // No parent: the pop-up shows also while the main window is hidden in the tray.
    window->setParent(nullptr);
    window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    KeepOffTaskBar(window);
}

} // namespace Platform
