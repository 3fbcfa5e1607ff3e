#pragma once

#include <windows.h>

namespace qb::win32 {

struct FontStyle {
    const wchar_t* face;
    double points;
    int weight = FW_NORMAL;
    bool underline = false;
};

// A font of that face and size for a screen of `dpi`; the caller owns it (Font below).
HFONT createFont(const FontStyle& style, int dpi);

// The system's default user-interface font, at its size for a screen of `dpi`; the caller
// owns it.
HFONT createDefaultGuiFont(int dpi);

// Owns a font and deletes it with itself.
class Font final {
  public:
    Font() = default;
    Font(const FontStyle& style, int dpi) : handle_(createFont(style, dpi)) {}
    explicit Font(HFONT owned) : handle_(owned) {}
    ~Font() { reset(); }
    Font(Font&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Font& operator=(Font&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT get() const { return handle_; }

  private:
    void reset() {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = nullptr;
    }
    HFONT handle_ = nullptr;
};

}  // namespace qb::win32
