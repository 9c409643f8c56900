#include "ui/win32/panel.h"

#include "ui/win32/background.h"

namespace tamux::win32 {

namespace {

void drawBevel(HDC dc, RECT& area, Bevel bevel) {
    if (bevel == Bevel::None) return;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    if (bevel == Bevel::Raised) {
        frame3D(dc, area, light, dark);
    } else {
        frame3D(dc, area, dark, light);
    }
    InflateRect(&area, -1, -1);
}

}  // namespace

Panel::Panel(const CreateArgs& args) : args_(args) {
    create("TamuxPanel", args.placement, WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

void Panel::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    fillSolid(dc, client, toColorRef(args_.color));
    paintTiled(dc, client, args_.tile);
    paintTiled(dc, client, args_.tilePicture);
    RECT edge = client;
    drawBevel(dc, edge, args_.outerBevel);
    drawBevel(dc, edge, args_.innerBevel);
}

LRESULT Panel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            paintBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PRINTCLIENT:
            paintBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle(), &ps);
            paintBackground(dc);
            EndPaint(handle(), &ps);
            return 0;
        }
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
