// The report as an HTML document, for a browser or a mail: one table, a row per line, the label
// and the value in cells of their own, in the colours the panes draw.
#pragma once

#include <string>
#include <vector>

#include "report/report_document.h"

namespace tamux {

// The HTML file's lines.
std::vector<std::string> htmlReportLines(const ReportDocument& document);

// The name under which browsers know an ANSI code page ("windows-1250").
std::string htmlCharsetName(unsigned codePage);

}  // namespace tamux
