#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

bool registerWindowClass(const char* className, WNDPROC windowProc, LPCSTR cursor) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    if (GetClassInfoA(instance, className, &windowClass)) return true;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor =
        LoadCursorA(nullptr, cursor ? cursor : reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

void destroyLetGo(HWND window) {
    if (!window) return;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

POINT centredOnScreen(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

void keepOuterSize(LPARAM minMaxInfo, int width, int height) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
    limits->ptMinTrackSize = {width, height};
    limits->ptMaxTrackSize = {width, height};
}

void letTabInto(HWND panel) {
    SetWindowLongPtrA(panel, GWL_EXSTYLE,
                      GetWindowLongPtrA(panel, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

}  // namespace tamux::win32
