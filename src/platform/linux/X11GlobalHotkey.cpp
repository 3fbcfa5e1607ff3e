#include "platform/linux/X11GlobalHotkey.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QTimer>
#include <QtGlobal>
#include <algorithm>
#include <cstdlib>

namespace qb::platform {
namespace {

constexpr uint32_t kKeysymZ = 0x007a;
constexpr uint32_t kKeysymAltL = 0xffe9;
constexpr uint32_t kKeysymAltR = 0xffea;
constexpr uint32_t kKeysymNumLock = 0xff7f;
constexpr uint32_t kKeysymScrollLock = 0xff14;
constexpr uint8_t kBadAccess = 10;
// Shift, Lock, Control and Mod1 to Mod5; the bits above are buttons and the keyboard group.
constexpr uint16_t kModifierBits = 0xff;

// A Wayland session runs us through XWayland, whose root window only sees the keys meant for
// X11 windows: a grab there would seem to work and never fire in a native window.
bool onWaylandSession() {
    return qgetenv("XDG_SESSION_TYPE") == "wayland" || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

struct KeyboardMap {
    uint8_t firstKeycode = 0;
    uint8_t keysymsPerKeycode = 0;
    std::vector<uint32_t> keysyms;

    std::vector<uint8_t> keycodesOf(uint32_t keysym) const {
        std::vector<uint8_t> found;
        for (size_t i = 0; keysymsPerKeycode != 0 && i < keysyms.size(); ++i)
            if (keysyms[i] == keysym) {
                const auto keycode = static_cast<uint8_t>(firstKeycode + i / keysymsPerKeycode);
                if (std::find(found.begin(), found.end(), keycode) == found.end())
                    found.push_back(keycode);
            }
        return found;
    }
};

KeyboardMap keyboardMap(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    KeyboardMap map;
    map.firstKeycode = setup->min_keycode;
    const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr);
    if (reply == nullptr) return map;
    map.keysymsPerKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t* first = xcb_get_keyboard_mapping_keysyms(reply);
    map.keysyms.assign(first, first + xcb_get_keyboard_mapping_keysyms_length(reply));
    free(reply);
    return map;
}

// The modifier bits that any of the keycodes sets, by the server's modifier map.
uint16_t modifierMaskOf(xcb_connection_t* connection, const std::vector<uint8_t>& keycodes) {
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (reply == nullptr) return 0;
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply);
    uint16_t mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < reply->keycodes_per_modifier; ++i) {
            const xcb_keycode_t keycode = map[modifier * reply->keycodes_per_modifier + i];
            if (keycode != 0 &&
                std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end())
                mask |= static_cast<uint16_t>(1u << modifier);
        }
    free(reply);
    return mask;
}

// Every set of `modifiers` with any of the lock bits in `locks` added: 2^n sets for n lock
// bits, each once.
std::vector<uint16_t> withEveryLockCombination(uint16_t modifiers, uint16_t locks) {
    std::vector<uint16_t> bits;
    for (uint16_t bit = 1; bit != 0 && bit <= locks; bit = static_cast<uint16_t>(bit << 1))
        if ((locks & bit) != 0 && (modifiers & bit) == 0) bits.push_back(bit);
    std::vector<uint16_t> sets;
    for (uint32_t chosen = 0; chosen < (1u << bits.size()); ++chosen) {
        uint16_t set = modifiers;
        for (size_t i = 0; i < bits.size(); ++i)
            if ((chosen & (1u << i)) != 0) set |= bits[i];
        sets.push_back(set);
    }
    return sets;
}

}  // namespace

X11GlobalHotkey::~X11GlobalHotkey() {
    if (connection_ == nullptr) return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    ungrab();
}

HotkeyGrab X11GlobalHotkey::grab(std::function<void()> pressed) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (onWaylandSession() || QGuiApplication::platformName() != QLatin1String("xcb") ||
        x11 == nullptr || x11->connection() == nullptr)
        return HotkeyGrab::NotOnThisDesktop;
    xcb_connection_t* connection = x11->connection();
    const KeyboardMap map = keyboardMap(connection);
    std::vector<uint8_t> keycodes = map.keycodesOf(kKeysymZ);
    if (keycodes.empty()) return HotkeyGrab::NotOnThisDesktop;  // a keyboard without a z
    uint16_t alt = modifierMaskOf(connection, [&] {
        std::vector<uint8_t> alts = map.keycodesOf(kKeysymAltL);
        for (const uint8_t k : map.keycodesOf(kKeysymAltR)) alts.push_back(k);
        return alts;
    }());
    if (alt == 0) alt = XCB_MOD_MASK_1;
    const uint16_t numLock = modifierMaskOf(connection, map.keycodesOf(kKeysymNumLock));
    const uint16_t scrollLock = modifierMaskOf(connection, map.keycodesOf(kKeysymScrollLock));

    connection_ = connection;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    keycodes_ = std::move(keycodes);
    modifiers_ = static_cast<uint16_t>(XCB_MOD_MASK_CONTROL | alt);
    locks_ = static_cast<uint16_t>((XCB_MOD_MASK_LOCK | numLock | scrollLock) & ~modifiers_);
    grabbed_ = withEveryLockCombination(modifiers_, locks_);

    // All asked for first and the answers read afterwards: one round trip, not one a grab.
    std::vector<xcb_void_cookie_t> cookies;
    for (const uint8_t keycode : keycodes_)
        for (const uint16_t set : grabbed_)
            cookies.push_back(xcb_grab_key_checked(connection, 0, root_, set, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool refused = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        xcb_generic_error_t* error = xcb_request_check(connection, cookie);
        // Only another client's grab refuses one (BadAccess); we still read every answer.
        if (error != nullptr) refused = true;
        if (error != nullptr && error->error_code != kBadAccess)
            qWarning("Ctrl+Alt+Z: the X server refused the grab (error %d)", error->error_code);
        free(error);
    }
    if (refused) {
        // Half a key would fire with some lock keys on and not with others.
        ungrab();
        connection_ = nullptr;
        return HotkeyGrab::HeldByAnother;
    }
    pressed_ = std::move(pressed);
    QCoreApplication::instance()->installNativeEventFilter(this);
    return HotkeyGrab::Ours;
}

void X11GlobalHotkey::ungrab() {
    for (const uint8_t keycode : keycodes_)
        for (const uint16_t set : grabbed_) xcb_ungrab_key(connection_, keycode, root_, set);
    xcb_flush(connection_);
    grabbed_.clear();
}

bool X11GlobalHotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != root_ ||
        std::find(keycodes_.begin(), keycodes_.end(), key->detail) == keycodes_.end() ||
        (key->state & kModifierBits & ~locks_) != modifiers_)
        return false;
    // After Qt's handling of this event: what the press leads to reads the selection, which
    // waits on the X connection this event came from. The release goes too: Qt has no window
    // for it.
    if (type == XCB_KEY_PRESS && pressed_) QTimer::singleShot(0, qApp, pressed_);
    return true;
}

}  // namespace qb::platform
