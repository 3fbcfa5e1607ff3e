#include "win32/Pictures.h"

#include <gdiplus.h>
#include <objidl.h>
#include <shlwapi.h>

#include <string>

namespace qb::win32 {
namespace {

// The resource's bytes as a stream the decoder reads; null when there is no such resource.
// A picture's resource name: its file name with '.' and '@' as '_' (src/CMakeLists.txt);
// the system compares resource names without regard to case.
std::wstring resourceName(std::wstring_view fileName) {
    std::wstring name(fileName);
    for (wchar_t& c : name)
        if (c == L'.' || c == L'@') c = L'_';
    return name;
}

IStream* resourceStream(std::wstring_view fileName) {
    const std::wstring name = resourceName(fileName);
    HRSRC found = FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return nullptr;
    return SHCreateMemStream(static_cast<const BYTE*>(bytes), SizeofResource(nullptr, found));
}

std::uint32_t over(std::uint32_t argb, COLORREF background) {
    const std::uint32_t alpha = argb >> 24;
    const auto mix = [alpha](std::uint32_t front, std::uint32_t back) {
        return (front * alpha + back * (255 - alpha) + 127) / 255;
    };
    const std::uint32_t r = mix((argb >> 16) & 0xFF, GetRValue(background));
    const std::uint32_t g = mix((argb >> 8) & 0xFF, GetGValue(background));
    const std::uint32_t b = mix(argb & 0xFF, GetBValue(background));
    return (r << 16) | (g << 8) | b;
}

}  // namespace

Picture Picture::scaled(int factor) const {
    if (factor <= 1 || isNull()) return *this;
    Picture big;
    big.width = width * factor;
    big.height = height * factor;
    big.pixels.reserve(static_cast<std::size_t>(big.width) * big.height);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            big.pixels.push_back(pixels[static_cast<std::size_t>(y / factor) * width + x / factor]);
    return big;
}

Picture Picture::resized(int newWidth, int newHeight) const {
    if (isNull() || newWidth <= 0 || newHeight <= 0) return {};
    if (newWidth == width && newHeight == height) return *this;
    Picture other;
    other.width = newWidth;
    other.height = newHeight;
    other.pixels.reserve(static_cast<std::size_t>(newWidth) * newHeight);
    for (int y = 0; y < newHeight; ++y) {
        const std::size_t row = static_cast<std::size_t>(y * height / newHeight) * width;
        for (int x = 0; x < newWidth; ++x)
            other.pixels.push_back(pixels[row + static_cast<std::size_t>(x * width / newWidth)]);
    }
    return other;
}

Picture loadPicture(std::wstring_view fileName, COLORREF background) {
    Picture picture;
    IStream* stream = resourceStream(fileName);
    if (stream == nullptr) return picture;
    {
        Gdiplus::Bitmap bitmap(stream);
        const int width = static_cast<int>(bitmap.GetWidth());
        const int height = static_cast<int>(bitmap.GetHeight());
        Gdiplus::Rect all(0, 0, width, height);
        Gdiplus::BitmapData data{};
        if (bitmap.GetLastStatus() == Gdiplus::Ok && width > 0 && height > 0 &&
            bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) ==
                Gdiplus::Ok) {
            picture.width = width;
            picture.height = height;
            picture.pixels.reserve(static_cast<std::size_t>(width) * height);
            for (int y = 0; y < height; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(
                    static_cast<const BYTE*>(data.Scan0) +
                    static_cast<std::ptrdiff_t>(y) * data.Stride);
                for (int x = 0; x < width; ++x) picture.pixels.push_back(over(row[x], background));
            }
            bitmap.UnlockBits(&data);
        }
    }
    stream->Release();
    return picture;
}

Picture loadPictureFor(std::wstring_view fileName, COLORREF background, int dpi) {
    const Picture plain = loadPicture(fileName, background);
    const auto atDpi = [dpi](int pixels) { return (pixels * dpi + 48) / 96; };
    const int width = atDpi(plain.width), height = atDpi(plain.height);
    if (dpi % 96 == 0 && dpi >= 192) {
        std::wstring doubled(fileName);
        const auto dot = doubled.rfind(L'.');
        doubled.insert(dot == std::wstring::npos ? doubled.size() : dot, L"@2x");
        const Picture picture = loadPicture(doubled, background).scaled(dpi / 192);
        if (!picture.isNull() && picture.width == width && picture.height == height) return picture;
    }
    if (dpi % 96 == 0) return plain.scaled(dpi / 96);
    return plain.resized(width, height);
}

void drawPicture(HDC dc, const Picture& picture, int x, int y) {
    if (picture.isNull()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(
        dc, x, y, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0, 0,
        static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
}

PictureDecoder::PictureDecoder() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

PictureDecoder::~PictureDecoder() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

}  // namespace qb::win32
