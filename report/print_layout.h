// The printed report: the lines laid out top to bottom on the printer's pages, each in the font
// size its markup asks for, with the page number at the foot of every page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/print_canvas.h"

namespace tamux {

// The document name the print job carries (what the spooler and a PDF printer name it after).
inline constexpr std::string_view kReportDocumentName = "Zorv Info Report";

// The printout's own title line, put before the report's lines.
std::string PrintTitleLine();

// A page's footer text: "-1.-" for page 1.
std::string PageFooter(int page);

// Prints `lines` on `canvas` as one document: the title line, then every line in plain text at
// the left margin (a twentieth of the page width), one below the other with a tenth of an inch
// between them. A line that would reach into the bottom margin goes on a new page; each page ends
// with its footer in 8 points, starting at the middle of the page. Raises Error when the print
// job cannot be started.
void printtext(const std::vector<std::string>& lines, platform::PrintCanvas& canvas);

}  // namespace tamux
