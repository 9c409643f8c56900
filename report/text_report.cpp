#include "report/text_report.h"

#include <algorithm>

#include "ui/line_style.h"

namespace tamux {

namespace {

constexpr int kTitlePoints = 14;
constexpr int kHeadingPoints = 14;
constexpr int kLinePoints = 10;
constexpr int kFooterPoints = 2;
// Blanks between a section's longest label and its value column.
constexpr std::size_t kColumnGap = 2;

TextLine sectionLineText(DeviceKind kind, const SectionLine& line, const ReportDocument& document) {
    const LineStyle style = styleOf(kind, line);
    TextLine text;
    text.points = style.labelPoints;
    text.indent = style.labelIndent;
    text.text = onOneLine(line.kind == LineKind::Indicator ? lockKeyName(line.key) : line.label);
    if (hasValueColumn(line)) {
        text.value = onOneLine(valueColumnText(line, document));
        text.tabStop = style.valueTabStop;
    }
    return text;
}

void addSection(std::vector<TextLine>& lines, const DeviceSection& section,
                const ReportDocument& document) {
    const std::size_t first = lines.size();
    std::size_t widest = 0;
    for (const SectionLine& line : section.lines) {
        lines.push_back(sectionLineText(section.kind, line, document));
        if (lines.back().value) widest = std::max(widest, lines.back().text.size());
    }
    for (std::size_t i = first; i < lines.size(); ++i) lines[i].column = widest + kColumnGap;
}

}  // namespace

TextLine plainLine(int points, std::string text) {
    TextLine line;
    line.points = points;
    line.text = std::move(text);
    return line;
}

std::vector<TextLine> reportTextLines(const ReportDocument& document) {
    std::vector<TextLine> lines;
    lines.push_back(plainLine(kTitlePoints, std::string(kReportTitle)));
    lines.push_back(plainLine(kLinePoints, onOneLine(document.created)));
    for (const ReportEntry& entry : document.entries) {
        lines.push_back(
            plainLine(kHeadingPoints, onOneLine(entry.category + " - " + entry.text + ":")));
        lines.push_back(plainLine(kLinePoints, ""));
        for (const DeviceSection& section : entry.sections) addSection(lines, section, document);
        lines.push_back(plainLine(kLinePoints, ""));
    }
    lines.push_back(plainLine(kLinePoints, ""));
    lines.push_back(plainLine(kLinePoints, ""));
    lines.push_back(plainLine(kFooterPoints, onOneLine(document.footer)));
    return lines;
}

std::vector<std::string> textReportLines(const ReportDocument& document) {
    std::vector<std::string> texts;
    for (const TextLine& line : reportTextLines(document)) {
        std::string text = line.text;
        if (line.value) {
            text.resize(std::max(line.column, text.size() + 1), ' ');
            text += *line.value;
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

std::string reportFileContent(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

}  // namespace tamux
