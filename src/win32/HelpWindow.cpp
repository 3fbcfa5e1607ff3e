#include "win32/HelpWindow.h"

#include <algorithm>

#include "speech/HelpTexts.h"
#include "win32/AccessibleObject.h"
#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/MessageBox.h"

namespace qb::win32 {
namespace {

// No IDOK or IDCANCEL among them: the window has neither a default nor a cancel button.
constexpr int kPictureButtons = 201;  // and the two after it
constexpr int kCommand1 = 204;
constexpr int kCommand2 = 205;
constexpr int kLabels = 210;  // and on, one each

// The face of the main window's buttons, which the copies here share.
constexpr COLORREF kButtonFace = RGB(230, 222, 172);

struct PictureButton {
    std::u16string_view caption;
    const wchar_t* picture;
    int top;
    const AccessibleText& spoken;
};
constexpr PictureButton kCopies[] = {{u"準確", L"search.png", 120, kAccessibleSubmit},
                                     {u"所有", L"search_all.png", 1080, kAccessibleAdvancedSubmit},
                                     {u"發音", L"lips.png", 2040, kAccessibleVoice}};

}  // namespace

HelpWindow::HelpWindow(ProgramLife& life, platform::Desktop desktop, std::u16string programFolder)
    : life_(life), behaviour_(*this, desktop, std::move(programFolder)) {}

HelpWindow::~HelpWindow() {
    unload();
}

void HelpWindow::show() {
    if (frame_.window() != nullptr) return frame_.bringForward();
    dpi_ = dpiOf(nullptr);
    HWND window = frame_.create(*this, u"Help", SIZE{4695, 5625}, std::nullopt, dpi_);
    if (window == nullptr) return;
    createControls(window, dpi_);
    life_.loaded(window, true);
    frame_.bringForward();
}

void HelpWindow::createControls(HWND window, int dpi) {
    // The labels' face is the one Traditional Chinese Windows gives dialogs; nothing in the
    // layout names one.
    font_ = Font({L"PMingLiU", 9}, dpi);
    auto at = [dpi](int left, int top, int width, int height) {
        return twipsRect(left, top, width, height, dpi);
    };
    // The tab order is the order of making; the labels take no focus.
    for (int i = 0; i < 3; ++i) {
        buttonPictures_[i] = loadPictureFor(kCopies[i].picture, kButtonFace, dpi);
        tellReaders(makeGraphicalButton(window, kPictureButtons + i, kCopies[i].caption,
                                        at(240, kCopies[i].top, 615, 735), font_.get()),
                    pushButton(kCopies[i].spoken));
    }
    tellReaders(makePushButton(window, kCommand1, u"spchapi.exe", at(1080, 3120, 1575, 255),
                               font_.get(), false),
                pushButton(kAccessibleHelpDownloadSpeech));
    tellReaders(makePushButton(window, kCommand2, u"msttsl.exe", at(2760, 3120, 1575, 255),
                               font_.get(), false),
                pushButton(kAccessibleHelpDownloadVoice));
    int id = kLabels;
    for (const HelpLabel& label : kHelpLabels)
        makeLabel(window, id++, label.text, at(label.left, label.top, label.width, label.height),
                  font_.get());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT image1 = at(240, 3720, 765, 495);
    makePicture(window, id++, {image1.left, image1.top},
                loadPictureFor(L"help_buttons.png", face, dpi));
    const RECT image2 = at(240, 4320, 2025, 960);
    makePicture(window, id++, {image2.left, image2.top},
                loadPictureFor(L"help_tray.png", face, dpi));
}

void HelpWindow::paint(HDC dc) const {
    const int pixel = std::max(1, dpi_ / 96);
    for (const HelpLine& line : kHelpLines) {
        const RECT from = twipsRect(line.x1, line.y, line.x2 - line.x1, 0, dpi_);
        const RECT drawn{from.left, from.top, from.right + pixel, from.top + pixel};
        FillRect(dc, &drawn, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
}

std::optional<LRESULT> HelpWindow::answer(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // The copies of the main window's buttons do nothing here.
            if (LOWORD(wParam) == kCommand1) behaviour_.Command1_Click();
            if (LOWORD(wParam) == kCommand2) behaviour_.Command2_Click();
            return 0;
        case WM_CLOSE:
            behaviour_.closeBox_Click();
            return 0;
        case WM_CTLCOLORSTATIC:
            // The separators run on under the labels that reach down to them.
            return labelColours(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT), true);
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const int copy = static_cast<int>(item.CtlID) - kPictureButtons;
            if (copy < 0 || copy >= 3) return std::nullopt;
            drawGraphicalButton(item, buttonPictures_[copy], kButtonFace);
            return TRUE;
        }
        default:
            return std::nullopt;
    }
}

int HelpWindow::MsgBox(std::u16string_view text, int style) {
    return showMessageBox(frame_.window(), text, style);
}

void HelpWindow::unload() {
    HWND window = frame_.destroy();
    if (window == nullptr) return;
    life_.unloaded(window);
}

}  // namespace qb::win32
