// A device section as the panes draw it: one markup line per line of the section. This is the
// only place that knows the fragments (fonts, colours, images, tab stops) of device lines.
#pragma once

#include <string>
#include <vector>

#include "ui/device_section.h"

namespace tamux {

// The markup of one line of a section of that kind.
std::string sectionLineMarkup(DeviceKind kind, const SectionLine& line);

// The markup of every line of the section, in order.
std::vector<std::string> sectionMarkup(const DeviceSection& section);

}  // namespace tamux
