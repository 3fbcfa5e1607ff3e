#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "win32/Pictures.h"
#include "win32/WindowRegion.h"

using namespace qb::win32;

namespace {

// Whether each pixel of the skin's file is drawn at all, read by the decoder itself.
struct Opacity {
    int width = 0, height = 0;
    std::vector<bool> opaque;
};

Opacity skinOpacity() {
    Opacity result;
    HRSRC found = FindResourceW(nullptr, L"SKIN_PNG", MAKEINTRESOURCEW(10));
    if (found == nullptr) return result;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    IStream* stream = SHCreateMemStream(bytes, SizeofResource(nullptr, found));
    {
        Gdiplus::Bitmap bitmap(stream);
        result.width = static_cast<int>(bitmap.GetWidth());
        result.height = static_cast<int>(bitmap.GetHeight());
        for (int y = 0; y < result.height; ++y)
            for (int x = 0; x < result.width; ++x) {
                Gdiplus::Color colour;
                bitmap.GetPixel(x, y, &colour);
                result.opaque.push_back(colour.GetA() != 0);
            }
    }
    stream->Release();
    return result;
}

}  // namespace

// The window's outline is the skin's drawn pixels, exactly, at every scale the window is
// shown at: the transparent frame is cut away, nothing of the book is.
TEST(WindowRegion, TheSkinsOutlineIsItsDrawnPixelsAtEveryScale) {
    PictureDecoder decoder;
    const Opacity skin = skinOpacity();
    ASSERT_EQ(skin.width, 352);
    ASSERT_EQ(skin.height, 226);
    struct Case {
        int dpi, width, height;
    };
    for (const Case& c : {Case{96, 352, 226}, Case{144, 528, 339}, Case{192, 704, 452}}) {
        SCOPED_TRACE(c.dpi);
        const Picture picture = loadPictureFor(L"skin.png", RGB(212, 208, 200), c.dpi);
        ASSERT_EQ(picture.width, c.width);
        ASSERT_EQ(picture.height, c.height);
        HRGN region = regionOf(outlineOf(picture));
        ASSERT_NE(region, nullptr);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::size_t source =
                    static_cast<std::size_t>(y * skin.height / c.height) * skin.width +
                    static_cast<std::size_t>(x * skin.width / c.width);
                if ((PtInRegion(region, x, y) != FALSE) != skin.opaque[source]) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        DeleteObject(region);
    }
}

TEST(WindowRegion, NoStripsGiveNoRegion) {
    EXPECT_EQ(regionOf({}), nullptr);
}
