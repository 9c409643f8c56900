#include "ui/win32/expl_btn.h"

namespace tamux::win32 {

TExplBtn::TExplBtn(const CreateArgs& args) : args_(args), bitmap_(args.bitmap) {
    create("TamuxExplBtn", args.placement, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
}

void TExplBtn::setBitmap(Picture picture) {
    bitmap_ = picture;
    invalidate();
}

void TExplBtn::setCaption(const std::string& caption) {
    args_.caption = caption;
    invalidate();
}

void TExplBtn::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    PaintParentBackground(handle(), dc);
    bool enabled = IsWindowEnabled(handle()) != FALSE;
    bool focused = GetFocus() == handle();
    if (enabled && (hot_ || pressed_)) {
        COLORREF light = RGB(255, 255, 255), dark = RGB(64, 64, 64);
        if (pressed_) std::swap(light, dark);
        Frame3D(dc, client, light, dark);
    }
    int shift = pressed_ && hot_ ? 1 : 0;
    int x = 3 + shift;
    if (bitmap_.valid()) {
        int height = bitmap_.strip->height();
        bitmap_.strip->draw(dc, bitmap_.index, x, (client.bottom - height) / 2 + shift,
                            bitmap_.strip->width(), height, !enabled);
        x += bitmap_.strip->width() + 4;
    }
    COLORREF color = !enabled            ? GetSysColor(COLOR_GRAYTEXT)
                     : (hot_ || focused) ? ToColorRef(args_.captionColor)
                                         : ToColorRef(args_.unselectedTextColor);
    SelectInDc select(dc, fonts_.font(args_.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT text{x, shift, client.right - 2, client.bottom + shift};
    DrawTextA(dc, args_.caption.c_str(), static_cast<int>(args_.caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (focused) {
        RECT focus = client;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

LRESULT TExplBtn::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_BUTTON;
        case WM_MOUSEMOVE:
            if (!hot_) {
                hot_ = true;
                TrackMouseLeave(handle());
                invalidate();
            }
            if (onMouseMove) onMouseMove();
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
            POINT at{MouseX(lParam), MouseY(lParam)};
            invalidate();
            if (PtInRect(&client, at) && onClick) onClick();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            invalidate();
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE || wParam == VK_RETURN) {
                if (onClick) onClick();
                return 0;
            }
            break;
        case WM_SETFOCUS:
            invalidate();
            return 0;
        case WM_KILLFOCUS:
            invalidate();
            if (onExit) onExit();
            return 0;
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
