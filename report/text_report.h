// The report as plain text: every line of the document in the words a reader sees, with the font
// size the printout gives it.
#pragma once

#include <string>
#include <vector>

#include "report/report_document.h"

namespace tamux {

struct TextLine {
    // Font size in points, for the printout.
    int points = 10;
    std::string text;
};

// The document's lines: the title and the creation line, each entry's heading, a gap, its
// sections' lines and a gap, then a gap, an empty rule line and the footer.
std::vector<TextLine> ReportTextLines(const ReportDocument& document);

// The text of one device line.
TextLine SectionLineText(DeviceKind kind, const SectionLine& line);

// The content of a report file: every line followed by CR LF.
std::string ReportFileContent(const std::vector<std::string>& lines);

// The text file's lines (the texts of ReportTextLines).
std::vector<std::string> TextReportLines(const ReportDocument& document);

}  // namespace tamux
