// The printed report: the lines laid out top to bottom on the printer's pages, each in its font
// size, with the page number at the foot of every page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/print_canvas.h"
#include "report/text_report.h"

namespace tamux {

// The document name the print job carries (what the spooler and a PDF printer name it after).
inline constexpr std::string_view kReportDocumentName = "Zorv Info Report";

// The printout's own title line, put before the report's lines.
TextLine printTitleLine();

// A page's footer text: "-1.-" for page 1.
std::string pageFooter(int page);

// Prints `lines` on `canvas` as one document: the title line, then every line at the left margin
// (a twentieth of the page width) plus its indent, its value at its tab stop (both scaled from
// the panes' resolution to the printer's), one below the other with a tenth of an inch
// between them. A line that would reach into the bottom margin goes on a new page; each page ends
// with its footer in 8 points, starting at the middle of the page. Raises Error when the print
// job cannot be started.
void printReport(const std::vector<TextLine>& lines, platform::PrintCanvas& canvas);

}  // namespace tamux
