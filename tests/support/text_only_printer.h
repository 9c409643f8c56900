// A printer for tests that need one more entry in the printers category: a name, the parallel
// port and the driver Windows installs for any printer it has no driver for.
#pragma once

#include <string>

#include "platform/sim/sim_spooler.h"

namespace tamux::test {

inline sim::SimPrinter textOnlyPrinter(const std::string& name) {
    sim::SimPrinter printer;
    printer.info.printerName = name;
    printer.info.portName = "LPT1:";
    printer.info.driverName = "Generic / Text Only";
    return printer;
}

}  // namespace tamux::test
