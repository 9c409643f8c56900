#include "devices/printers/printer_section.h"

#include <string_view>

namespace tamux {

namespace {

constexpr TextId kDeviceDetailsHeading = 702, kPrintableSize = 703, kResolution = 704,
                 kColourFormat = 705, kColourFormatUnit = 709, kPens = 706, kFonts = 707,
                 kColours = 708, kPaperFormsHeading = 400, kPresent = 700, kAbsent = 701;

// The display headings of the groups. The polygonal group is headed "Polygon" on screen, though
// its capability text says "Polygonal".
std::string_view groupHeading(CapabilitySet set) {
    return set == CapabilitySet::Polygonal ? "Polygon Capabilities" : CapabilityTitle(set);
}

class PrinterLines {
  public:
    explicit PrinterLines(const LangModule& lang) : lang_(lang) {}

    std::string text(TextId id) const { return lang_.GetLangText(id); }
    void item(TextId label, std::string value, std::string unit) {
        add(ItemLine(LineIcon::Printer, Emphasis::Normal, text(label), std::move(value),
                     std::move(unit)));
    }
    // A detail of the driver; its unit follows a value only, so that a printer that gave no
    // details shows none.
    void detail(TextId label, std::string value, std::string unit) {
        if (value.empty()) unit.clear();
        item(label, std::move(value), std::move(unit));
    }
    // The spooler's record: its values are followed by a blank.
    void record(TextId label, std::string value) { item(label, std::move(value), " "); }
    void record(TextId label, long long value) { record(label, std::to_string(value)); }
    void group(std::string title) {
        add(GapLine());
        add(GroupLine(std::move(title)));
    }
    void add(SectionLine line) { lines_.push_back(std::move(line)); }
    std::vector<SectionLine> take() { return std::move(lines_); }

  private:
    const LangModule& lang_;
    std::vector<SectionLine> lines_;
};

}  // namespace

DeviceSection PrinterSection(const TPrintersInfo& printers, int index, PrinterCaps& caps,
                             const LangModule& lang) {
    TPrinterInfo printer;
    printers.GetPrinter(index, printer);

    PrinterLines out(lang);
    out.record(5601, printer.PrinterName);
    out.record(5600, printer.ServerName);
    out.record(5602, printer.ShareName);
    out.record(5603, printer.PortName);
    out.record(5604, printer.DriverName);
    out.record(5605, printer.Comment);
    out.record(5606, printer.Location);
    out.record(5607, printer.SepFile);
    out.record(5608, printer.PrintProcessor);
    out.record(5609, printer.Datatype);
    out.record(5610, printer.Parameters);
    out.record(5611, printer.Attributes);
    out.record(5612, printer.Priority);
    out.record(5613, printer.DefaultPriority);
    out.record(5614, printer.StartTime);
    out.record(5615, printer.UntilTime);
    out.record(5616, printer.Status);
    out.record(5617, printer.Jobs);
    out.record(5618, printer.AveragePPM);

    caps.QueryPrinterCaps(printer.PrinterName, printer.PortName);
    const TDetaily& details = caps.tdetaily();

    out.group(out.text(kDeviceDetailsHeading));
    out.detail(kPrintableSize, details.Size, " mm");
    out.detail(kResolution, details.Resolution, " dpi");
    out.detail(kColourFormat, details.ColourFormat, out.text(kColourFormatUnit));
    out.detail(kPens, details.Pens, "");
    out.detail(kFonts, details.Fonts, "");
    out.detail(kColours, details.Colours, "");

    out.group(out.text(kPaperFormsHeading));
    for (const std::string& paper : details.PaperNames) out.add(PaperLine(paper));

    const std::string present = out.text(kPresent), absent = out.text(kAbsent);
    for (CapabilitySet set : kCapabilitySets) {
        out.group(std::string(groupHeading(set)));
        const auto members = CapabilityMembers(set);
        for (std::size_t k = 0; k < members.size(); ++k) {
            const bool has = caps.HasCapability(set, k);
            out.add(CapabilityLine(std::string(members[k].label), has, has ? present : absent));
        }
    }
    return {DeviceKind::Printer, printer.PrinterName, out.take()};
}

}  // namespace tamux
