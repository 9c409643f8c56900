// A printer's section lines: the spooler's record of the printer, the device details of its
// driver, its paper forms and its five capability groups, as info lines.
#pragma once

#include <string>
#include <vector>

#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_module.h"

namespace tamux {

// The lines of printer `index` of `printers` (0-based; see PrinterIndicesForCaption): nineteen
// record lines, the details and paper forms, and the curve, line, polygon, raster and text groups
// - 90 lines plus one per paper form. Queries the driver anew through `caps`, which then holds
// this printer's results until its next query. Labels come from `lang`; every value is escaped.
// The caller owns the list.
std::vector<std::string> printerstostringlst(const TPrintersInfo& printers, int index,
                                             PrinterCaps& caps, const LangModule& lang);

// The display lines of a capability text (as the Write*Caps builders write it): one line per
// "name=value" line with a value, a tick for a value of 1 and a cross otherwise; `present` and
// `absent` are the texts shown after the name. Lines without a value (the heading) give none.
std::vector<std::string> CapabilityLines(const std::vector<std::string>& capabilityText,
                                         const std::string& present, const std::string& absent);

}  // namespace tamux
