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

TPrinterInfo ToPrinterInfo(const platform::PrinterInfo2& record) {
    TPrinterInfo info;
    info.ServerName = record.serverName.value_or("");
    info.PrinterName = record.printerName.value_or("");
    info.ShareName = record.shareName.value_or("");
    info.PortName = record.portName.value_or("");
    info.DriverName = record.driverName.value_or("");
    info.Comment = record.comment.value_or("");
    info.Location = record.location.value_or("");
    info.SepFile = record.sepFile.value_or("");
    info.PrintProcessor = record.printProcessor.value_or("");
    info.Datatype = record.datatype.value_or("");
    info.Parameters = record.parameters.value_or("");
    info.Attributes = record.attributes;
    info.Priority = record.priority;
    info.DefaultPriority = record.defaultPriority;
    info.StartTime = record.startTime;
    info.UntilTime = record.untilTime;
    info.Status = record.status;
    info.Jobs = record.jobs;
    info.AveragePPM = record.averagePpm;
    return info;
}

PrinterListing PrinterListingOf(platform::System& system) {
    platform::OsVersionInfo version;
    const bool nt = system.getVersionEx(version) ? version.platformId == platform::platform_id::kNt
                                                 : (system.getVersion() & 0x80000000u) == 0;
    return nt ? PrinterListing::LocalThenConnections : PrinterListing::LocalOnly;
}

void AppendUnlistedPrinters(std::vector<platform::PrinterInfo2>& list,
                            const std::vector<platform::PrinterInfo2>& more) {
    for (const platform::PrinterInfo2& record : more) {
        const bool listed =
            record.printerName &&
            std::any_of(list.begin(), list.end(), [&](const platform::PrinterInfo2& known) {
                return known.printerName &&
                       EqualsIgnoringCase(*known.printerName, *record.printerName);
            });
        if (!listed) list.push_back(record);
    }
}

TPrintersInfo::TPrintersInfo(platform::Spooler& spooler, PrinterListing listing)
    : spooler_(spooler), listing_(listing) {
    printers_.reserve(kInitialCapacity);
    Refresh();
}

void TPrintersInfo::Refresh() {
    printers_.clear();

    std::vector<platform::PrinterInfo2> records;
    if (!fetch(spooler_, platform::kPrinterEnumLocal, records)) return;
    if (listing_ == PrinterListing::LocalThenConnections) {
        std::vector<platform::PrinterInfo2> connections;
        if (fetch(spooler_, platform::kPrinterEnumConnections, connections)) {
            AppendUnlistedPrinters(records, connections);
        }
    }
    for (const platform::PrinterInfo2& record : records) printers_.push_back(ToPrinterInfo(record));
}

void TPrintersInfo::GetPrinter(int index, TPrinterInfo& info) const {
    if (printers_.empty()) return;
    if (index < 0 || index >= Count()) {
        throw EInvalidIndex("Printer index " + std::to_string(index) + " is out of range (0 to " +
                            std::to_string(Count() - 1) + ")");
    }
    info = printers_[static_cast<std::size_t>(index)];
}

std::string PrinterEntryCaption(std::string_view printerName) {
    return EscapeMarkup(printerName);
}

void getprinters(TPrintersInfo& printers, SectionList& leftPane) {
    printers.Refresh();
    for (int i = 0; i < printers.Count(); ++i) {
        if (leftPane.sectionCount() <= kPrintersCategory) continue;
        TPrinterInfo info;
        printers.GetPrinter(i, info);
        leftPane.section(kPrintersCategory).subItems().add(PrinterEntryCaption(info.PrinterName));
    }
}

std::vector<int> PrinterIndicesForCaption(const TPrintersInfo& printers, std::string_view caption) {
    std::vector<int> indices;
    for (int i = 0; i < printers.Count(); ++i) {
        TPrinterInfo info;
        printers.GetPrinter(i, info);
        if (PrinterEntryCaption(info.PrinterName) == caption) indices.push_back(i);
    }
    return indices;
}

}  // namespace tamux
