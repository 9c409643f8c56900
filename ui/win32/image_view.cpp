#include "ui/win32/image_view.h"

#include "ui/win32/gdi.h"

namespace tamux::win32 {

namespace {

// Paints a control that draws over its parent: background first, then `draw`, off-screen.
template <typename Draw>
LRESULT paintOverParent(HWND window, Draw draw) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    {
        RECT client;
        GetClientRect(window, &client);
        BufferedPaint buffer(dc, client);
        PaintParentBackground(window, buffer.dc());
        draw(buffer.dc(), client);
    }
    EndPaint(window, &ps);
    return 0;
}

}  // namespace

TImage::TImage(const CreateArgs& args) : args_(args) {
    create("TamuxImage", args.placement, WS_VISIBLE | WS_CLIPSIBLINGS);
}

void TImage::setPicture(Picture picture) {
    args_.picture = picture;
    invalidate();
}

LRESULT TImage::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        return paintOverParent(handle(), [this](HDC dc, const RECT& client) {
            if (!args_.picture.valid()) return;
            const ImageStrip& strip = *args_.picture.strip;
            if (args_.stretch) {
                strip.draw(dc, args_.picture.index, 0, 0, client.right, client.bottom);
            } else {
                strip.draw(dc, args_.picture.index, (client.right - strip.width()) / 2,
                           (client.bottom - strip.height()) / 2);
            }
        });
    }
    return defaultHandling(message, wParam, lParam);
}

TBevel::TBevel(const CreateArgs& args) : args_(args) {
    create("TamuxBevel", args.placement, WS_VISIBLE | WS_CLIPSIBLINGS);
}

LRESULT TBevel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        return paintOverParent(handle(), [this](HDC dc, const RECT& client) {
            COLORREF first = GetSysColor(args_.raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
            COLORREF second = GetSysColor(args_.raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
            if (args_.shape == Shape::Frame) {
                Frame3D(dc, client, first, second);
                return;
            }
            RECT top{0, 0, client.right, 1};
            RECT below{0, 1, client.right, 2};
            FillSolid(dc, top, first);
            FillSolid(dc, below, second);
        });
    }
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
