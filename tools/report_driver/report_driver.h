// The program started on a platform as tamux.exe starts (the main window created, the machine
// read), the Report button pressed, entries ticked and Save pressed. The save dialog is the
// platform's: the caller scripts its answer, and the report lands where that answer says.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "report/report_assembly.h"

namespace tamux::tools {

struct ReportChoice {
    // The texts of the entries to tick, as the report window shows them (a printer's name may be
    // given as the system stores it); empty with `all`.
    std::vector<std::string> entries;
    bool all = false;
};

// Raises tamux::Error for an entry the report window does not list (the message names those it
// lists), and passes on whatever the program raises.
void saveReport(platform::Platform platform, const ReportChoice& choice);

}  // namespace tamux::tools
