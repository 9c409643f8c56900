#include "ui/win32/extended_label.h"

#include "ui/win32/hint.h"

namespace tamux::win32 {

ExtendedLabel::ExtendedLabel(const CreateArgs& args) : args_(args) {
    anchorRight_ = args.placement.x + args.placement.width;
    // Windows 95 and NT 4 have no hand cursor: null there, and the class takes the arrow.
    HCURSOR cursor = args.link ? LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)) : nullptr;
    // Links and plain labels need different class cursors.
    create(args.link ? "TamuxLinkLabel" : "TamuxLabel", args.placement,
           WS_VISIBLE | WS_CLIPSIBLINGS, 0, cursor);
    if (args_.autoSize) fitToText();
}

UINT ExtendedLabel::drawFlags() const {
    UINT flags = DT_NOPREFIX | (args_.align == Align::Right ? DT_RIGHT : DT_LEFT);
    flags |= args_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    return flags;
}

void ExtendedLabel::setCaption(const std::string& caption) {
    args_.caption = caption;
    if (args_.autoSize) fitToText();
    invalidate();
}

void ExtendedLabel::setFont(const FontSpec& font) {
    args_.font = font;
    if (args_.autoSize) fitToText();
    invalidate();
}

void ExtendedLabel::fitToText() {
    if (!handle()) return;
    HDC dc = GetDC(handle());
    RECT area{0, 0, args_.wordWrap ? args_.placement.width : 0, 0};
    {
        SelectInDc select(dc, fonts_.font(args_.font));
        DrawTextA(dc, args_.caption.c_str(), static_cast<int>(args_.caption.size()), &area,
                  drawFlags() | DT_CALCRECT);
    }
    ReleaseDC(handle(), dc);
    int extra = args_.shadow ? args_.shadowOffset : 0;
    int width = area.right + extra;
    int height = area.bottom + extra;
    RECT now;
    GetWindowRect(handle(), &now);
    MapWindowPoints(nullptr, GetParent(handle()), reinterpret_cast<POINT*>(&now), 2);
    int left = now.left;
    if (args_.align == Align::Right && args_.placement.width > 0) left = anchorRight_ - width;
    MoveWindow(handle(), left, now.top, width, height, TRUE);
}

void ExtendedLabel::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (args_.transparent) {
        paintParentBackground(handle(), dc);
    } else {
        fillSolid(dc, client, toColorRef(args_.background));
    }
    SelectInDc select(dc, fonts_.font(args_.font));
    SetBkMode(dc, TRANSPARENT);
    RECT text = client;
    if (args_.shadow) {
        text.right -= args_.shadowOffset;
        text.bottom -= args_.shadowOffset;
        RECT shadow = text;
        OffsetRect(&shadow, args_.shadowOffset, args_.shadowOffset);
        SetTextColor(dc, toColorRef(args_.shadowColor));
        DrawTextA(dc, args_.caption.c_str(), static_cast<int>(args_.caption.size()), &shadow,
                  drawFlags());
    }
    SetTextColor(
        dc, IsWindowEnabled(handle()) ? toColorRef(args_.font.color) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, args_.caption.c_str(), static_cast<int>(args_.caption.size()), &text,
              drawFlags());
}

LRESULT ExtendedLabel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    switch (message) {
        case WM_LBUTTONUP:
            if (onClick) onClick();
            return 0;
        case WM_LBUTTONDBLCLK:
            if (onDblClick) onDblClick();
            return 0;
        case WM_MOUSEMOVE:
            if (!pointerInside_) {
                pointerInside_ = true;
                trackMouseLeave(handle());
                showHint(args_.hint);
            }
            return 0;
        case WM_MOUSELEAVE:
            pointerInside_ = false;
            if (!args_.hint.empty()) hideHint();
            return 0;
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
