#include "report/html_report.h"

#include "ui/markup_text.h"
#include "ui/section_markup.h"

namespace tamux {

namespace {

// HTML's font sizes for the panes' point sizes.
std::string htmlFontSize(int points) {
    if (points >= 12 && points <= 15) return "4";
    if (points >= 9 && points <= 11) return "3";
    if (points >= 6 && points <= 8) return "2";
    return std::to_string(points);
}

void addRow(std::vector<std::string>& rows, std::string_view cell) {
    rows.push_back("<TR><TD>" + std::string(cell) + "</TD></TR>");
}

}  // namespace

std::vector<std::string> HtmlReportLines(const ReportDocument& document) {
    const MarkupOptions options{false, &htmlFontSize};
    std::vector<std::string> rows;
    addRow(rows, "<TABLE>");
    addRow(rows, "<FONT color=\"clnavy\" size=\"4\">" + std::string(kReportTitle) + "</FONT>");
    addRow(rows,
           "<FONT color=\"clblack\" size=\"3\">" + EscapeMarkup(document.created) + "</FONT>");
    for (const ReportEntry& entry : document.entries) {
        addRow(rows, "<FONT size=\"4\" color=\"clblue\">" + EscapeMarkup(entry.category) + " - " +
                         "<FONT size=\"4\" color=\"clnavy\">" + EscapeMarkup(entry.text) +
                         ":</FONT>");
        addRow(rows, " ");
        for (const DeviceSection& section : entry.sections) {
            for (const SectionLine& line : section.lines) {
                addRow(rows, SectionLineMarkup(section.kind, line, options));
            }
        }
        addRow(rows, " ");
    }
    addRow(rows, " ");
    addRow(rows, "<HR color-\"clblue\">");
    addRow(rows, "<FONT color=\"clblack\" size=\"2\">" + EscapeMarkup(document.footer) + "</FONT>");
    return rows;
}

}  // namespace tamux
