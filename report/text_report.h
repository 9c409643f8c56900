// The report as lines of text: what the text file holds and what the printout prints, each line
// with its font size, and with the value in a column of its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/report_document.h"

namespace tamux {

struct TextLine {
    // Font size in points.
    int points = 10;
    // The line's text, or its label when it has a value.
    std::string text;
    // The value column, for lines that have one.
    std::optional<std::string> value;
    // Where the text and the value start, in the panes' pixels from the left.
    int indent = 0;
    int tabStop = 0;
    // In the text file, the character the value starts at: the same for a whole section.
    std::size_t column = 0;
};

// A line without a value column.
TextLine plainLine(int points, std::string text);

// The document's lines: the title and the creation line, each entry's heading, a gap, its
// sections' lines and a gap, then a gap, an empty rule line and the footer.
std::vector<TextLine> reportTextLines(const ReportDocument& document);

// The text file's lines: each section's values start in one column, two blanks after its longest
// label.
std::vector<std::string> textReportLines(const ReportDocument& document);

// The content of a report file: every line followed by CR LF.
std::string reportFileContent(const std::vector<std::string>& lines);

}  // namespace tamux
