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
    if (enabled && (hot() || pressed())) {
        COLORREF light = RGB(255, 255, 255), dark = RGB(64, 64, 64);
        if (pressed()) std::swap(light, dark);
        Frame3D(dc, client, light, dark);
    }
    int shift = pressed() && hot() ? 1 : 0;
    int x = 3 + shift;
    if (bitmap_.valid()) {
        int height = bitmap_.strip->height();
        bitmap_.strip->draw(dc, bitmap_.index, x, (client.bottom - height) / 2 + shift,
                            bitmap_.strip->width(), height, !enabled);
        x += bitmap_.strip->width() + 4;
    }
    COLORREF color = !enabled             ? GetSysColor(COLOR_GRAYTEXT)
                     : (hot() || focused) ? ToColorRef(args_.captionColor)
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

void TExplBtn::clicked() {
    if (onClick) onClick();
}

void TExplBtn::pointerMoved() {
    if (onMouseMove) onMouseMove();
}

void TExplBtn::focusLost() {
    if (onExit) onExit();
}

}  // namespace tamux::win32
