#include "win32/MainWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/AccessibleNames.h"
#include "win32/Dpi.h"
#include "win32/MainLayout.h"
#include "win32/MessageBox.h"
#include "win32/WindowProcedure.h"
#include "win32/WindowRegion.h"

namespace qb::win32 {
namespace {

// Whether the pointer leaves the system's drag rectangle around where the button (1 left,
// 2 right, 4 middle) went down while it is held; false when it goes up first, or on Esc.
bool pointerDragged(HWND window, int button) {
    const UINT up = button == 1 ? WM_LBUTTONUP : button == 2 ? WM_RBUTTONUP : WM_MBUTTONUP;
    const DWORD pressedAt = GetMessagePos();
    const POINT start{GET_X_LPARAM(pressedAt), GET_Y_LPARAM(pressedAt)};
    const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
    const RECT still{start.x - dx, start.y - dy, start.x + dx + 1, start.y + dy + 1};
    SetCapture(window);
    bool dragged = false;
    MSG message;
    while (GetCapture() == window) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
            break;
        }
        if (message.message == up) break;
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) break;
        if (message.message == WM_MOUSEMOVE) {
            const DWORD at = GetMessagePos();
            const POINT now{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
            if (!PtInRect(&still, now)) {
                dragged = true;
                break;
            }
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (GetCapture() == window) ReleaseCapture();
    return dragged;
}

constexpr wchar_t kClassName[] = L"QuillbookMain";
constexpr COLORREF kWindowColour = RGB(220, 209, 160);
constexpr COLORREF kBoxColour = RGB(230, 222, 172);
constexpr COLORREF kTextColour = RGB(128, 64, 0);
// IDC_ARROW, in its wide form.
const wchar_t* const kArrow = MAKEINTRESOURCEW(32512);
constexpr FontStyle kTextBoxFont{L"Courier", 9.75};

// Control identifiers, clear of the dialog keys' IDOK and IDCANCEL.
enum ControlId : int {
    kOutputId = 100,
    kInputId,
    kMinId,
    kCloseId,
    kAboutId,
    kHelpId,
    kSubmitId,
    kAdvanSubmitId,
    kVoiceId,
    kText1Id,
};

void registerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon =
            static_cast<HICON>(LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0,
                                          0, LR_DEFAULTSIZE | LR_SHARED));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        windowClass.hCursor = LoadCursorW(nullptr, kArrow);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// Made front to back: each goes behind those before it, which is also the tab order.
void sendToBack(HWND control) {
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND createControl(const wchar_t* kind, DWORD style, DWORD exStyle, HWND parent, int id) {
    HWND control = CreateWindowExW(
        exStyle, kind, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    sendToBack(control);
    return control;
}

// A box's name for screen readers, in the classic way: a label just before the box in the
// z-order names it. Never shown, it takes no room, no clicks and no focus.
void createHiddenLabel(std::u16string_view name, HWND parent) {
    HWND label = CreateWindowExW(0, L"STATIC", wide(name).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0,
                                 0, parent, nullptr, nullptr, nullptr);
    sendToBack(label);
}

void place(HWND control, const TwipsRect& where, int dpi) {
    const PixelRect r = toPixels(where, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The mouse buttons by the numbers the move takes: 1 left, 2 right, 4 middle.
int mouseButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
            return 1;
        case WM_RBUTTONDOWN:
            return 2;
        case WM_MBUTTONDOWN:
            return 4;
        default:
            return 0;
    }
}

}  // namespace

MainWindow::MainWindow(ProgramLife& life, ProgramCalls& program, platform::SpeechEngine& speech,
                       platform::NotificationArea& area, Library library)
    : life_(life),
      area_(area),
      behaviour_(*this, program, speech, std::move(library)),
      Command_Min(L"hide.png", L"", kBoxColour, kAccessibleHide),
      Command_Close(L"close.png", L"", kBoxColour, kAccessibleClose),
      Cmd_About(L"about.png", L"", kBoxColour, kAccessibleAbout),
      Cmd_Help(L"help.png", L"", kBoxColour, kAccessibleHelp),
      Command_Submit(L"search.png", L"準確", kBoxColour, kAccessibleSubmit),
      Command_AdvanSubmit(L"search_all.png", L"所有", kBoxColour, kAccessibleAdvancedSubmit),
      Cmd_Voice(L"lips.png", L"發音", kBoxColour, kAccessibleVoice),
      boxBrush_(CreateSolidBrush(kBoxColour)),
      windowBrush_(CreateSolidBrush(kWindowColour)) {
    registerClass(&ownedWindowProcedure<MainWindow>);
    const int dpi = dpiOf(nullptr);
    const PixelRect size = toPixels(mainLayout::kWindow, dpi);
    // No frame, no taskbar button: the book is reached through its tray icon.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Quillbook",
                              WS_POPUP | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, size.width,
                              size.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    createControls();
    layOut(dpiOf(window_));
    life_.loaded(window_, true);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    DeleteObject(boxBrush_);
    DeleteObject(windowBrush_);
}

void MainWindow::createControls() {
    Text_Output.create(window_, kOutputId, kAccessibleResult.name);
    sendToBack(Text_Output.handle());
    Text_Output.setColours(kTextColour, kBoxColour);
    // A handle to drag the book by, like the skin.
    Text_Output.pressed = [this](int button) { behaviour_.Face_MouseDown(button); };
    createHiddenLabel(kAccessibleInput.name, window_);
    Text_Input =
        createControl(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, window_, kInputId);
    SendMessageW(Text_Input, EM_SETLIMITTEXT, 0, 0);
    const std::pair<PictureButton*, int> buttons[] = {
        {&Command_Min, kMinId},       {&Command_Close, kCloseId},
        {&Cmd_About, kAboutId},       {&Cmd_Help, kHelpId},
        {&Command_Submit, kSubmitId}, {&Command_AdvanSubmit, kAdvanSubmitId},
        {&Cmd_Voice, kVoiceId}};
    for (const auto& [button, id] : buttons) {
        sendToBack(button->create(window_, id));
    }
    createHiddenLabel(kAccessibleTitle.name, window_);
    Text1 = createControl(L"EDIT", ES_MULTILINE | ES_READONLY | WS_BORDER, 0, window_, kText1Id);
    SetWindowTextW(Text1, wide(kTitlePageText).c_str());
    for (HWND control : {Text_Input, Text1, Cmd_Voice.handle()})
        SetWindowSubclass(control, &MainWindow::controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // The speak button's tip is asked for each time it is due (WM_NOTIFY).
    voiceTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                0, 0, 0, 0, window_, nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Cmd_Voice.handle());
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(voiceTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(voiceTip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void MainWindow::layOut(int dpi) {
    dpi_ = dpi;
    // The system face shows where the skin is transparent, and the outline cuts that away.
    skin_ = loadPictureFor(L"skin.png", GetSysColor(COLOR_BTNFACE), dpi);
    textBoxFont_ = Font(kTextBoxFont, dpi);
    captionFont_ = Font(createDefaultGuiFont(dpi));
    for (HWND box : {Text_Input, Text1})
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(textBoxFont_.get()), TRUE);
    Text_Output.setFont(textBoxFont_.get());
    place(Text_Input, mainLayout::kTextInput, dpi);
    place(Text_Output.handle(), mainLayout::kTextOutput, dpi);
    place(Text1, mainLayout::kText1, dpi);
    const std::pair<PictureButton*, TwipsRect> buttons[] = {
        {&Command_Min, mainLayout::kCommandMin},
        {&Command_Close, mainLayout::kCommandClose},
        {&Cmd_About, mainLayout::kCmdAbout},
        {&Cmd_Help, mainLayout::kCmdHelp},
        {&Command_Submit, mainLayout::kCommandSubmit},
        {&Command_AdvanSubmit, mainLayout::kCommandAdvanSubmit},
        {&Cmd_Voice, mainLayout::kCmdVoice}};
    for (const auto& [button, where] : buttons) {
        button->loadPicture(dpi);
        place(button->handle(), where, dpi);
    }
    if (fitted_) fitWindowToSkin();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::fitToSkin() {
    fitted_ = true;
    fitWindowToSkin();
}

void MainWindow::fitWindowToSkin() {
    SetWindowPos(window_, nullptr, 0, 0, skin_.width, skin_.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // From here on the system owns the region.
    SetWindowRgn(window_, regionOf(outlineOf(skin_)), TRUE);
}

void MainWindow::showWindow() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void MainWindow::showRestored() {
    if (inTaskbar_) {
        ShowWindow(window_, SW_HIDE);
        setTaskbarButton(false);
    }
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
}

void MainWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

void MainWindow::focusInput() {
    SetForegroundWindow(window_);
    SetFocus(Text_Input);
}

void MainWindow::unload() {
    if (window_ == nullptr || !life_.isLoaded(window_)) return;
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
    life_.unloaded(window);
}

void MainWindow::minimizeToTaskbar() {
    setTaskbarButton(true);
    ShowWindow(window_, SW_SHOWMINNOACTIVE);
}

// The taskbar shows a button for a window whose style says so when the window is shown.
void MainWindow::setTaskbarButton(bool shown) {
    inTaskbar_ = shown;
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    style = shown ? (style & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW
                  : (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
    SetWindowLongPtrW(window_, GWL_EXSTYLE, style);
}

void MainWindow::beginMove(int Button) {
    // Only once the pointer has left the drag rectangle: a desktop's move loop started by a
    // mere click (the button already up) can go on following the pointer until the next
    // click. Then any button: the system's move loop follows the pointer until it is released.
    const DWORD pressedAt = GetMessagePos();
    if (!pointerDragged(window_, Button)) return;
    // The window catches up with the pointer's way out of the drag rectangle; the move loop
    // goes on from where the pointer is now.
    const DWORD at = GetMessagePos();
    RECT frame;
    GetWindowRect(window_, &frame);
    SetWindowPos(window_, nullptr, frame.left + GET_X_LPARAM(at) - GET_X_LPARAM(pressedAt),
                 frame.top + GET_Y_LPARAM(at) - GET_Y_LPARAM(pressedAt), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ReleaseCapture();
    SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(at));
}

int MainWindow::MsgBox(std::u16string_view text, int style) {
    return showMessageBox(IsWindowVisible(window_) ? window_ : nullptr, text, style);
}

std::u16string MainWindow::inputText() {
    const int length = GetWindowTextLengthW(Text_Input);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Text_Input, text.data(), length + 1)));
    return std::u16string(text.begin(), text.end());
}

void MainWindow::setInputText(std::u16string_view text) {
    SetWindowTextW(Text_Input, wide(text).c_str());
}

void MainWindow::setOutputText(std::u16string_view text) {
    Text_Output.setText(text);
}

PictureButton* MainWindow::buttonOf(int id) {
    switch (id) {
        case kMinId:
            return &Command_Min;
        case kCloseId:
            return &Command_Close;
        case kAboutId:
            return &Cmd_About;
        case kHelpId:
            return &Cmd_Help;
        case kSubmitId:
            return &Command_Submit;
        case kAdvanSubmitId:
            return &Command_AdvanSubmit;
        case kVoiceId:
            return &Cmd_Voice;
        default:
            return nullptr;
    }
}

void MainWindow::clicked(int id) {
    switch (id) {
        case kMinId:
            behaviour_.Command_Min_Click();
            break;
        case kCloseId:
            behaviour_.Command_Close_Click();
            break;
        case kAboutId:
            behaviour_.Cmd_About_Click();
            break;
        case kHelpId:
            behaviour_.Cmd_Help_Click();
            break;
        case kSubmitId:
            behaviour_.Command_Submit_Click();
            break;
        case kAdvanSubmitId:
            behaviour_.Command_AdvanSubmit_Click();
            break;
        case kVoiceId:
            behaviour_.Cmd_Voice_Click();
            break;
        default:
            break;
    }
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            drawPicture(dc, skin_, 0, 0);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT all;
            GetClientRect(window_, &all);
            FillRect(reinterpret_cast<HDC>(wParam), &all, windowBrush_);
            return 1;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kTextColour);
            SetBkColor(dc, kBoxColour);
            return reinterpret_cast<LRESULT>(boxBrush_);
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (PictureButton* button = buttonOf(static_cast<int>(item->CtlID))) {
                button->draw(*item, captionFont_.get());
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) clicked(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            if (info->hdr.hwndFrom != voiceTip_ || info->hdr.code != TTN_GETDISPINFOW) break;
            const std::u16string tip = behaviour_.Cmd_Voice_ToolTip();
            voiceTipText_.assign(tip.begin(), tip.end());
            info->lpszText = voiceTipText_.data();
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            behaviour_.Face_MouseDown(mouseButtonOf(message));
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(LOWORD(wParam));
            return 0;
        }
        case WM_WINDOWPOSCHANGED:
            if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0)
                announce(announcements_.shown);
            break;
        case WM_CLOSE:
            // Alt+F4 and the taskbar button's Close ask as the close button does.
            behaviour_.Command_Close_Click();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<MainWindow*>(self)->handleControl(control, message, wParam, lParam);
}

LRESULT MainWindow::handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (control == Text_Input) {
        switch (message) {
            case WM_GETDLGCODE:
                // Enter is the input box's own key, not the dialog's default button.
                if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                    wParam == VK_RETURN)
                    return DLGC_WANTALLKEYS;
                break;
            case WM_KEYDOWN:
                behaviour_.Text_Input_KeyDown(static_cast<int>(wParam));
                break;
            case WM_CHAR:
                behaviour_.Text_Input_KeyPress(static_cast<int>(wParam));
                // The lookup may have ended the window (a quit from its message box cannot,
                // but a box left open can outlive it): the box goes on only while it exists.
                if (!IsWindow(control)) return 0;
                break;
            default:
                break;
        }
    } else if (control == Cmd_Voice.handle()) {
        // The voices take seconds to find: the search starts when the pointer arrives.
        if (message == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
            if (!hovering_) {
                hovering_ = true;
                TrackMouseEvent(&track);
                behaviour_.Cmd_Voice_MouseEnter();
            }
        } else if (message == WM_MOUSELEAVE) {
            hovering_ = false;
        }
    } else {
        // The title page: read-only, with the arrow, and a handle to drag the book by.
        switch (message) {
            case WM_SETCURSOR:
                SetCursor(LoadCursorW(nullptr, kArrow));
                return TRUE;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                // Clicked into, the box takes the focus, so its text can be selected from the
                // keyboard and copied.
                if (message == WM_LBUTTONDOWN) SetFocus(control);
                behaviour_.Face_MouseDown(mouseButtonOf(message));
                return 0;
            default:
                break;
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace qb::win32
