#include "ui/section_list_style.h"

namespace tamux {

namespace {

FontSpec sansSerif8(Color color, bool bold = false) {
    FontSpec font;
    font.face = "MS Sans Serif";
    font.points = 8;
    font.color = color;
    font.bold = bold;
    return font;
}

SectionListGeometry paneGeometry(bool glyphsActive) {
    SectionListGeometry geometry;
    geometry.headingHeight = 20;
    geometry.lineHeight = 20;
    geometry.headingIndent = 14;
    geometry.lineIndent = 14;
    geometry.expandGlyphsActive = glyphsActive;
    return geometry;
}

}  // namespace

SectionListStyle leftPaneStyle() {
    SectionListStyle style;
    style.geometry = paneGeometry(true);
    style.background = Color::system(syscolor::kInfoBk);
    style.headingColor = Color::rgb(216, 208, 146);
    style.headingFont = sansSerif8(Color::system(syscolor::kBackground));
    style.lineFont = sansSerif8(Color::system(syscolor::kWindowText));
    style.wordWrap = false;
    style.tabStops = {80};
    style.scrollBarWidth = 16;
    return style;
}

SectionListStyle rightPaneStyle() {
    SectionListStyle style;
    style.geometry = paneGeometry(false);
    style.background = Color::system(syscolor::kWindow);
    style.headingColor = Color::rgb(219, 219, 219);
    style.headingFont = sansSerif8(Color::system(syscolor::kWindowText));
    style.lineFont = sansSerif8(Color::system(syscolor::kWindowText));
    style.wordWrap = true;
    style.scrollBarWidth = 10;
    return style;
}

SectionListStyle reportListStyle() {
    SectionListStyle style;
    style.geometry = paneGeometry(true);
    style.background = Color::system(syscolor::kInfoBk);
    style.headingColor = Color::rgb(216, 208, 146);
    style.headingFont = sansSerif8(Color::system(syscolor::kWindowText), true);
    style.lineFont = sansSerif8(Color::system(syscolor::kWindowText), true);
    style.scrollBarWidth = 16;
    return style;
}

}  // namespace tamux
