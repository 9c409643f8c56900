// Plumbing shared by the program's own top-level windows (not dialog boxes): the window class,
// the object behind the window, its place and fixed size, and Tab into the panels on it.
#pragma once

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Registers a window class with that cursor (the arrow when null) and no class brush, unless it
// is registered already. Returns whether the class is there.
bool registerWindowClass(const char* className, WNDPROC windowProc, LPCSTR cursor = nullptr);

// The object a window procedure serves: CreateWindowEx's last argument, kept in the window's
// user data from WM_NCCREATE on. Null before that, and once the object has let the window go.
template <typename Object>
Object* windowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Object*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Destroys a window after its object has let it go, so that the messages of the destruction no
// longer reach an object that is itself being destroyed. Does nothing for a null window.
void destroyLetGo(HWND window);

// The top-left corner of a window of that outer size centred on the screen.
POINT centredOnScreen(int width, int height);

// Answers WM_GETMINMAXINFO for a window that keeps one outer size.
void keepOuterSize(LPARAM minMaxInfo, int width, int height);

// Lets Tab and the dialog keys reach the controls that lie on `panel`.
void letTabInto(HWND panel);

}  // namespace tamux::win32
