#include "Tray.h"

#include <limits>
#include <stdexcept>

#include "Big5Codec.h"

namespace qb {
namespace {

constexpr std::uint32_t kRecordSize = 88;
constexpr size_t kTipChars = 64;
constexpr size_t kTipOffset = 24;
constexpr std::uint32_t kAllFields = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;

void put32(platform::IconRecord& record, size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

platform::IconRecord baseRecord(std::uint32_t window, std::int32_t identifier) {
    platform::IconRecord record{};
    put32(record, 0, kRecordSize);
    put32(record, 4, window);
    put32(record, 8, static_cast<std::uint32_t>(identifier));
    put32(record, 12, kAllFields);
    return record;
}

}  // namespace

platform::IconRecord Tray::addRecord(std::uint32_t ownerWindow, std::int32_t identifier,
                                     std::uint32_t callbackMessage, std::uint32_t icon,
                                     const std::u16string& tip) {
    platform::IconRecord record = baseRecord(ownerWindow, identifier);
    put32(record, 16, callbackMessage);
    put32(record, 20, icon);
    std::u16string field = tip + u'\0';
    field.resize(kTipChars, u' ');  // cuts a longer text, fills a shorter one with blanks
    static Big5Codec codec;
    const std::string bytes = codec.encode(field);
    for (size_t i = 0; i < kTipChars && i < bytes.size(); ++i)
        record[kTipOffset + i] = static_cast<std::uint8_t>(bytes[i]);
    return record;
}

platform::IconRecord Tray::removeRecord(std::uint32_t ownerWindow, std::int32_t identifier) {
    return baseRecord(ownerWindow, identifier);
}

std::int32_t Tray::AddTrayIcon(std::uint32_t ownerWindow, std::uint32_t callbackMessage,
                               std::uint32_t icon, const std::u16string& tip) {
    if (TrayIconCount_ == std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("no tray icon identifier is left");
    const std::int32_t identifier = ++TrayIconCount_;
    const platform::IconRecord record =
        addRecord(ownerWindow, identifier, callbackMessage, icon, tip);
    if (!TrayIconWindows_) TrayIconWindows_.emplace();
    (*TrayIconWindows_)[std::to_string(identifier)] = ownerWindow;
    area_.Shell_NotifyIcon(platform::NIM_ADD, record);
    return identifier;
}

void Tray::RemoveTrayIcon(std::int32_t identifier) {
    if (!TrayIconWindows_) throw std::out_of_range("no tray icon was ever added");
    const std::uint32_t window = TrayIconWindows_->at(std::to_string(identifier));
    area_.Shell_NotifyIcon(platform::NIM_DELETE, removeRecord(window, identifier));
}

}  // namespace qb
