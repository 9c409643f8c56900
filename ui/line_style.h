// How each line of a device section looks, wherever it is shown: the colour and font size of its
// label and of its value, and where they start. The panes' markup, the HTML report and the
// printout all take their looks from here.
#pragma once

#include <string_view>

#include "ui/device_section.h"

namespace tamux {

struct LineStyle {
    // Colours as the markup names them ("clnavy"); sizes in points.
    std::string_view labelColour;
    int labelPoints = 10;
    std::string_view valueColour;
    // Where the label starts and where the value starts, in the panes' pixels from the left.
    int labelIndent = 0;
    int valueTabStop = 0;
};

LineStyle styleOf(DeviceKind kind, const SectionLine& line);

// Whether the line has a value column: items, states, capabilities and indicators.
bool hasValueColumn(const SectionLine& line);

// The panes' resolution, in which indents and tab stops are given.
inline constexpr int kPanePixelsPerInch = 96;

}  // namespace tamux
