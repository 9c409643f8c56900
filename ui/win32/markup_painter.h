// Draws a laid-out info line: the runs of text in their fonts and colours, the images of the
// list's sub-item strip and the rule of an HR. Where things go was decided by layoutMarkup.
#pragma once

#include "ui/markup_layout.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

// Paints `layout` with the line's top-left corner at (left, top). `images` may be null: then
// image instructions draw nothing.
void paintMarkup(HDC dc, const MarkupLayout& layout, int left, int top, FontCache& fonts,
                 const ImageStrip* images);

// The context for laying out lines against this screen and an image strip.
MarkupContext screenMarkupContext(const FontSpec& baseFont, const ImageStrip* images, int width);

}  // namespace tamux::win32
