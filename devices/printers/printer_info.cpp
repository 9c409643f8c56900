#include "devices/printers/printer_info.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_case.h"
#include "ui/markup_text.h"
#include "ui/section_list.h"

namespace tamux {

namespace {

// The spooler's list usually holds a handful of printers; room for this many is made at once.
constexpr std::size_t kInitialCapacity = 30;

// The left pane's category section that holds the printer entries.
constexpr int kPrintersCategory = 1;

// One list of the spooler by the two-call protocol; false when the fetch fails.
bool fetch(platform::Spooler& spooler, std::uint32_t flags,
           std::vector<platform::PrinterInfo2>& records) {
    // The size query: no buffer, so only an empty list can fit; its answer is the byte count.
    std::uint32_t needed = 0;
    spooler.enumPrinters(flags, 0, needed, records);

    // The fetch into a buffer of exactly that size. If the list grew in between it no longer
    // fits and the call fails: no record is built rather than a partial list.
    std::uint32_t neededAgain = 0;
    records.clear();
    return spooler.enumPrinters(flags, needed, neededAgain, records);
}

}  // namespace

PrinterListing printerListingOf(platform::System& system) {
    platform::OsVersionInfo version;
    const bool nt = system.getVersionEx(version) ? version.platformId == platform::platform_id::kNt
                                                 : (system.getVersion() & 0x80000000u) == 0;
    return nt ? PrinterListing::LocalThenConnections : PrinterListing::LocalOnly;
}

void appendUnlistedPrinters(std::vector<platform::PrinterInfo2>& list,
                            const std::vector<platform::PrinterInfo2>& more) {
    for (const platform::PrinterInfo2& record : more) {
        const bool listed =
            record.printerName &&
            std::any_of(list.begin(), list.end(), [&](const platform::PrinterInfo2& known) {
                return known.printerName &&
                       equalsIgnoringCase(*known.printerName, *record.printerName);
            });
        if (!listed) list.push_back(record);
    }
}

PrinterList::PrinterList(platform::Spooler& spooler, PrinterListing listing)
    : spooler_(spooler), listing_(listing) {
    printers_.reserve(kInitialCapacity);
    refresh();
}

void PrinterList::refresh() {
    printers_.clear();

    std::vector<platform::PrinterInfo2> records;
    if (!fetch(spooler_, platform::kPrinterEnumLocal, records)) return;
    if (listing_ == PrinterListing::LocalThenConnections) {
        std::vector<platform::PrinterInfo2> connections;
        if (fetch(spooler_, platform::kPrinterEnumConnections, connections)) {
            appendUnlistedPrinters(records, connections);
        }
    }
    printers_ = std::move(records);
}

void PrinterList::getPrinter(int index, PrinterInfo& info) const {
    if (printers_.empty()) return;
    if (index < 0 || index >= count()) {
        throw EInvalidIndex("Printer index " + std::to_string(index) + " is out of range (0 to " +
                            std::to_string(count() - 1) + ")");
    }
    info = printers_[static_cast<std::size_t>(index)];
}

std::string printerEntryCaption(std::string_view printerName) {
    return escapeMarkup(printerName);
}

void readPrinters(PrinterList& printers, SectionList& leftPane) {
    printers.refresh();
    for (int i = 0; i < printers.count(); ++i) {
        if (leftPane.sectionCount() <= kPrintersCategory) continue;
        PrinterInfo info;
        printers.getPrinter(i, info);
        leftPane.section(kPrintersCategory)
            .subItems()
            .add(printerEntryCaption(info.printerName.value_or("")));
    }
}

std::vector<int> printerIndicesForCaption(const PrinterList& printers, std::string_view caption) {
    std::vector<int> indices;
    for (int i = 0; i < printers.count(); ++i) {
        PrinterInfo info;
        printers.getPrinter(i, info);
        if (printerEntryCaption(info.printerName.value_or("")) == caption) indices.push_back(i);
    }
    return indices;
}

}  // namespace tamux
