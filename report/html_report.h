// The report as HTML, for a browser or a mail.
#pragma once

#include <string>
#include <vector>

#include "report/report_document.h"

namespace tamux {

// The HTML file's lines.
std::vector<std::string> HtmlReportLines(const ReportDocument& document);

}  // namespace tamux
