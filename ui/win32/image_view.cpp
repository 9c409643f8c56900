#include "ui/win32/image_view.h"

#include "ui/win32/gdi.h"

namespace tamux::win32 {

ImageView::ImageView(const CreateArgs& args) : args_(args) {
    create("TamuxImage", args.placement, WS_VISIBLE | WS_CLIPSIBLINGS);
}

void ImageView::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintParentBackground(handle(), dc);
    if (!args_.picture.valid()) return;
    const ImageStrip& strip = *args_.picture.strip;
    if (args_.stretch) {
        strip.draw(dc, args_.picture.index, 0, 0, client.right, client.bottom);
    } else {
        strip.draw(dc, args_.picture.index, (client.right - strip.width()) / 2,
                   (client.bottom - strip.height()) / 2);
    }
}

LRESULT ImageView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    return defaultHandling(message, wParam, lParam);
}

BevelLine::BevelLine(const CreateArgs& args) : args_(args) {
    create("TamuxBevel", args.placement, WS_VISIBLE | WS_CLIPSIBLINGS);
}

void BevelLine::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintParentBackground(handle(), dc);
    COLORREF first = GetSysColor(args_.raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    COLORREF second = GetSysColor(args_.raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    if (args_.shape == Shape::Frame) {
        frame3D(dc, client, first, second);
        return;
    }
    RECT top{0, 0, client.right, 1};
    RECT below{0, 1, client.right, 2};
    fillSolid(dc, top, first);
    fillSolid(dc, below, second);
}

LRESULT BevelLine::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
