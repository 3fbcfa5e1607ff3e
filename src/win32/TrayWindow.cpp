#include "win32/TrayWindow.h"

#include "win32/OneCopy.h"
#include "win32/TrayMessage.h"
#include "win32/WindowProcedure.h"

namespace qb::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillbookTray";

enum MenuEntry : UINT { kMenuShow = 1, kMenuQuit = 2 };

// Handles are 32 bits wide in the icon's record; the system keeps window and icon handles
// within them (their upper half is the lower half's sign).
std::uint32_t handle32(const void* handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

TrayWindow::TrayWindow(ProgramLife& life, ProgramCalls& program, Tray& tray,
                       platform::NotificationArea& area)
    : life_(life),
      area_(area),
      behaviour_(*this, program, tray),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &ownedWindowProcedure<TrayWindow>;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), 0));
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Form1", WS_POPUP, CW_USEDEFAULT,
                              CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, kMenuShow, L"顯示字典");
    AppendMenuW(menu_, MF_STRING, kMenuQuit, L"離開");
    life_.loaded(window_, false);
}

TrayWindow::~TrayWindow() {
    unload();
    if (menu_ != nullptr) DestroyMenu(menu_);
    if (icon_ != nullptr) DestroyIcon(icon_);
}

void TrayWindow::unload() {
    if (window_ == nullptr || !life_.isLoaded(window_)) return;
    behaviour_.Form_Unload();
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
    life_.unloaded(window);
}

std::uint32_t TrayWindow::iconOwnerHandle() {
    return handle32(window_);
}

std::uint32_t TrayWindow::programIconHandle() {
    return handle32(icon_);
}

void TrayWindow::popUpMenu() {
    POINT at{};
    GetCursorPos(&at);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    // Without a message after it, the menu of a window in the background opens only every
    // second time.
    PostMessageW(window_, WM_NULL, 0, 0);
    if (chosen == kMenuShow) behaviour_.menu_show_Click();
    if (chosen == kMenuQuit) behaviour_.menu_quit_Click();
}

// The icon's record again, under the identifier it has: the host that held it is gone.
void TrayWindow::addIconAgain() {
    if (behaviour_.TrayID == 0) return;
    const std::u16string tip(kTrayTip);
    area_.notifyIcon(platform::TrayCommand::Add,
                     Tray::addRecord(iconOwnerHandle(), behaviour_.TrayID, kTrayCallback,
                                     programIconHandle(), tip),
                     tip);
}

LRESULT TrayWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallback) {
        behaviour_.picture_tray_MouseMove(0, 0, trayMouseX(lParam), 0.0f);
        return 0;
    }
    // A later start of the program (OneCopy.h): the book comes forward as the menu brings it.
    if (message == OneCopy::comeForwardMessage()) {
        behaviour_.menu_show_Click();
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        addIconAgain();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace qb::win32
