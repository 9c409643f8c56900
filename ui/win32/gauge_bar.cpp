#include "ui/win32/gauge_bar.h"

#include <algorithm>
#include <string>

#include "platform/win32/optional_function.h"
#include "ui/win32/gdi.h"

namespace tamux::win32 {

namespace {

TRIVERTEX vertex(int x, int y, const Color& color) {
    COLORREF rgb = toColorRef(color);
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(rgb) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(rgb) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(rgb) << 8);
    return v;
}

using GradientFillFunction = decltype(&::GradientFill);

// Where the system has no GradientFill (Windows 95 and NT 4): the same run of colours from
// `from` at `left` to `to` at `right`, in narrow bands.
void fillInBands(HDC dc, int left, int right, int top, int bottom, COLORREF from, COLORREF to) {
    constexpr int kBand = 2;
    const int span = std::max(1, right - left);
    const auto mix = [&](int a, int b, int at) { return a + (b - a) * at / span; };
    for (int x = left; x < right; x += kBand) {
        const int at = x - left;
        const RECT band{x, top, std::min(x + kBand, right), bottom};
        fillSolid(
            dc, band,
            RGB(mix(GetRValue(from), GetRValue(to), at), mix(GetGValue(from), GetGValue(to), at),
                mix(GetBValue(from), GetBValue(to), at)));
    }
}

}  // namespace

GaugeBar::GaugeBar(const CreateArgs& args) : args_(args) {
    create("TamuxGaugeBar", args.placement, WS_VISIBLE | WS_CLIPSIBLINGS);
}

void GaugeBar::paintClient(HDC dc) {
    RECT area;
    GetClientRect(handle(), &area);
    paintParentBackground(handle(), dc);
    for (const std::optional<Color>* border : {&args_.outerBorder, &args_.innerBorder}) {
        if (!*border) continue;
        frameSolid(dc, area, toColorRef(**border));
        InflateRect(&area, -1, -1);
    }
    int maximum = std::max(1, args_.maximum);
    int position = std::clamp(args_.position, 0, maximum);
    int width = area.right - area.left;
    int filled = static_cast<int>(static_cast<long long>(width) * position / maximum);
    if (filled > 0 && area.bottom > area.top) {
        // The gradient runs over the whole bar; the position only decides how much shows.
        int middle = area.left + width / 2;
        TRIVERTEX vertices[] = {
            vertex(area.left, area.top, args_.barColors[0]),
            vertex(middle, area.bottom, args_.barColors[1]),
            vertex(middle, area.top, args_.barColors[1]),
            vertex(area.right, area.bottom, args_.barColors[2]),
        };
        GRADIENT_RECT rects[] = {{0, 1}, {2, 3}};
        int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.left + filled, area.bottom);
        if (auto gradientFill = optionalFunctionAs<GradientFillFunction>(
                platform::OptionalFunction::GradientFill)) {
            gradientFill(dc, vertices, 4, rects, 2, GRADIENT_FILL_RECT_H);
        } else {
            const COLORREF colors[] = {toColorRef(args_.barColors[0]),
                                       toColorRef(args_.barColors[1]),
                                       toColorRef(args_.barColors[2])};
            fillInBands(dc, area.left, middle, area.top, area.bottom, colors[0], colors[1]);
            fillInBands(dc, middle, area.right, area.top, area.bottom, colors[1], colors[2]);
        }
        RestoreDC(dc, saved);
    }
    if (args_.showText) {
        std::string text = std::to_string(position * 100 / maximum) + "%";
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        SelectInDc font(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

LRESULT GaugeBar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handlePaint(message, wParam)) return 0;
    return defaultHandling(message, wParam, lParam);
}

}  // namespace tamux::win32
