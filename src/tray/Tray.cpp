#include "tray/Tray.h"

#include <limits>
#include <stdexcept>

#include "codepage/CodePage950.h"

namespace qb {
namespace {

namespace rec = platform::iconRecord;

constexpr std::uint32_t kAllFields =
    platform::kTrayMessage | platform::kTrayIcon | platform::kTrayTip;

platform::IconRecord baseRecord(std::uint32_t window, std::int32_t identifier) {
    platform::IconRecord record{};
    rec::put(record, 0, rec::kSize);
    rec::put(record, rec::kOwnerWindow, window);
    rec::put(record, rec::kIdentifier, static_cast<std::uint32_t>(identifier));
    rec::put(record, rec::kFlags, kAllFields);
    return record;
}

CodePage950& codePage950() {
    static CodePage950 codePage;
    return codePage;
}

}  // namespace

platform::IconRecord Tray::addRecord(std::uint32_t ownerWindow, std::int32_t identifier,
                                     std::uint32_t callbackMessage, std::uint32_t icon,
                                     const std::u16string& tip) {
    platform::IconRecord record = baseRecord(ownerWindow, identifier);
    rec::put(record, rec::kCallbackMessage, callbackMessage);
    rec::put(record, rec::kIcon, icon);
    std::u16string field = tip + u'\0';
    field.resize(rec::kTipBytes, u' ');  // cuts a longer text, fills a shorter one with blanks
    const std::string bytes = codePage950().encode(field);
    for (size_t i = 0; i < rec::kTipBytes && i < bytes.size(); ++i)
        record[rec::kTip + i] = static_cast<std::uint8_t>(bytes[i]);
    return record;
}

platform::IconRecord Tray::removeRecord(std::uint32_t ownerWindow, std::int32_t identifier) {
    return baseRecord(ownerWindow, identifier);
}

std::u16string Tray::tipShown(const platform::IconRecord& record) {
    return codePage950().decode(rec::tipBytes(record));
}

std::int32_t Tray::AddTrayIcon(std::uint32_t ownerWindow, std::uint32_t callbackMessage,
                               std::uint32_t icon, const std::u16string& tip) {
    if (iconCount_ == std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("no tray icon identifier is left");
    const std::int32_t identifier = ++iconCount_;
    const platform::IconRecord record =
        addRecord(ownerWindow, identifier, callbackMessage, icon, tip);
    if (!iconWindows_) iconWindows_.emplace();
    (*iconWindows_)[std::to_string(identifier)] = ownerWindow;
    area_.notifyIcon(platform::TrayCommand::Add, record, tipShown(record));
    return identifier;
}

void Tray::RemoveTrayIcon(std::int32_t identifier) {
    if (!iconWindows_) throw std::out_of_range("no tray icon was ever added");
    const std::uint32_t window = iconWindows_->at(std::to_string(identifier));
    area_.notifyIcon(platform::TrayCommand::Delete, removeRecord(window, identifier), u"");
}

}  // namespace qb
