#include "tests/unit/keyboard/input_test_machine.h"

#include <filesystem>
#include <utility>

#include "lang/lang_module.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_system.h"
#include "registry/enum_devices.h"

namespace tamux::test {

namespace fs = std::filesystem;

InputTestMachine::InputTestMachine(const std::string& sample) {
    machine_ = sample.empty() ? sim::Machine::blank(drive_.path())
                              : sim::Machine::load(sourceDir() / "samples" / "machines" / sample,
                                                   drive_.path());
    const std::string exe = machine_->system().executablePath();
    const fs::path module = machine_->hostPath(langModuleFileName(exe, "EN"));
    fs::create_directories(module.parent_path());
    fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / "tamuxEN.dll", module);
    // English whatever the system's language, so that no other module is looked for.
    const std::string settings = exe.substr(0, exe.rfind('.')) + ".ini";
    machine_->profile().writeString(settings, "Options", "Language", "EN");
    lang_ = std::make_unique<LangModule>(machine_->platform());
    lang_->loadLangModule();
}

sim::SimRegistry& InputTestMachine::registry() {
    return machine_->registry();
}

DeviceTable InputTestMachine::enumDevices() {
    DeviceTable table;
    readDeviceTable(machine_->registry(), machine_->system(), table);
    return table;
}

void InputTestMachine::setVersion(std::uint32_t platformId, std::uint32_t major,
                                  std::uint32_t minor) {
    machine_->system().setVersion(sim::makeVersion(platformId, major, minor, 1000, ""));
}

void InputTestMachine::importReg(const std::string& text) {
    machine_->registry().importText(text, "test.reg");
}

DeviceEntry deviceRecord(std::string className, std::string displayName, std::string description,
                         std::string driverKey) {
    DeviceEntry d;
    d.className = std::move(className);
    d.displayName = std::move(displayName);
    d.description = std::move(description);
    d.driverKey = std::move(driverKey);
    return d;
}

}  // namespace tamux::test
