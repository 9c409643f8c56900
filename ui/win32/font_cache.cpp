#include "ui/win32/font_cache.h"

#include <cstring>

namespace tamux::win32 {

namespace {

int screenCaps(int index) {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
}

}  // namespace

int horizontalScreenDpi() {
    return screenCaps(LOGPIXELSX);
}

int verticalScreenDpi() {
    return screenCaps(LOGPIXELSY);
}

FontCache::FontCache() : logPixelsY_(verticalScreenDpi()) {}

HFONT FontCache::font(const FontSpec& wanted) {
    // The colour is drawn with, not part of the font: one font serves every colour.
    FontSpec key = wanted;
    key.color = Color();
    for (auto& [known, font] : fonts_) {
        if (known == key) return static_cast<HFONT>(font.get());
    }
    LOGFONTA description{};
    description.lfHeight = -MulDiv(wanted.points, logPixelsY_, 72);
    description.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = wanted.italic ? TRUE : FALSE;
    description.lfUnderline = wanted.underline ? TRUE : FALSE;
    description.lfStrikeOut = wanted.strikeOut ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::strncpy(description.lfFaceName, wanted.face.c_str(), LF_FACESIZE - 1);
    fonts_.emplace_back(key, ScopedGdiObject(CreateFontIndirectA(&description)));
    return static_cast<HFONT>(fonts_.back().second.get());
}

GdiMeasurer::GdiMeasurer(FontCache& fonts) : fonts_(fonts), dc_(CreateCompatibleDC(nullptr)) {}

FontMetrics GdiMeasurer::metrics(const FontSpec& font) {
    for (const auto& [known, metrics] : metrics_) {
        // The colour does not change the metrics.
        if (known.face == font.face && known.points == font.points && known.bold == font.bold &&
            known.italic == font.italic) {
            return metrics;
        }
    }
    SelectInDc select(dc_.get(), fonts_.font(font));
    TEXTMETRICA text{};
    GetTextMetricsA(dc_.get(), &text);
    FontMetrics metrics{static_cast<int>(text.tmHeight), static_cast<int>(text.tmAscent)};
    metrics_.emplace_back(font, metrics);
    return metrics;
}

int GdiMeasurer::textWidth(const FontSpec& font, std::string_view text) {
    if (text.empty()) return 0;
    SelectInDc select(dc_.get(), fonts_.font(font));
    SIZE size{};
    GetTextExtentPoint32A(dc_.get(), text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

}  // namespace tamux::win32
