#include "win32/AboutWindow.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

#include "about/AboutTexts.h"
#include "common/AccessibleNames.h"
#include "win32/AccessibleObject.h"
#include "win32/Controls.h"
#include "win32/Dpi.h"
#include "win32/MessageBox.h"
#include "win32/Pictures.h"

namespace qb::win32 {
namespace {

// IDOK: Enter presses Exit while no other button has the focus.
constexpr int kExit = IDOK;
constexpr int kSystem = 101;
constexpr int kLink = 102;
constexpr int kLabels = 110;  // and on, one each

constexpr COLORREF kLinkColour = RGB(0, 128, 0);

}  // namespace

AboutWindow::AboutWindow(ProgramLife& life, platform::Desktop desktop)
    : life_(life), behaviour_(*this, desktop) {}

AboutWindow::~AboutWindow() {
    unload();
}

void AboutWindow::show() {
    if (frame_.window() != nullptr) return frame_.bringForward();
    dpi_ = dpiOf(nullptr);
    HWND window = frame_.create(*this, u"", SIZE{4890, 3540}, POINT{2340, 1935}, dpi_);
    if (window == nullptr) return;
    createControls(window, dpi_);
    life_.loaded(window, true);
    behaviour_.Form_Load();
    frame_.bringForward();
}

void AboutWindow::createControls(HWND window, int dpi) {
    small_ = Font({L"Arial", 8.25}, dpi);
    title_ = Font({L"Arial", 14.25, FW_BOLD}, dpi);
    link_ = Font({L"Arial", 9, FW_NORMAL, true}, dpi);
    warning_ = Font({L"Arial", 6.75}, dpi);
    auto at = [dpi](int left, int top, int width, int height) {
        return twipsRect(left, top, width, height, dpi);
    };

    // The tab order is the order of making: the two buttons first, Exit with the focus.
    // Named for screen readers as the Qt window names them: the system would make the second
    // "System(S)...".
    tellReaders(
        makePushButton(window, kExit, u"Exit", at(3600, 2625, 1140, 345), small_.get(), true),
        pushButton(kAccessibleAboutExit));
    tellReaders(makePushButton(window, kSystem, u"System(&S)...", at(3600, 3075, 1125, 345),
                               small_.get(), false),
                pushButton(kAccessibleAboutSystemInfo));

    const RECT mascot = at(120, 240, 1500, 1620);
    makePicture(window, kLabels, {mascot.left, mascot.top},
                loadPictureFor(L"mascot.png", GetSysColor(COLOR_BTNFACE), dpi));
    lblTitle_ = makeLabel(window, kLabels + 1, u"", at(1800, 240, 3165, 480), title_.get());
    struct Fixed {
        RECT where;
        std::u16string_view text;
    };
    const Fixed fixed[] = {
        {at(3960, 360, 1095, 255), kAboutVersion},
        {at(1800, 720, 3375, 255), kAboutRequirement},
        {at(1800, 960, 3375, 255), kAboutDevelopment},
        {at(1800, 1320, 3375, 255), kAboutProgrammer},
        {at(1800, 1680, 3375, 255), kAboutNotice},
        {at(120, 2520, 750, 225), kAboutWarning},
    };
    int id = kLabels + 2;
    for (const Fixed& label : fixed) makeLabel(window, id++, label.text, label.where, small_.get());
    label_warning_ = makeLabel(window, id++, u"", at(120, 2760, 3255, 855), warning_.get());
    Label3_ = makeLabel(window, kLink, kAboutHomePageShown, at(1800, 2040, 2295, 255), link_.get());
    SetWindowSubclass(Label3_, linkMessages, 1, reinterpret_cast<DWORD_PTR>(this));
    // A label to the system; to a screen reader the link it is, to be followed without a mouse.
    tellReaders(Label3_, {.name = wide(kAccessibleAboutHomePage.name),
                          .description = wide(kAccessibleAboutHomePage.description),
                          .role = ROLE_SYSTEM_LINK,
                          .addedState = STATE_SYSTEM_LINKED,
                          .defaultAction = L"Jump",
                          .actionClicks = true});
}

void AboutWindow::paint(HDC dc) const {
    // Two lines cut in: white, two pixels, with grey along its top. They run past the right
    // edge, which cuts them.
    const RECT white = twipsRect(105, 2460, 4920 - 105, 0, dpi_);
    const RECT grey = twipsRect(105, 2445, 4920 - 105, 0, dpi_);
    const int pixel = std::max(1, dpi_ / 96);
    const RECT whiteLine{white.left, white.top, white.right, white.top + 2 * pixel};
    const RECT greyLine{grey.left, grey.top, grey.right, grey.top + pixel};
    HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH greyBrush = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &whiteLine, whiteBrush);
    FillRect(dc, &greyLine, greyBrush);
    DeleteObject(whiteBrush);
    DeleteObject(greyBrush);
}

std::optional<LRESULT> AboutWindow::answer(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Esc and the close box reach the window as Cancel: Exit is the cancel button.
            if (LOWORD(wParam) == kExit || LOWORD(wParam) == IDCANCEL) behaviour_.cmdOK_Click();
            if (LOWORD(wParam) == kSystem) behaviour_.cmdSysInfo_Click();
            if (LOWORD(wParam) == kLink && HIWORD(wParam) == STN_CLICKED) behaviour_.Label3_Click();
            return 0;
        case WM_CLOSE:
            behaviour_.cmdOK_Click();
            return 0;
        case WM_MOUSEMOVE:
            behaviour_.Form_MouseMove();
            return 0;
        case WM_CTLCOLORSTATIC: {
            const bool isLink = reinterpret_cast<HWND>(lParam) == Label3_;
            return labelColours(reinterpret_cast<HDC>(wParam), isLink ? kLinkColour : RGB(0, 0, 0));
        }
        default:
            return std::nullopt;
    }
}

LRESULT CALLBACK AboutWindow::linkMessages(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE)
        reinterpret_cast<AboutWindow*>(self)->behaviour_.Label3_MouseMove();
    if (message == WM_NCDESTROY) RemoveWindowSubclass(link, linkMessages, id);
    return DefSubclassProc(link, message, wParam, lParam);
}

int AboutWindow::MsgBox(std::u16string_view text, int style) {
    return showMessageBox(frame_.window(), text, style);
}

void AboutWindow::unload() {
    HWND window = frame_.destroy();
    if (window == nullptr) return;
    lblTitle_ = Label3_ = label_warning_ = nullptr;
    life_.unloaded(window);
}

void AboutWindow::setCaption(std::u16string_view text) {
    SetWindowTextW(frame_.window(), wide(text).c_str());
}
void AboutWindow::setTitle(std::u16string_view text) {
    SetWindowTextW(lblTitle_, wide(text).c_str());
}
void AboutWindow::setDisclaimer(std::u16string_view text) {
    SetWindowTextW(label_warning_, wide(text).c_str());
}

void AboutWindow::showLinkBorder(bool shown) {
    const LONG_PTR style = GetWindowLongPtrW(Label3_, GWL_STYLE);
    if (((style & WS_BORDER) != 0) == shown) return;
    SetWindowLongPtrW(Label3_, GWL_STYLE, shown ? style | WS_BORDER : style & ~WS_BORDER);
    SetWindowPos(Label3_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Label3_, nullptr, TRUE);
}

}  // namespace qb::win32
