#include "report/html_report.h"

#include <cstdio>

#include "ui/color.h"
#include "ui/line_style.h"

namespace tamux {

namespace {

// The three sizes the report has always used, from the panes' points.
std::string_view cssFontSize(int points) {
    if (points >= 12) return "large";
    if (points >= 9) return "medium";
    return "small";
}

std::string cssColour(std::string_view markupColour) {
    const Color colour = parseMarkupColor(markupColour);
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return hex;
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : onOneLine(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string style(std::string_view colour, int points) {
    return "style=\"color:" + cssColour(colour) + ";font-size:" + std::string(cssFontSize(points)) +
           "\"";
}

// A cell of text in its colour and size; `span` cells run across both columns.
std::string cell(std::string_view colour, int points, std::string_view text, bool span) {
    return std::string("<td") + (span ? " colspan=\"2\" " : " ") + style(colour, points) + ">" +
           escapeHtml(text) + "</td>";
}

std::string row(std::string cells) {
    return "<tr>" + std::move(cells) + "</tr>";
}

std::string emptyRow() {
    return row("<td colspan=\"2\">&nbsp;</td>");
}

std::string sectionRow(DeviceKind kind, const SectionLine& line, const ReportDocument& document) {
    if (line.kind == LineKind::Gap || line.kind == LineKind::Empty) return emptyRow();
    const LineStyle look = styleOf(kind, line);
    const std::string label = line.kind == LineKind::Indicator ? lockKeyName(line.key) : line.label;
    if (!hasValueColumn(line)) return row(cell(look.labelColour, look.labelPoints, label, true));
    return row(cell(look.labelColour, look.labelPoints, label, false) +
               cell(look.valueColour, look.labelPoints, valueColumnText(line, document), false));
}

}  // namespace

std::string htmlCharsetName(unsigned codePage) {
    return "windows-" + std::to_string(codePage);
}

std::vector<std::string> htmlReportLines(const ReportDocument& document) {
    const std::string title(kReportTitle);
    std::vector<std::string> lines = {
        "<!DOCTYPE html>",
        "<html>",
        "<head>",
        "<meta charset=\"" + htmlCharsetName(document.codePage) + "\">",
        "<title>" + escapeHtml(title) + "</title>",
        "</head>",
        "<body>",
        "<table>",
        row(cell("clnavy", 14, title, true)),
        row(cell("clblack", 10, document.created, true)),
    };
    for (const ReportEntry& entry : document.entries) {
        lines.push_back(row("<td colspan=\"2\" " + style("clblue", 14) + ">" +
                            escapeHtml(entry.category) + " - <span " + style("clnavy", 14) + ">" +
                            escapeHtml(entry.text) + ":</span></td>"));
        lines.push_back(emptyRow());
        for (const DeviceSection& section : entry.sections) {
            for (const SectionLine& line : section.lines) {
                lines.push_back(sectionRow(section.kind, line, document));
            }
        }
        lines.push_back(emptyRow());
    }
    lines.push_back(emptyRow());
    lines.push_back(row("<td colspan=\"2\"><hr></td>"));
    lines.push_back(row(cell("clblack", 2, document.footer, true)));
    lines.push_back("</table>");
    lines.push_back("</body>");
    lines.push_back("</html>");
    return lines;
}

}  // namespace tamux
