#include "platform/windows/ShellNotificationArea.h"

#include <algorithm>
#include <cstring>

#include "platform/windows/NotifyIconFields.h"

namespace qb::platform {

namespace {

// The record's fields in either structure, zero-filled beyond them, so that a tip with no NUL
// of its own still ends inside the structure.
template <typename Data>
Data withRecordFields(const NotifyIconFields& fields, DWORD size) {
    Data data{};
    data.cbSize = size;
    data.hWnd = reinterpret_cast<HWND>(fields.window);
    data.uID = fields.identifier;
    data.uFlags = fields.flags;
    data.uCallbackMessage = fields.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(fields.icon);
    return data;
}

}  // namespace

NOTIFYICONDATAA ShellNotificationArea::notifyIconData(const IconRecord& record) {
    const NotifyIconFields fields = notifyIconFields(record);
    auto data = withRecordFields<NOTIFYICONDATAA>(fields, NOTIFYICONDATAA_V1_SIZE);
    static_assert(sizeof data.szTip >= sizeof fields.tip);
    std::memcpy(data.szTip, fields.tip.data(), fields.tip.size());
    return data;
}

NOTIFYICONDATAW ShellNotificationArea::wideNotifyIconData(const IconRecord& record,
                                                          std::u16string_view tip) {
    auto data =
        withRecordFields<NOTIFYICONDATAW>(notifyIconFields(record), NOTIFYICONDATAW_V1_SIZE);
    // The first version's tip holds 63 characters and the NUL; the structure's is longer.
    constexpr std::size_t kFirstVersionTip = 64;
    std::copy_n(tip.begin(), std::min(tip.size(), kFirstVersionTip - 1), data.szTip);
    return data;
}

bool ShellNotificationArea::sendWide(TrayCommand command, const IconRecord& record,
                                     std::u16string_view tip) {
    NOTIFYICONDATAW data = wideNotifyIconData(record, tip);
    return Shell_NotifyIconW(static_cast<DWORD>(command), &data) != FALSE;
}

bool ShellNotificationArea::send(TrayCommand command, const IconRecord& record) {
    NOTIFYICONDATAA data = notifyIconData(record);
    return Shell_NotifyIconA(static_cast<DWORD>(command), &data) != FALSE;
}

void ShellNotificationArea::notifyIcon(TrayCommand command, const IconRecord& record,
                                       std::u16string_view tip) {
    if (GetACP() == 950)
        send(command, record);
    else
        sendWide(command, record, tip);
}

// The shell's taskbar window holds the notification area. Under Wine it exists whenever
// there is a display: icons dock in the desktop's own tray when one runs, and in a small
// window of Wine's otherwise; with no display there is none, and adding an icon fails.
bool ShellNotificationArea::isAvailable() {
    return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

}  // namespace qb::platform
