// The report request: what the report window leaves behind when it closes - the action the user
// chose and the entries that were ticked, in the window's order. The report assembly reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/pane_layout.h"

namespace tamux {

enum ReportAction : std::uint8_t { None = 0, Print = 1, Send = 2, Save = 3 };

// One ticked entry of the report window.
struct SelectedItem {
    std::int32_t section = 0;  // 0 input devices, 1 printers
    std::int32_t subitem = 0;  // the entry's index within its section
    bool ticked = false;
    std::string text;     // the entry's text (a printer's entry caption)
    std::string caption;  // the caption of the entry's section

    bool operator==(const SelectedItem&) const = default;
};

struct ReportRequest {
    ReportAction action = ReportAction::None;
    std::vector<SelectedItem> items;

    bool operator==(const ReportRequest&) const = default;
};

}  // namespace tamux
