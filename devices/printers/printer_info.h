// The printers installed on the machine, as the spooler lists them: one record per printer, in
// the spooler's order, and the left pane's printer entries made from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/spooler.h"
#include "platform/system.h"

// <windows.h> maps GetPrinter to the spooler's GetPrinterA; a Win32 file that includes it before
// this header must still reach the method. (Include this header after it, or the macro returns.)
#ifdef getPrinter
#undef getPrinter
#endif

namespace tamux {

class SectionList;

// One printer as the spooler reports it (its PRINTER_INFO_2 record without the device mode and
// the security descriptor); a string the spooler leaves null is nullopt.
using PrinterInfo = platform::PrinterInfo2;

// An index outside the printer list.
class EInvalidIndex : public Error {
  public:
    using Error::Error;
};

// Which lists of the spooler make up the printers: the local list alone (Windows 9x, where it
// holds the connected network printers too), or the local printers followed by the connections
// to printers of a print server (the NT family, whose local list leaves those out).
enum class PrinterListing { LocalOnly, LocalThenConnections };

// The listing the running system needs: by its platform, from GetVersionEx, or from GetVersion
// when that fails.
PrinterListing printerListingOf(platform::System& system);

// Appends each record of `more` whose printer name `list` does not hold yet, compared without
// regard to the case of ASCII letters (the same printer in two of the spooler's lists is one
// printer). Records without a name are always appended.
void appendUnlistedPrinters(std::vector<platform::PrinterInfo2>& list,
                            const std::vector<platform::PrinterInfo2>& more);

// The list of the printers. Filled when it is made, and again by each Refresh; read-only in
// between. The spooler must outlive the list.
class PrinterList {
  public:
    explicit PrinterList(platform::Spooler& spooler,
                         PrinterListing listing = PrinterListing::LocalOnly);
    PrinterList(const PrinterList&) = delete;
    PrinterList& operator=(const PrinterList&) = delete;

    // Discards the records and asks the spooler again: first for the bytes the list needs, then
    // for the list in a buffer of that size. When the second call fails (a printer was added in
    // between, or the spooler cannot be asked) the list stays empty; nothing is reported. With
    // the connections listed apart, they are asked for the same way and follow the local
    // printers, leaving out a name already listed; if that list cannot be had the local printers
    // still show.
    void refresh();

    int count() const { return static_cast<int>(printers_.size()); }

    // Copies record `index` (0-based) into `info`. On an empty list it returns at once and leaves
    // `info` as it was; on a non-empty list an index outside 0..Count()-1 raises EInvalidIndex.
    void getPrinter(int index, PrinterInfo& info) const;

  private:
    platform::Spooler& spooler_;
    PrinterListing listing_;
    std::vector<PrinterInfo> printers_;
};

// The entry text of a printer in a section list. Entries are drawn as info lines, so the name is
// escaped; a name holding "<" or "&" then shows as it is.
std::string printerEntryCaption(std::string_view printerName);

// Refreshes `printers`, then appends one entry per printer, in the list's order, to section 1
// (the printers category) of `leftPane` - provided the pane has more than one section. It does
// not clear the section first and sets no images.
void readPrinters(PrinterList& printers, SectionList& leftPane);

// The indices of every printer whose entry caption equals `caption` exactly (letter case
// counts), in list order: the printers whose section lines an entry stands for.
std::vector<int> printerIndicesForCaption(const PrinterList& printers, std::string_view caption);

}  // namespace tamux
