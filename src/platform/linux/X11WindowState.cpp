#include "platform/linux/X11WindowState.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <array>
#include <vector>

namespace qb::platform {
namespace {

// The atoms of the names, asked for all at once: one round trip to the server, not one each.
template <size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t* connection,
                                      const std::array<const char*, N>& names) {
    std::array<xcb_intern_atom_cookie_t, N> cookies;
    for (size_t i = 0; i < N; ++i)
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> atoms;
    for (size_t i = 0; i < N; ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
    }
    return atoms;
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
    const auto [state, skipTaskbar, skipPager] = internAtoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const std::array<xcb_atom_t, 2> skips{skipTaskbar, skipPager};
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
