// A simulated machine for the keyboard and mouse tests: a sample machine (or a blank XP machine)
// with the English language module installed beside the program and loaded, so that lines can be
// compared with their English labels.
#pragma once

#include <memory>
#include <string>

#include "lang/lang_module.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_registry.h"
#include "registry/devices.h"
#include "tests/support/test_paths.h"

namespace tamux::test {

class InputTestMachine {
  public:
    // `sample` names a folder of samples/machines; empty for a blank XP machine.
    explicit InputTestMachine(const std::string& sample = {});
    InputTestMachine(const InputTestMachine&) = delete;
    InputTestMachine& operator=(const InputTestMachine&) = delete;

    sim::Machine& machine() { return *machine_; }
    sim::SimRegistry& registry();
    platform::Platform platform() { return machine_->platform(); }
    const LangModule& lang() const { return *lang_; }

    // The device table as the start-up builds it from this machine's registry.
    DeviceTable enumDevices();

    // Makes the machine another Windows: platform 1 (9x) or 2 (NT), and the version numbers.
    void setVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

    // Imports .reg text ("REGEDIT4" or "Windows Registry Editor Version 5.00" in 8 bits).
    void importReg(const std::string& text);

  private:
    TempDir drive_;
    std::unique_ptr<sim::Machine> machine_;
    std::unique_ptr<LangModule> lang_;
};

// A record of the device table with the fields the keyboard and mouse collectors read.
DeviceEntry deviceRecord(std::string className, std::string displayName, std::string description,
                         std::string driverKey = {});

}  // namespace tamux::test
