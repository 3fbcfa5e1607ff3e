#include "platform/linux/X11WindowState.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <array>
#include <vector>

namespace qb::platform {
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
}

std::vector<xcb_atom_t> stateOf(xcb_connection_t* connection, xcb_window_t window,
                                xcb_atom_t state) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024),
        nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(first, first + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return atoms;
}

}  // namespace

void setSkipTaskbar(QWindow& window, bool skip, WindowStage stage) {
    // The offscreen platform answers for X11 too, with no connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr) return;
    xcb_connection_t* connection = x11->connection();
    if (connection == nullptr) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const std::array<xcb_atom_t, 2> skips{internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                          internAtom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (stage == WindowStage::Managed) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = state;
        message.data.data32[0] = skip ? 1 : 0;  // add or remove
        message.data.data32[1] = skips[0];
        message.data.data32[2] = skips[1];
        message.data.data32[3] = 1;  // from an application
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
    } else {
        std::vector<xcb_atom_t> atoms = stateOf(connection, id, state);
        std::erase_if(atoms, [&](xcb_atom_t a) { return a == skips[0] || a == skips[1]; });
        if (skip) atoms.insert(atoms.end(), skips.begin(), skips.end());
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(atoms.size()), atoms.data());
    }
    xcb_flush(connection);
}

}  // namespace qb::platform
