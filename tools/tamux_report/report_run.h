// One run of the report on a simulated machine: the machine started as tamux.exe starts (the
// language module and the device databases installed beside it, as the suite lays them out), the
// Report button pressed, the chosen entries ticked, and Save pressed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "report/report_assembly.h"

namespace tamux::tools {

struct ReportRun {
    std::filesystem::path machine;  // samples/machines/<name>
    std::filesystem::path suite;    // Tamux/tamux<lang>.dll, SHARED/DATABASES/*.txt
    std::string language = "EN";
    // The texts of the entries to tick, as the report window shows them (a printer's name may
    // be given as the system stores it); empty with `all`.
    std::vector<std::string> entries;
    bool all = false;
    ReportFileFormat format = ReportFileFormat::Text;
};

struct ReportResult {
    std::string content;                // the saved file
    std::vector<std::string> messages;  // message boxes shown on the way
};

// Raises tamux::Error for a machine that cannot be loaded, a missing module or database file,
// an entry the report window does not list (the message names those it lists), and whatever
// the report itself raises.
ReportResult runReport(const ReportRun& run);

}  // namespace tamux::tools
