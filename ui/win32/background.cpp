#include "ui/win32/background.h"

namespace tamux::win32 {

namespace {

// Calls draw(x, y) for every tile position that touches `area`.
template <typename Draw>
void forEachTile(const RECT& area, int width, int height, POINT origin, Draw draw) {
    if (width <= 0 || height <= 0) return;
    auto firstAtOrBefore = [](int edge, int start, int step) {
        int offset = (edge - start) % step;
        if (offset < 0) offset += step;
        return edge - offset;
    };
    for (int y = firstAtOrBefore(area.top, origin.y, height); y < area.bottom; y += height) {
        for (int x = firstAtOrBefore(area.left, origin.x, width); x < area.right; x += width) {
            draw(x, y);
        }
    }
}

}  // namespace

void paintTiled(HDC dc, const RECT& area, HBITMAP tile, POINT origin) {
    BITMAP info{};
    if (!tile || !GetObjectA(tile, sizeof(info), &info)) return;
    ScopedMemoryDc source(CreateCompatibleDC(dc));
    SelectInDc select(source.get(), tile);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    forEachTile(area, info.bmWidth, info.bmHeight, origin, [&](int x, int y) {
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    });
    RestoreDC(dc, saved);
}

void paintTiled(HDC dc, const RECT& area, const Picture& tile, POINT origin) {
    if (!tile.valid()) return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    forEachTile(area, tile.strip->width(), tile.strip->height(), origin,
                [&](int x, int y) { tile.strip->draw(dc, tile.index, x, y); });
    RestoreDC(dc, saved);
}

void eraseToTiledFace(HWND window, HDC dc, const Picture& tile) {
    RECT client;
    GetClientRect(window, &client);
    fillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    paintTiled(dc, client, tile);
}

}  // namespace tamux::win32
