#include "ui/section_markup.h"

#include "ui/line_style.h"
#include "ui/markup_text.h"

namespace tamux {

namespace {

// Writes one line from fragments.
class LineWriter {
  public:
    LineWriter& text(std::string_view fragment) {
        line_ += fragment;
        return *this;
    }
    LineWriter& escaped(std::string_view value) {
        line_ += escapeMarkup(value);
        return *this;
    }
    // The picture and what follows it (a blank on most lines).
    LineWriter& image(LineIcon icon, std::string_view after) {
        if (icon == LineIcon::None) return *this;
        line_ += "<IMG src=\"idx:";
        line_ += std::to_string(static_cast<int>(icon));
        line_ += "\"></IMG>";
        line_ += after;
        return *this;
    }
    LineWriter& font(std::string_view colour, int points) {
        return text("<FONT color=\"").text(colour).text("\" size=\"").size(points).text("\">");
    }
    // The same font with its attributes the other way round, as the printer lines have it.
    LineWriter& fontSizeFirst(std::string_view colour, int points) {
        return text("<FONT size=\"").size(points).text("\" color=\"").text(colour).text("\">");
    }
    LineWriter& tabStop(int x) { return text("<IND x=\"").text(std::to_string(x)).text("\">"); }
    LineWriter& end() { return text("</FONT>"); }
    std::string take() { return std::move(line_); }

  private:
    LineWriter& size(int points) {
        line_ += std::to_string(points);
        return *this;
    }

    std::string line_;
};

std::string itemMarkup(DeviceKind kind, const SectionLine& line) {
    const LineStyle style = styleOf(kind, line);
    LineWriter out;
    out.image(line.icon, " ");
    if (kind == DeviceKind::Printer) {
        // The printer's values stand a blank away from the tab stop.
        out.fontSizeFirst(style.labelColour, style.labelPoints)
            .escaped(line.label)
            .text(" ")
            .tabStop(style.valueTabStop)
            .text("<FONT color=\"")
            .text(style.valueColour)
            .text("\"> ");
    } else {
        out.font(style.labelColour, style.labelPoints)
            .escaped(line.label)
            .tabStop(style.valueTabStop)
            .text("<FONT color=\"")
            .text(style.valueColour)
            .text("\">");
    }
    return out.escaped(line.value).escaped(line.unit).end().take();
}

}  // namespace

std::string sectionLineMarkup(DeviceKind kind, const SectionLine& line) {
    const LineStyle style = styleOf(kind, line);
    LineWriter out;
    switch (line.kind) {
        case LineKind::Title:
            return out.font(style.labelColour, style.labelPoints).escaped(line.label).end().take();
        case LineKind::Group:
            out.image(line.icon, " ");
            if (style.labelIndent > 0) out.tabStop(style.labelIndent);
            return out.font(style.labelColour, style.labelPoints).escaped(line.label).end().take();
        case LineKind::Item:
            return itemMarkup(kind, line);
        case LineKind::State:
            return out.image(line.icon, " ")
                .font(style.labelColour, style.labelPoints)
                .escaped(line.label)
                .tabStop(style.valueTabStop)
                .font(style.valueColour, style.labelPoints)
                .escaped(line.value)
                .end()
                .take();
        case LineKind::Capability:
            return out.image(line.icon, "")
                .font(style.labelColour, style.labelPoints)
                .escaped(line.label)
                .text(": ")
                .tabStop(style.valueTabStop)
                .text("<FONT color=\"")
                .text(style.valueColour)
                .text("\">")
                .escaped(line.value)
                .end()
                .take();
        case LineKind::Paper:
            return out.image(line.icon, "")
                .tabStop(style.labelIndent)
                .font(style.labelColour, style.labelPoints)
                .escaped(line.label)
                .end()
                .take();
        case LineKind::Indicator:
            return out.font(style.labelColour, style.labelPoints)
                .text(" ")
                .text(lockKeyName(line.key))
                .text(" ")
                .end()
                .take();
        case LineKind::Gap:
            return " ";
        case LineKind::Empty:
            return "";
    }
    return "";
}

std::vector<std::string> sectionMarkup(const DeviceSection& section) {
    std::vector<std::string> lines;
    lines.reserve(section.lines.size());
    for (const SectionLine& line : section.lines) {
        lines.push_back(sectionLineMarkup(section.kind, line));
    }
    return lines;
}

}  // namespace tamux
