#include "devices/printers/printer_text.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "lang/lang_markup.h"
#include "ui/markup_text.h"

namespace tamux {

namespace {

// Fragments of the printer lines.
constexpr std::string_view kLabelPart =
    R"(<IMG src="idx:2"></IMG> <FONT size="10" color="clblue">)";
constexpr std::string_view kValuePart = R"( <IND x="200"><FONT color="clmaroon"> )";
constexpr std::string_view kHeadingPart = R"(<IND x="50"><FONT color="clgreen" size="10">)";
constexpr std::string_view kPresentPart =
    R"(<IMG src="idx:4"></IMG><FONT color="clblue" size="10">)";
constexpr std::string_view kAbsentPart =
    R"(<IMG src="idx:5"></IMG><FONT color="clblue" size="10">)";
constexpr std::string_view kMarkPart = R"(: <IND x="250"><FONT color="clmaroon">)";
constexpr std::string_view kEnd = "</FONT>";
constexpr std::string_view kSpacer = " ";

// Text ids.
constexpr TextId kDeviceDetailsHeading = 702, kPrintableSize = 703, kResolution = 704,
                 kColourFormat = 705, kColourFormatUnit = 709, kPens = 706, kFonts = 707,
                 kColours = 708, kPaperFormsHeading = 400, kPresent = 700, kAbsent = 701;

// The display headings of the groups. The polygonal group is headed "Polygon" on screen, though
// its capability text says "Polygonal".
std::string_view groupHeading(CapabilitySet set) {
    return set == CapabilitySet::Polygonal ? "Polygon Capabilities" : CapabilityTitle(set);
}

void writeGroup(const PrinterCaps& caps, CapabilitySet set, std::vector<std::string>& scratch) {
    switch (set) {
        case CapabilitySet::Curve:
            return caps.WriteCurveCaps(scratch);
        case CapabilitySet::Line:
            return caps.WriteLineCaps(scratch);
        case CapabilitySet::Polygonal:
            return caps.WritePolygonalCaps(scratch);
        case CapabilitySet::Raster:
            return caps.WriteRasterCaps(scratch);
        case CapabilitySet::Text:
            return caps.WriteTextCaps(scratch);
    }
}

std::string_view nameOf(std::string_view line) {
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

std::string_view valueOf(std::string_view line) {
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool isOne(std::string_view value) {
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && end == value.data() + value.size() && number == 1;
}

class Lines {
  public:
    explicit Lines(const LangModule& lang) : lang_(lang) {}

    std::string text(TextId id) const { return LangMarkup(lang_, id); }

    // Label, then the value from the tab stop; `end` closes the value (a unit, or just the tag).
    void item(TextId label, std::string_view value, std::string_view end) {
        std::string line(kLabelPart);
        line += text(label);
        line += kValuePart;
        line += EscapeMarkup(value);
        line += end;
        lines_.push_back(std::move(line));
    }
    void heading(std::string_view title) {
        lines_.push_back(std::string(kHeadingPart) + std::string(title) + std::string(kEnd));
    }
    void spacer() { lines_.emplace_back(kSpacer); }
    void add(std::string line) { lines_.push_back(std::move(line)); }
    std::vector<std::string> take() { return std::move(lines_); }

  private:
    const LangModule& lang_;
    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> CapabilityLines(const std::vector<std::string>& capabilityText,
                                         const std::string& present, const std::string& absent) {
    std::vector<std::string> lines;
    for (const std::string& scratchLine : capabilityText) {
        const std::string_view name = nameOf(scratchLine);
        // The value of the first line of that name; names within a group are distinct, so this
        // is the line itself.
        std::string_view value;
        for (const std::string& other : capabilityText) {
            if (equalIgnoringCase(nameOf(other), name)) {
                value = valueOf(other);
                break;
            }
        }
        if (value.empty()) continue;
        const bool on = isOne(value);
        std::string line(on ? kPresentPart : kAbsentPart);
        // "Supports Bitmaps > 64K": a bare ">" would be taken for the end of a tag where the
        // line is read as text (the saved and printed report dropped it).
        line += EscapeMarkup(name);
        line += kMarkPart;
        line += on ? present : absent;
        line += kEnd;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> printerstostringlst(const TPrintersInfo& printers, int index,
                                             PrinterCaps& caps, const LangModule& lang) {
    TPrinterInfo printer;
    printers.GetPrinter(index, printer);

    Lines out(lang);
    const std::string_view end = " </FONT>";
    out.item(5601, printer.PrinterName, end);
    out.item(5600, printer.ServerName, end);
    out.item(5602, printer.ShareName, end);
    out.item(5603, printer.PortName, end);
    out.item(5604, printer.DriverName, end);
    out.item(5605, printer.Comment, end);
    out.item(5606, printer.Location, end);
    out.item(5607, printer.SepFile, end);
    out.item(5608, printer.PrintProcessor, end);
    out.item(5609, printer.Datatype, end);
    out.item(5610, printer.Parameters, end);
    out.item(5611, std::to_string(printer.Attributes), end);
    out.item(5612, std::to_string(printer.Priority), end);
    out.item(5613, std::to_string(printer.DefaultPriority), end);
    out.item(5614, std::to_string(printer.StartTime), end);
    out.item(5615, std::to_string(printer.UntilTime), end);
    out.item(5616, std::to_string(printer.Status), end);
    out.item(5617, std::to_string(printer.Jobs), end);
    out.item(5618, std::to_string(printer.AveragePPM), end);

    caps.QueryPrinterCaps(printer.PrinterName, printer.PortName);
    const TDetaily& details = caps.tdetaily();

    out.spacer();
    out.heading(out.text(kDeviceDetailsHeading));
    out.item(kPrintableSize, details.Size, " mm</FONT>");
    out.item(kResolution, details.Resolution, " dpi</FONT>");
    out.item(kColourFormat, details.ColourFormat, out.text(kColourFormatUnit) + std::string(kEnd));
    out.item(kPens, details.Pens, kEnd);
    out.item(kFonts, details.Fonts, kEnd);
    out.item(kColours, details.Colours, kEnd);

    out.spacer();
    out.heading(out.text(kPaperFormsHeading));
    for (const std::string& paper : details.PaperNames) out.add(paper);

    const std::string present = out.text(kPresent), absent = out.text(kAbsent);
    std::vector<std::string> scratch;
    for (CapabilitySet set : kCapabilitySets) {
        out.spacer();
        out.heading(groupHeading(set));
        scratch.clear();
        writeGroup(caps, set, scratch);
        for (std::string& line : CapabilityLines(scratch, present, absent))
            out.add(std::move(line));
    }
    return out.take();
}

}  // namespace tamux
