#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace qb::win32 {

// A picture from the program's resources, drawn on a background colour as a picture box shows
// it: what is transparent in the file takes the background's colour.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    bool isNull() const { return pixels.empty(); }
    // The picture with each pixel made `factor` pixels square, for screens denser than 96 dpi
    // when no drawing of that size exists; exact colours, so an outline cut from it stays true.
    Picture scaled(int factor) const;
    // The picture at another size, each pixel taken from the nearest one of this: exact
    // colours again, for scales that are not whole (150 %).
    Picture resized(int newWidth, int newHeight) const;
};

// The PNG picture kept as the resource named after its file ("skin.png"); a null picture when
// there is none or it cannot be decoded. Needs the picture decoder started (PictureDecoder).
Picture loadPicture(std::wstring_view fileName, COLORREF background);

// The drawing for a screen of `dpi`, `dpi / 96` times the plain drawing's size: the file's
// "@2x" drawing from 192 dpi on where there is one, else the plain one, each made larger by a
// whole factor where that fits and pixel by nearest pixel where it does not.
Picture loadPictureFor(std::wstring_view fileName, COLORREF background, int dpi);

// Draws the whole picture with its top-left corner at x, y.
void drawPicture(HDC dc, const Picture& picture, int x, int y);

// Starts the picture decoder for the program's lifetime and stops it at the end.
class PictureDecoder final {
  public:
    PictureDecoder();
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

  private:
    ULONG_PTR token_ = 0;
};

}  // namespace qb::win32
