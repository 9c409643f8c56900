#include "ui/win32/gdi.h"

namespace tamux::win32 {

COLORREF toColorRef(const Color& color) {
    if (color.isSystem) return GetSysColor(color.systemIndex);
    return RGB(color.r, color.g, color.b);
}

void fillSolid(HDC dc, const RECT& area, COLORREF color) {
    COLORREF previous = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

void frameSolid(HDC dc, const RECT& area, COLORREF color) {
    frame3D(dc, area, color, color);
}

void frame3D(HDC dc, const RECT& area, COLORREF topLeft, COLORREF bottomRight) {
    RECT top{area.left, area.top, area.right, area.top + 1};
    RECT left{area.left, area.top, area.left + 1, area.bottom};
    RECT bottom{area.left, area.bottom - 1, area.right, area.bottom};
    RECT right{area.right - 1, area.top, area.right, area.bottom};
    fillSolid(dc, top, topLeft);
    fillSolid(dc, left, topLeft);
    fillSolid(dc, bottom, bottomRight);
    fillSolid(dc, right, bottomRight);
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area)
    : target_(target), area_(area), memory_(CreateCompatibleDC(target)) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    bitmap_.reset(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1));
    previous_ = SelectObject(memory_.get(), bitmap_.get());
    SetWindowOrgEx(memory_.get(), area.left, area.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
           memory_.get(), area_.left, area_.top, SRCCOPY);
    SelectObject(memory_.get(), previous_);
}

}  // namespace tamux::win32
