#include "ui/win32/explorer_button.h"

namespace tamux::win32 {

ExplorerButton::ExplorerButton(const CreateArgs& args) : args_(args), bitmap_(args.bitmap) {
    create("TamuxExplBtn", args.placement, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
}

void ExplorerButton::setBitmap(Picture picture) {
    bitmap_ = picture;
    invalidate();
}

void ExplorerButton::setCaption(const std::string& caption) {
    args_.caption = caption;
    invalidate();
}

void ExplorerButton::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintParentBackground(handle(), dc);
    bool enabled = IsWindowEnabled(handle()) != FALSE;
    bool focused = GetFocus() == handle();
    if (enabled && (hot() || pressed())) {
        COLORREF light = RGB(255, 255, 255), dark = RGB(64, 64, 64);
        if (pressed()) std::swap(light, dark);
        frame3D(dc, client, light, dark);
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
                     : (hot() || focused) ? toColorRef(args_.captionColor)
                                          : toColorRef(args_.unselectedTextColor);
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

void ExplorerButton::clicked() {
    if (onClick) onClick();
}

void ExplorerButton::pointerMoved() {
    if (onMouseMove) onMouseMove();
}

void ExplorerButton::focusLost() {
    if (onExit) onExit();
}

}  // namespace tamux::win32
