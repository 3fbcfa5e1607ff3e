#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "mainwin/PictureRegion.h"
#include "win32/Dpi.h"
#include "win32/Pictures.h"

namespace {

using qb::win32::Picture;

Picture gSkin;

LRESULT CALLBACK skinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            qb::win32::drawPicture(dc, gSkin, 0, 0);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    qb::win32::PictureDecoder decoder;

    WNDCLASSW skinClass{};
    skinClass.lpfnWndProc = skinProc;
    skinClass.hInstance = instance;
    skinClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    skinClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    skinClass.lpszClassName = L"QuillbookMain";
    RegisterClassW(&skinClass);

    gSkin = qb::win32::loadPictureFor(L"skin.png", RGB(212, 208, 200), qb::win32::dpiOf(nullptr));
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"QuillbookMain", L"Quillbook",
                                  WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, gSkin.width, gSkin.height,
                                  nullptr, nullptr, instance, nullptr);
    const auto runs = qb::pictureRuns(
        gSkin.width, gSkin.height,
        [](int y) { return gSkin.pixels.data() + static_cast<std::size_t>(y) * gSkin.width; },
        [key = gSkin.pixels.empty() ? 0u : gSkin.pixels[0]](std::uint32_t pixel) {
            return pixel == key;
        });
    HRGN region = nullptr;
    for (const qb::PixelRun& run : runs) {
        HRGN strip = CreateRectRgn(run.left, run.top, run.right, run.top + 1);
        if (region == nullptr) {
            region = strip;
        } else {
            CombineRgn(region, region, strip, RGN_OR);
            DeleteObject(strip);
        }
    }
    SetWindowRgn(window, region, TRUE);
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoUninitialize();
    return static_cast<int>(message.wParam);
}
