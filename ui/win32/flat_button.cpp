#include "ui/win32/flat_button.h"

namespace tamux::win32 {

LRESULT FlatButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_BUTTON;
        case WM_MOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                trackMouseLeave(handle());
                invalidate();
            }
            pointerMoved();
            return 0;
        case WM_MOUSELEAVE:
            hot_ = false;
            invalidate();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(handle());
            pressed_ = true;
            SetCapture(handle());
            invalidate();
            return 0;
        case WM_LBUTTONUP: {
            if (!pressed_) return 0;
            pressed_ = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(handle(), &client);
            POINT at{mouseX(lParam), mouseY(lParam)};
            invalidate();
            if (PtInRect(&client, at)) clicked();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            invalidate();
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE || wParam == VK_RETURN) {
                clicked();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            invalidate();
            return 0;
        case WM_KILLFOCUS:
            invalidate();
            focusLost();
            return 0;
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
