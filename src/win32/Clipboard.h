#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qb::win32 {

// The clipboard's text; nullopt while another program holds the clipboard open (it is
// writing), an empty text when the clipboard holds none.
std::optional<std::u16string> clipboardText(HWND owner);

// What the clipboard held, kept so that it can be put back after the program asked another to
// copy into it. Only the formats that live in plain memory are kept (text of every kind, rich
// text, pictures as DIBs, file lists, the formats programs register); the handles of drawing
// objects (bitmaps, metafiles, palettes) and private formats cannot be copied and are left out,
// and a bitmap comes back from its DIB.
class ClipboardContent final {
  public:
    // Nullopt when the clipboard cannot be opened or holds more than `limit` bytes.
    static std::optional<ClipboardContent> take(HWND owner, std::size_t limit);
    // Makes the clipboard hold the kept content again (an empty one empties it); false when
    // the clipboard could not be opened.
    bool putBack(HWND owner) const;

  private:
    struct Format {
        UINT id;
        std::vector<std::byte> bytes;
    };
    std::vector<Format> formats_;
};

}  // namespace qb::win32
