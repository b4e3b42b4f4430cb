#include "X11Taskbar.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstring>
#include <vector>

namespace {

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

xcb_window_t RootOf(xcb_connection_t *connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t *reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const xcb_window_t root = reply ? reply->root : xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::free(reply);
    return root;
}

void AskWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t state, xcb_atom_t skip,
                      bool on)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = state;
    message.data.data32[0] = on ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
    message.data.data32[1] = skip;
    message.data.data32[3] = 1; // from an application
    xcb_send_event(connection, 0, RootOf(connection, window),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
}

void EditProperty(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t state, xcb_atom_t skip, bool on)
{
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    std::erase(atoms, skip);
    if (on)
        atoms.push_back(skip);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
}

} // namespace

void SetSkipTaskbar(QWidget *window, bool skip, bool mapped)
{
    // Only a real X11 display: the offscreen platform answers as X11 too, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    xcb_connection_t *connection = x11->connection();
    if (!connection)
        return;
    const auto handle = xcb_window_t(window->winId());
    const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipAtom = Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipAtom == XCB_ATOM_NONE)
        return;
    if (mapped)
        AskWindowManager(connection, handle, state, skipAtom, skip);
    else
        EditProperty(connection, handle, state, skipAtom, skip);
    xcb_flush(connection);
}
