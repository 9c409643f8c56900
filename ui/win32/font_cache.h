// GDI fonts for FontSpecs, created once and kept while the cache lives. Font sizes are points on
// the screen: the height in pixels follows the screen's resolution.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "ui/markup_layout.h"
#include "ui/win32/gdi.h"

namespace tamux::win32 {

class FontCache {
  public:
    FontCache();
    HFONT font(const FontSpec& wanted);
    void clear() { fonts_.clear(); }

  private:
    int logPixelsY_;
    std::vector<std::pair<FontSpec, ScopedGdiObject>> fonts_;
};

// Measures with GDI in a screen-compatible DC of its own.
class GdiMeasurer : public TextMeasurer {
  public:
    explicit GdiMeasurer(FontCache& fonts);
    FontMetrics metrics(const FontSpec& font) override;
    int textWidth(const FontSpec& font, std::string_view text) override;

  private:
    FontCache& fonts_;
    ScopedMemoryDc dc_;
    std::vector<std::pair<FontSpec, FontMetrics>> metrics_;
};

// The screen's resolution in dots per inch.
int horizontalScreenDpi();
int verticalScreenDpi();

}  // namespace tamux::win32
