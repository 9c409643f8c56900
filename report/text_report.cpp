#include "report/text_report.h"

namespace tamux {

namespace {

constexpr int kTitlePoints = 14;
constexpr int kHeadingPoints = 14;
constexpr int kLinePoints = 10;
constexpr int kFooterPoints = 2;

TextLine sectionLineText(DeviceKind kind, const SectionLine& line) {
    switch (line.kind) {
        case LineKind::Title:
            return {12, line.label};
        case LineKind::Group:
            return {line.major ? 11 : kLinePoints, line.label};
        case LineKind::Item:
            // The printer's values stand a blank away from their tab stop, and its label a blank
            // away from that.
            if (kind == DeviceKind::Printer) {
                return {kLinePoints, line.label + "  " + line.value + line.unit};
            }
            return {kLinePoints, line.label + line.value + line.unit};
        case LineKind::State:
            return {kLinePoints, line.label + line.value};
        case LineKind::Capability:
            return {kLinePoints, line.label + ": " + line.value};
        case LineKind::Paper:
            return {kLinePoints, line.label};
        case LineKind::Indicator:
            return {kLinePoints, std::string(" ") + LockKeyName(line.key) + " "};
        case LineKind::Gap:
            return {kLinePoints, " "};
        case LineKind::Empty:
            return {kLinePoints, ""};
    }
    return {kLinePoints, ""};
}

}  // namespace

TextLine SectionLineText(DeviceKind kind, const SectionLine& line) {
    TextLine text = sectionLineText(kind, line);
    // Where the panes put a blank between a picture and the label, the text keeps the blank.
    const bool blankAfterPicture =
        line.kind == LineKind::Item || line.kind == LineKind::State || line.kind == LineKind::Group;
    if (line.icon != LineIcon::None && blankAfterPicture) text.text.insert(0, 1, ' ');
    return text;
}

std::vector<TextLine> ReportTextLines(const ReportDocument& document) {
    std::vector<TextLine> lines;
    lines.push_back({kTitlePoints, std::string(kReportTitle)});
    lines.push_back({kLinePoints, document.created});
    for (const ReportEntry& entry : document.entries) {
        lines.push_back({kHeadingPoints, entry.category + " - " + entry.text + ":"});
        lines.push_back({kLinePoints, " "});
        for (const DeviceSection& section : entry.sections) {
            for (const SectionLine& line : section.lines) {
                lines.push_back(SectionLineText(section.kind, line));
            }
        }
        lines.push_back({kLinePoints, " "});
    }
    lines.push_back({kLinePoints, " "});
    lines.push_back({kLinePoints, ""});
    lines.push_back({kFooterPoints, document.footer});
    return lines;
}

std::vector<std::string> TextReportLines(const ReportDocument& document) {
    std::vector<std::string> texts;
    for (TextLine& line : ReportTextLines(document)) texts.push_back(std::move(line.text));
    return texts;
}

std::string ReportFileContent(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

}  // namespace tamux
