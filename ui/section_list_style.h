// How a section list looks and behaves, as one value: the main window's two panes and the
// report window's list each take one of the styles below.
#pragma once

#include <vector>

#include "ui/color.h"
#include "ui/markup_layout.h"
#include "ui/section_list.h"

namespace tamux {

struct SectionListStyle {
    SectionListGeometry geometry;
    Color background = Color::system(syscolor::kWindow);
    Color headingColor = Color::rgb(219, 219, 219);  // the heading band
    FontSpec headingFont;                            // caption font and colour
    FontSpec lineFont;                               // every line starts with it
    bool wordWrap = false;
    std::vector<int> tabStops;
    int scrollBarWidth = 16;
    Color selectionBackground = Color::system(syscolor::kHighlight);
    Color selectionText = Color::rgb(0, 0, 128);
};

// The main window's left pane: categories on a tooltip-coloured ground.
SectionListStyle leftPaneStyle();
// The main window's right pane: device sections, long lines wrapped, opened by the window.
SectionListStyle rightPaneStyle();
// The report window's list of entries to tick.
SectionListStyle reportListStyle();

}  // namespace tamux
