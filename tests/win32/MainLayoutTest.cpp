#include <gtest/gtest.h>

#include "win32/MainLayout.h"

using namespace qb::win32;

// The designed twips on screens of 100, 150 and 200 %: each length to its nearest pixel on
// its own, halves to the even one, as the window was always shown at 96 dpi.
TEST(MainLayout, ControlsFollowTheScreensScale) {
    struct Case {
        const char* control;
        TwipsRect twips;
        int dpi;
        PixelRect pixels;
    };
    const Case cases[] = {
        {"Text_Input", mainLayout::kTextInput, 96, {40, 56, 113, 25}},
        {"Text_Input", mainLayout::kTextInput, 144, {60, 84, 170, 38}},
        {"Text_Input", mainLayout::kTextInput, 192, {80, 112, 226, 50}},
        {"Text_Output", mainLayout::kTextOutput, 96, {192, 9, 137, 197}},
        {"Text_Output", mainLayout::kTextOutput, 144, {288, 13, 206, 295}},
        {"Text_Output", mainLayout::kTextOutput, 192, {384, 17, 274, 393}},
        {"Command_Close", mainLayout::kCommandClose, 96, {32, 184, 17, 17}},
        {"Command_Close", mainLayout::kCommandClose, 144, {48, 276, 26, 26}},
        {"Command_Close", mainLayout::kCommandClose, 192, {64, 368, 34, 34}},
    };
    for (const Case& c : cases) {
        const PixelRect got = toPixels(c.twips, c.dpi);
        EXPECT_EQ(got, c.pixels) << c.control << " at " << c.dpi << " dpi: " << got.left << ","
                                 << got.top << " " << got.width << "x" << got.height;
    }
}
