// Lowering and raising the stay-on-top state of a window that is already on screen.
#include "Platform.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef TASKWICK_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace Platform {

namespace {

#ifdef TASKWICK_HAVE_XCB
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void SendToRoot(xcb_connection_t* connection, const xcb_screen_t* screen, const xcb_client_message_event_t& message)
{
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

// A window manager takes a mapped window's states only from a request sent to the root
// window; Qt changes them only while the window is unmapped. The EWMH _NET_WM_STATE request
// is what current window managers read; window managers that keep windows in layers (IceWM)
// read the older _WIN_LAYER request.
void RequestAbove(QWindow* window, bool above)
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t state = InternAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t aboveState = InternAtom(connection, "_NET_WM_STATE_ABOVE");
    const xcb_atom_t staysOnTop = InternAtom(connection, "_NET_WM_STATE_STAYS_ON_TOP");
    if (!screen || state == XCB_ATOM_NONE || aboveState == XCB_ATOM_NONE)
        return;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = state;
    message.data.data32[0] = above ? 1 : 0; // _NET_WM_STATE_ADD, _NET_WM_STATE_REMOVE
    message.data.data32[1] = aboveState;
    message.data.data32[2] = staysOnTop;
    message.data.data32[3] = 1; // from an ordinary application
    SendToRoot(connection, screen, message);

    const xcb_atom_t layer = InternAtom(connection, "_WIN_LAYER");
    if (layer != XCB_ATOM_NONE) {
        xcb_client_message_event_t layerMessage = message;
        layerMessage.type = layer;
        layerMessage.data.data32[0] = above ? 6 : 4; // the "on top" and the normal layer
        layerMessage.data.data32[1] = 0;
        layerMessage.data.data32[2] = 0;
        layerMessage.data.data32[3] = 0;
        SendToRoot(connection, screen, layerMessage);
    }
    xcb_flush(connection);
}
#endif

} // namespace

void SetKeptAbove(QWidget* window, bool above)
{
    QWindow* handle = window->windowHandle();
    if (!handle)
        return;
    // Qt's own idea of the window, which it writes again whenever it maps the window.
    handle->setFlag(Qt::WindowStaysOnTopHint, above);
#ifdef TASKWICK_HAVE_XCB
    if (handle->isVisible())
        RequestAbove(handle, above);
#endif
}

} // namespace Platform
