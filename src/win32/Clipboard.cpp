#include "win32/Clipboard.h"

#include <cstring>

namespace qb::win32 {
namespace {

// Whether the clipboard hands the format over as global memory that can be copied byte for
// byte; the others are handles of drawing objects, or private formats whose data only their
// owner understands.
bool isPlainMemory(UINT format) {
    switch (format) {
        case CF_BITMAP:
        case CF_METAFILEPICT:
        case CF_PALETTE:
        case CF_ENHMETAFILE:
        case CF_OWNERDISPLAY:
        case CF_DSPBITMAP:
        case CF_DSPMETAFILEPICT:
        case CF_DSPENHMETAFILE:
            return false;
        default:
            return format < CF_PRIVATEFIRST || format > CF_GDIOBJLAST;
    }
}

// Closes the clipboard when it goes, whichever way the reading ends.
class OpenedClipboard final {
  public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};

}  // namespace

std::optional<std::u16string> clipboardText(HWND owner) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return std::u16string();
    const auto* text = static_cast<const char16_t*>(GlobalLock(data));
    if (text == nullptr) return std::u16string();
    // The text ends at its first zero, or at the end of its memory if a program left it out.
    const std::size_t room = GlobalSize(data) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < room && text[length] != u'\0') ++length;
    std::u16string result(text, length);
    GlobalUnlock(data);
    return result;
}

std::optional<ClipboardContent> ClipboardContent::take(HWND owner, std::size_t limit) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard) return std::nullopt;
    ClipboardContent content;
    std::size_t total = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        if (!isPlainMemory(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (data == nullptr) continue;
        const std::size_t size = GlobalSize(data);
        const void* bytes = size == 0 ? nullptr : GlobalLock(data);
        if (bytes == nullptr) continue;
        total += size;
        if (total <= limit) {
            const auto* begin = static_cast<const std::byte*>(bytes);
            content.formats_.push_back({format, std::vector<std::byte>(begin, begin + size)});
        }
        GlobalUnlock(data);
        if (total > limit) return std::nullopt;
    }
    return content;
}

bool ClipboardContent::putBack(HWND owner) const {
    const OpenedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    for (const Format& format : formats_) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, format.bytes.size());
        if (memory == nullptr) continue;
        if (void* bytes = GlobalLock(memory); bytes != nullptr) {
            std::memcpy(bytes, format.bytes.data(), format.bytes.size());
            GlobalUnlock(memory);
        }
        // The clipboard owns the memory once it takes it.
        if (SetClipboardData(format.id, memory) == nullptr) GlobalFree(memory);
    }
    return true;
}

}  // namespace qb::win32
