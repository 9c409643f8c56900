// A text measurer with round numbers: every character is as many pixels wide as its font has
// points (bold adds one), a font is 1.5 times its points high with the baseline at its points.
#pragma once

#include "ui/markup_layout.h"

namespace tamux::test {

class FixedMeasurer : public TextMeasurer {
  public:
    FontMetrics metrics(const FontSpec& font) override {
        return {font.points + font.points / 2, font.points};
    }
    int textWidth(const FontSpec& font, std::string_view text) override {
        return static_cast<int>(text.size()) * (font.points + (font.bold ? 1 : 0));
    }
};

}  // namespace tamux::test
