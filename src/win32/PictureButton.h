#pragma once

#include <windows.h>

#include <string>

#include "common/AccessibleNames.h"
#include "win32/Pictures.h"

namespace qb::win32 {

// A button that the program draws itself on a plain face. Captioned, it is the graphical push
// button: the picture centred above the caption, with a raised look that sinks while pressed.
// Without a caption it is a picture box used as a button: the picture at its top-left corner,
// unscaled, no pressed look. Either way it answers a click of the left button with
// BN_CLICKED to its parent, which hands it its WM_DRAWITEM. A screen reader finds a push
// button by `spoken`'s name, which is also its window text: the drawing shows the caption.
class PictureButton final {
  public:
    PictureButton(std::wstring pictureFile, std::wstring caption, COLORREF face,
                  AccessibleText spoken)
        : pictureFile_(std::move(pictureFile)),
          caption_(std::move(caption)),
          face_(face),
          spoken_(spoken) {}

    HWND create(HWND parent, int id);
    HWND handle() const { return button_; }
    // The picture drawn for a screen of `dpi`.
    void loadPicture(int dpi);
    void draw(const DRAWITEMSTRUCT& item, HFONT captionFont) const;

  private:
    std::wstring pictureFile_;
    std::wstring caption_;
    COLORREF face_;
    AccessibleText spoken_;
    Picture picture_;
    HWND button_ = nullptr;
};

}  // namespace qb::win32
