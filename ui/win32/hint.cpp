#include "ui/win32/hint.h"

#include "ui/win32/gdi.h"

namespace tamux::win32 {

namespace {

const char kHintClass[] = "TamuxHint";
HWND hintWindow = nullptr;
std::string hintText;

LRESULT CALLBACK hintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        fillSolid(dc, client, GetSysColor(COLOR_INFOBK));
        frameSolid(dc, client, GetSysColor(COLOR_WINDOWFRAME));
        SelectInDc font(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        TextOutA(dc, 3, 2, hintText.data(), static_cast<int>(hintText.size()));
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_NCDESTROY) hintWindow = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void showHint(const std::string& text) {
    if (text.empty()) {
        hideHint();
        return;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!hintWindow) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = hintProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kHintClass;
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        hintWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHintClass, "", WS_POPUP, 0,
                                     0, 0, 0, nullptr, nullptr, instance, nullptr);
        if (!hintWindow) return;
    }
    hintText = text;
    HDC dc = GetDC(hintWindow);
    SIZE size{};
    {
        SelectInDc font(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(hintWindow, dc);
    POINT pointer;
    GetCursorPos(&pointer);
    SetWindowPos(hintWindow, HWND_TOPMOST, pointer.x, pointer.y + 20, size.cx + 6, size.cy + 4,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hintWindow, nullptr, TRUE);
}

void hideHint() {
    if (hintWindow) ShowWindow(hintWindow, SW_HIDE);
}

}  // namespace tamux::win32
