#include "tests/unit/printers/printer_fixtures.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"

namespace tamux::test {

namespace fs = std::filesystem;

sim::SimPrinter simPrinter(const std::string& name, std::map<int, int> caps,
                           std::vector<std::string> paperNames) {
    sim::SimPrinter printer;
    printer.info.printerName = name;
    printer.info.portName = "LPT1:";
    printer.info.driverName = name + " Driver";
    printer.info.printProcessor = "WinPrint";
    printer.info.datatype = "RAW";
    printer.deviceCaps = std::move(caps);
    printer.paperNames = std::move(paperNames);
    return printer;
}

int BendableSpooler::getDeviceCaps(Dc dc, int index) {
    if (index == throwOnCapsIndex) throw std::runtime_error("the driver failed");
    return SimSpooler::getDeviceCaps(dc, index);
}

int BendableSpooler::deviceCapabilities(std::string_view device, std::string_view port,
                                        std::uint16_t capability, std::vector<char>* output) {
    const int answer = SimSpooler::deviceCapabilities(device, port, capability, output);
    if (output && bendFetchedCount) return bendFetchedCount(answer);
    if (!output && bendCount) return bendCount(answer);
    return answer;
}

EnglishMachine::EnglishMachine(const std::string& sample) {
    machine_ = sample.empty() ? sim::Machine::blank(drive_.path())
                              : sim::Machine::load(sourceDir() / "samples" / "machines" / sample,
                                                   drive_.path());
    const fs::path program = machine_->hostPath(machine_->platform().system.executablePath());
    fs::create_directories(program.parent_path());
    fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / "tamuxEN.dll",
                  program.parent_path() / "tamuxEN.dll");
    lang_ = std::make_unique<LangModule>(machine_->platform());
    lang_->loadLangModule();
    if (lang_->handle() == 0) ADD_FAILURE() << "the English module did not load";
}

sim::SimSpooler& EnglishMachine::spooler() {
    return machine_->spooler();
}

}  // namespace tamux::test
