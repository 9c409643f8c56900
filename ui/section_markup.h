// A device section as the panes draw it: one markup line per line of the section. This is the
// only place that knows the fragments (fonts, colours, images, tab stops) of device lines.
#pragma once

#include <string>
#include <vector>

#include "ui/device_section.h"

namespace tamux {

// How the markup is written beyond what the panes need.
struct MarkupOptions {
    // The line's picture; left out where nothing can show it.
    bool images = true;
    // Maps a font size in points to the size written in the size attribute.
    std::string (*fontSize)(int points) = nullptr;
};

// The markup of one line of a section of that kind.
std::string sectionLineMarkup(DeviceKind kind, const SectionLine& line,
                              const MarkupOptions& options = {});

// The markup of every line of the section, in order.
std::vector<std::string> sectionMarkup(const DeviceSection& section,
                                       const MarkupOptions& options = {});

}  // namespace tamux
