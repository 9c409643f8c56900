// machine.json: any text either describes a machine or raises tamux::Error naming the file and
// the member; a machine that loads answers every service it describes (the version record, the
// clock's date and time pictures, the spooler's two-call enumeration, device contexts and paper
// names).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/errors.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_json.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"

namespace {

namespace fs = std::filesystem;
using tamux::platform::kDcPaperNames;
using tamux::platform::kPrinterEnumLocal;
using tamux::platform::PrinterInfo2;

void useMachine(tamux::sim::Machine& machine) {
    auto platform = machine.platform();
    tamux::platform::OsVersionInfo version;
    platform.system.getVersionEx(version);
    platform.system.getVersion();
    TAMUX_FUZZ_CHECK(version.csdVersion.back() == '\0', "the CSD text is NUL-terminated");

    const auto now = platform.clock.localTime();
    platform.clock.formatShortDate(now);
    platform.clock.formatLongTime(now);

    std::uint32_t needed = 0;
    std::vector<PrinterInfo2> printers;
    platform.spooler.enumPrinters(kPrinterEnumLocal, 0, needed, printers);
    TAMUX_FUZZ_CHECK(platform.spooler.enumPrinters(kPrinterEnumLocal, needed, needed, printers),
                     "the size the spooler asked for suffices");
    for (const PrinterInfo2& printer : printers) {
        const std::string name = printer.printerName.value_or("");
        const auto dc = platform.spooler.createDC(name);
        for (int index = 0; index <= 120; index += 2) platform.spooler.getDeviceCaps(dc, index);
        platform.spooler.deleteDC(dc);
        const int count = platform.spooler.deviceCapabilities(name, printer.portName.value_or(""),
                                                              kDcPaperNames, nullptr);
        if (count > 0) {
            std::vector<char> names(static_cast<std::size_t>(count) *
                                    tamux::platform::kPaperNameSlotSize);
            TAMUX_FUZZ_CHECK(
                platform.spooler.deviceCapabilities(name, printer.portName.value_or(""),
                                                    kDcPaperNames, &names) == count,
                "the paper names come in the count first announced");
        }
    }
    TAMUX_FUZZ_CHECK(machine.spooler().openDcCount() == 0, "no device context is left open");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = tamux::fuzz::asText(data, size);
    try {
        tamux::sim::parseMachineJson(text, "machine.json");
    } catch (const tamux::Error&) {
        return 0;
    }
    // What parses is loaded as a machine folder of its own, as the tests load the samples.
    const fs::path folder = tamux::fuzz::scratchFolder() / "machine";
    const fs::path drive = tamux::fuzz::scratchFolder() / "drive";
    tamux::fuzz::writeHostFile(folder / "machine.json", text);
    fs::create_directories(drive);
    try {
        auto machine = tamux::sim::Machine::load(folder, drive);
        useMachine(*machine);
    } catch (const tamux::Error&) {
        // A registry folder or link the description names may still be refused.
    }
    return 0;
}
