#include "ui/win32/panel.h"

#include "ui/win32/background.h"

namespace tamux::win32 {

namespace {

void drawBevel(HDC dc, RECT& area, Bevel bevel) {
    if (bevel == Bevel::None) return;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    if (bevel == Bevel::Raised) {
        Frame3D(dc, area, light, dark);
    } else {
        Frame3D(dc, area, dark, light);
    }
    InflateRect(&area, -1, -1);
}

}  // namespace

TPanel::TPanel(const CreateArgs& args) : args_(args) {
    create("TamuxPanel", args.placement, WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

void TPanel::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillSolid(dc, client, ToColorRef(args_.color));
    PaintTiled(dc, client, args_.tile);
    PaintTiled(dc, client, args_.tilePicture);
    RECT edge = client;
    drawBevel(dc, edge, args_.outerBevel);
    drawBevel(dc, edge, args_.innerBevel);
}

LRESULT TPanel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
