#include "bench/bench_machine.h"

#include <unistd.h>

#include <cstdio>
#include <tuple>

#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "tools/sim_suite/install_suite.h"
#include "ui/section_list_style.h"

namespace tamux::bench {

namespace fs = std::filesystem;
using platform::RootKey;

namespace {

const std::string kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
const std::string kClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
const std::string kUnknownGuid = "{4D36E97E-E325-11CE-BFC1-08002BE10318}";
const std::string kKeyboardGuid = "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
const std::string kMouseGuid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";
const std::string kUsbGuid = "{36FC9E60-C465-11CF-8056-444553540000}";

std::string hex4(std::size_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04zX", value & 0xFFFF);
    return text;
}

std::vector<std::uint8_t> multiString(const std::vector<std::string>& items) {
    std::vector<std::uint8_t> data;
    for (const std::string& item : items) {
        data.insert(data.end(), item.begin(), item.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

// One device instance with the values Windows XP gives a started device.
void addInstance(sim::SimRegistry& r, const std::string& path, const std::string& desc,
                 const std::string& guid, std::size_t driver, const std::vector<std::string>& ids) {
    r.setString(RootKey::LocalMachine, path, "DeviceDesc", desc);
    r.setString(RootKey::LocalMachine, path, "ClassGUID", guid);
    r.setString(RootKey::LocalMachine, path, "Driver", guid + "\\" + hex4(driver));
    r.setValue(RootKey::LocalMachine, path, "HardwareID", platform::regtype::kMultiSz,
               multiString(ids));
    r.setDword(RootKey::LocalMachine, path, "ConfigFlags", 0);
    r.setString(RootKey::LocalMachine, path + "\\Control", "ActiveService", "svc");
}

}  // namespace

BenchMachine::BenchMachine()
    : drive_(fs::temp_directory_path() / ("tamux-bench-" + std::to_string(getpid()))) {
    fs::remove_all(drive_);
    fs::create_directories(drive_);
    machine_ = sim::Machine::load(fs::path(TAMUX_SAMPLES_DIR) / "winxp", drive_);
    // The suite measured may be built for either architecture; only its texts are read.
    machine_->modules().setModuleLoad(sim::ModuleLoad::AsData);

    // The suite's layout: the program with its language module, SHARED\DATABASES beside it.
    installSuite(*machine_, TAMUX_SUITE_DIR, "EN");
}

BenchMachine::~BenchMachine() {
    machine_.reset();
    std::error_code ignored;
    fs::remove_all(drive_, ignored);
}

platform::Platform BenchMachine::platform() {
    return machine_->platform();
}

platform::Files& BenchMachine::files() {
    return machine_->files();
}

std::string BenchMachine::pciInstancePath(const PciPick& pick, std::size_t index) {
    const std::string subsys =
        pick.subvendor.empty() ? "00000000" : pick.subdevice + pick.subvendor;
    return kEnum + "PCI\\VEN_" + pick.vendor + "&DEV_" + pick.device + "&SUBSYS_" + subsys +
           "&REV_01\\3&61aaa01&0&" + hex4(index);
}

void BenchMachine::addDevices(const std::vector<PciPick>& pci, const std::vector<InputPick>& input,
                              int other) {
    sim::SimRegistry& r = machine_->registry();
    for (auto [guid, name, desc] :
         {std::tuple{kUnknownGuid, "Unknown", "Other devices"},
          std::tuple{kKeyboardGuid, "Keyboard", "Keyboards"},
          std::tuple{kMouseGuid, "Mouse", "Mice and other pointing devices"},
          std::tuple{kUsbGuid, "USB", "Universal Serial Bus controllers"}}) {
        platform::Registry::Key key = 0;
        if (r.openKey(RootKey::LocalMachine, kClass + guid, platform::KeyAccess::Read, key) == 0) {
            r.closeKey(key);
            continue;
        }
        r.setString(RootKey::LocalMachine, kClass + guid, "", desc);
        r.setString(RootKey::LocalMachine, kClass + guid, "Class", name);
    }
    for (std::size_t i = 0; i < pci.size(); ++i) {
        const PciPick& p = pci[i];
        const std::string base = "VEN_" + p.vendor + "&DEV_" + p.device;
        const std::string subsys = p.subvendor.empty() ? "00000000" : p.subdevice + p.subvendor;
        const std::string id = base + "&SUBSYS_" + subsys + "&REV_01";
        addInstance(r, pciInstancePath(p, i), "PCI device", kUnknownGuid, i,
                    {"PCI\\" + id, "PCI\\" + base + "&SUBSYS_" + subsys,
                     "PCI\\" + base + "&CC_020000", "PCI\\" + base + "&CC_0200"});
    }
    for (std::size_t i = 0; i < input.size(); ++i) {
        const InputPick& p = input[i];
        const std::string id = "VID_" + p.vendor + "&PID_" + p.product;
        const std::string kind = p.keyboard ? "KEYBOARD" : "MOUSE";
        addInstance(r, kEnum + "HID\\" + id + "\\7&2a1c3f&0&" + hex4(i),
                    p.keyboard ? "HID Keyboard Device" : "HID-compliant mouse",
                    p.keyboard ? kKeyboardGuid : kMouseGuid, i,
                    {"HID\\" + id + "&REV_0100", "HID\\" + id, "HID_DEVICE_SYSTEM_" + kind,
                     "HID_DEVICE_UP:0001_U:0006", "HID_DEVICE"});
    }
    for (int i = 0; i < other; ++i) {
        addInstance(r, kEnum + "USB\\VID_0781&PID_5567\\SN" + hex4(static_cast<std::size_t>(i)),
                    "USB Mass Storage Device", kUsbGuid, static_cast<std::size_t>(i),
                    {"USB\\VID_0781&PID_5567&REV_0100", "USB\\VID_0781&PID_5567"});
    }
}

void BenchMachine::growPrinters(int count) {
    std::vector<sim::SimPrinter>& printers = machine_->spooler().printers();
    if (printers.empty()) throw std::runtime_error("the sample machine has no printer to copy");
    const std::size_t originals = printers.size();
    for (std::size_t i = originals; i < static_cast<std::size_t>(count); ++i) {
        sim::SimPrinter copy = printers[i % originals];
        copy.info.printerName = *copy.info.printerName + " #" + std::to_string(i / originals + 1);
        copy.info.shareName.reset();
        printers.push_back(std::move(copy));
    }
}

std::unique_ptr<BenchMachine> smallMachine() {
    return std::make_unique<BenchMachine>();
}

std::unique_ptr<BenchMachine> largeMachine(const LargeMachineSize& size) {
    auto machine = std::make_unique<BenchMachine>();
    machine->addDevices(pickPciDevices(TAMUX_HWDATA_DIR, size.pci),
                        pickInputDevices(TAMUX_HWDATA_DIR, size.input), size.other);
    machine->growPrinters(size.printers);
    return machine;
}

MainWindow::MainWindow(BenchMachine& bench)
    : state_(std::make_unique<AppState>(bench.platform())),
      left_(leftPaneStyle().geometry),
      right_(rightPaneStyle().geometry) {
    left_.setViewportHeight(415);
    right_.setViewportHeight(329);
    form_ = std::make_unique<MainForm>(*state_, application_, left_, right_, AboutViewFactory{});
}

MainWindow::~MainWindow() {
    form_.reset();
}

std::size_t messageBoxCount(sim::Machine& machine) {
    return machine.dialogs().messageBoxes().size();
}

std::string messageBoxTexts(sim::Machine& machine) {
    std::string texts;
    for (const sim::MessageBoxCall& call : machine.dialogs().messageBoxes()) {
        texts += call.text + "\n";
    }
    return texts;
}

}  // namespace tamux::bench
