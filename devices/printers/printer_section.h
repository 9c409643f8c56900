// A printer's section: the spooler's record of the printer, the device details of its driver,
// its paper forms and its five capability groups.
#pragma once

#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_module.h"
#include "ui/device_section.h"

namespace tamux {

// The section of printer `index` of `printers` (0-based; see printerIndicesForCaption): nineteen
// record lines, the details and paper forms, and the curve, line, polygon, raster and text groups
// - 90 lines plus one per paper form. Queries the driver anew through `caps`, which then holds
// this printer's results until its next query.
DeviceSection printerSection(const PrinterList& printers, int index, PrinterCaps& caps,
                             const LangModule& lang);

}  // namespace tamux
