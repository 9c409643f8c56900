#include "ui/win32/markup_painter.h"

namespace tamux::win32 {

void paintMarkup(HDC dc, const MarkupLayout& layout, int left, int top, FontCache& fonts,
                 const ImageStrip* images) {
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = GetTextColor(dc);
    for (const DrawInstruction& item : layout.items) {
        if (const auto* text = std::get_if<TextDraw>(&item)) {
            SelectInDc select(dc, fonts.font(text->font));
            SetTextColor(dc, toColorRef(text->font.color));
            TextOutA(dc, left + text->x, top + text->y, text->text.data(),
                     static_cast<int>(text->text.size()));
        } else if (const auto* image = std::get_if<ImageDraw>(&item)) {
            if (images) {
                images->draw(dc, image->index, left + image->x, top + image->y, image->width,
                             image->height);
            }
        } else if (const auto* rule = std::get_if<RuleDraw>(&item)) {
            RECT line{left + rule->x, top + rule->y, left + rule->x + rule->width,
                      top + rule->y + 1};
            fillSolid(dc, line, RGB(0, 0, 0));
        }
    }
    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousMode);
}

MarkupContext screenMarkupContext(const FontSpec& baseFont, const ImageStrip* images, int width) {
    MarkupContext context;
    context.baseFont = baseFont;
    if (images) {
        context.imageCount = images->count();
        context.imageWidth = images->width();
        context.imageHeight = images->height();
    }
    context.dpiX = horizontalScreenDpi();
    context.dpiY = verticalScreenDpi();
    context.width = width;
    return context;
}

}  // namespace tamux::win32
