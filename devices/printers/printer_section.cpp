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
    return set == CapabilitySet::Polygonal ? "Polygon Capabilities" : capabilityTitle(set);
}

class PrinterLines {
  public:
    explicit PrinterLines(const LangModule& lang) : lang_(lang) {}

    std::string text(TextId id) const { return lang_.getLangText(id); }
    void item(TextId label, std::string value, std::string unit) {
        add(itemLine(LineIcon::Printer, Emphasis::Normal, text(label), std::move(value),
                     std::move(unit)));
    }
    // A detail of the driver; its unit follows a value only, so that a printer that gave no
    // details shows none.
    void detail(TextId label, std::string value, std::string unit) {
        if (value.empty()) unit.clear();
        item(label, std::move(value), std::move(unit));
    }
    // The spooler's record: its values are followed by a blank.
    void record(TextId label, const std::optional<std::string>& value) {
        item(label, value.value_or(""), " ");
    }
    void record(TextId label, std::uint32_t value) { item(label, std::to_string(value), " "); }
    void group(std::string title) {
        add(gapLine());
        add(groupLine(std::move(title)));
    }
    void add(SectionLine line) { lines_.push_back(std::move(line)); }
    std::vector<SectionLine> take() { return std::move(lines_); }

  private:
    const LangModule& lang_;
    std::vector<SectionLine> lines_;
};

}  // namespace

DeviceSection printerSection(const PrinterList& printers, int index, PrinterCaps& caps,
                             const LangModule& lang) {
    PrinterInfo printer;
    printers.getPrinter(index, printer);

    PrinterLines out(lang);
    out.record(5601, printer.printerName);
    out.record(5600, printer.serverName);
    out.record(5602, printer.shareName);
    out.record(5603, printer.portName);
    out.record(5604, printer.driverName);
    out.record(5605, printer.comment);
    out.record(5606, printer.location);
    out.record(5607, printer.sepFile);
    out.record(5608, printer.printProcessor);
    out.record(5609, printer.datatype);
    out.record(5610, printer.parameters);
    out.record(5611, printer.attributes);
    out.record(5612, printer.priority);
    out.record(5613, printer.defaultPriority);
    out.record(5614, printer.startTime);
    out.record(5615, printer.untilTime);
    out.record(5616, printer.status);
    out.record(5617, printer.jobs);
    out.record(5618, printer.averagePpm);

    caps.queryPrinterCaps(printer.printerName.value_or(""), printer.portName.value_or(""));
    const PrinterDetails& details = caps.details();

    out.group(out.text(kDeviceDetailsHeading));
    out.detail(kPrintableSize, details.size, " mm");
    out.detail(kResolution, details.resolution, " dpi");
    out.detail(kColourFormat, details.colourFormat, out.text(kColourFormatUnit));
    out.detail(kPens, details.pens, "");
    out.detail(kFonts, details.fonts, "");
    out.detail(kColours, details.colours, "");

    out.group(out.text(kPaperFormsHeading));
    for (const std::string& paper : details.paperNames) out.add(paperLine(paper));

    const std::string present = out.text(kPresent), absent = out.text(kAbsent);
    for (CapabilitySet set : kCapabilitySets) {
        out.group(std::string(groupHeading(set)));
        const auto members = capabilityMembers(set);
        for (std::size_t k = 0; k < members.size(); ++k) {
            const bool has = caps.hasCapability(set, k);
            out.add(capabilityLine(std::string(members[k].label), has, has ? present : absent));
        }
    }
    return {DeviceKind::Printer, printer.printerName.value_or(""), out.take()};
}

}  // namespace tamux
