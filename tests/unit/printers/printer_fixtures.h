// Printers and machines for the printer tests: simulated printers built field by field, a
// spooler that fails on demand, and a machine with the English language module installed.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/lang_module.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_spooler.h"
#include "tests/support/test_paths.h"

namespace tamux::test {

// A printer with a name, a port and a driver, a device context answering `caps` and the given
// paper names.
sim::SimPrinter simPrinter(const std::string& name, std::map<int, int> caps = {},
                           std::vector<std::string> paperNames = {});

// A spooler whose answers a test can bend: GetDeviceCaps raising for one index, and the fetch of
// the paper names answering a count of its own.
class BendableSpooler : public sim::SimSpooler {
  public:
    using sim::SimSpooler::SimSpooler;

    int throwOnCapsIndex = -1;
    // Called with the count the driver would answer when it fills a buffer; its result is what
    // the fetch answers instead.
    std::function<int(int)> bendFetchedCount;
    // The same for the count the driver answers when asked how many items it has.
    std::function<int(int)> bendCount;

    int getDeviceCaps(Dc dc, int index) override;
    int deviceCapabilities(std::string_view device, std::string_view port, std::uint16_t capability,
                           std::vector<char>* output) override;
};

// A simulated machine (a sample of samples/machines, or a blank one) with the shipped English
// module beside the program, loaded.
class EnglishMachine {
  public:
    explicit EnglishMachine(const std::string& sample = "");

    sim::Machine& machine() { return *machine_; }
    sim::SimSpooler& spooler();
    const LangModule& lang() const { return *lang_; }

  private:
    TempDir drive_;
    std::unique_ptr<sim::Machine> machine_;
    std::unique_ptr<LangModule> lang_;
};

}  // namespace tamux::test
