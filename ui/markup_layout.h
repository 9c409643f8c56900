// Lays one info line out into a list of draw instructions: where every run of text, every image
// and the rule of an HR land, relative to the line's top-left corner. The text measurer is passed
// in, so the same layout serves the screen (GDI) and the tests (a fixed-width measurer); painting
// the list is a separate step.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/color.h"

namespace tamux {

struct FontSpec {
    std::string face = "MS Sans Serif";
    int points = 8;
    Color color = Color::system(syscolor::kWindowText);
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontSpec&) const = default;
};

struct FontMetrics {
    int height = 0;  // ascent + descent, in pixels
    int ascent = 0;
};

class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    virtual FontMetrics metrics(const FontSpec& font) = 0;
    // Advance width of `text` in pixels.
    virtual int textWidth(const FontSpec& font, std::string_view text) = 0;
};

// What a line is laid out against.
struct MarkupContext {
    FontSpec baseFont;   // the list's own font; every line starts with it
    int imageCount = 0;  // the list's sub-item images, for "idx:N"
    int imageWidth = 16;
    int imageHeight = 16;
    int dpiX = 96;  // screen resolution: images are scaled by dpi / 96
    int dpiY = 96;
    int width = 0;              // the line's width in pixels: HR spans it, word wrap breaks at it
    bool wordWrap = false;      // off: a line is one row however long
    std::vector<int> tabStops;  // left tab stops in pixels for tab characters in the text
};

struct TextDraw {
    int x = 0, y = 0;  // top-left of the run
    int width = 0, height = 0;
    FontSpec font;
    std::string text;  // entities decoded
};

struct ImageDraw {
    int x = 0, y = 0;
    int width = 0, height = 0;  // scaled
    int index = 0;
};

struct RuleDraw {
    int x = 0, y = 0;
    int width = 0;  // one pixel high, black
};

using DrawInstruction = std::variant<TextDraw, ImageDraw, RuleDraw>;

struct MarkupLayout {
    std::vector<DrawInstruction> items;
    int width = 0;   // right edge of the widest row
    int height = 0;  // every row, plus the rule of an HR
};

// The font size that FONT size="N" asks for: 1..5 are the sizes 8, 10, 12, 14, 16 points, any
// other whole number is points. Returns 0 for text that is not a usable size.
int markupFontPoints(std::string_view size);

// An image's size on a screen of `dpi`: `pixels` * dpi / 96, rounded.
int scaleForDpi(int pixels, int dpi);

MarkupLayout layoutMarkup(std::string_view line, const MarkupContext& context,
                          TextMeasurer& measurer);

}  // namespace tamux
