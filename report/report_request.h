// The report request: what the report window leaves behind when it closes - the action the user
// chose and the entries that were ticked, in the window's order. The report assembly reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/pane_layout.h"

namespace tamux {

enum ReportAction : std::uint8_t { raNone = 0, raPrint = 1, raSend = 2, raSave = 3 };

// One ticked entry of the report window.
struct selitem {
    std::int32_t section = 0;  // 0 input devices, 1 printers
    std::int32_t subitem = 0;  // the entry's index within its section
    bool ticked = false;
    std::string text;     // the entry's text (a printer's entry caption)
    std::string caption;  // the caption of the entry's section

    bool operator==(const selitem&) const = default;
};

struct ReportRequest {
    ReportAction action = raNone;
    std::vector<selitem> items;

    bool operator==(const ReportRequest&) const = default;
};

}  // namespace tamux
