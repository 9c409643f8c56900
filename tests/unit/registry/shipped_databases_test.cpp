// The databases the build ships, read through the whole chain: a simulated Windows XP with the
// real XP exports loaded, its device table, and the two start-up lookups.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/reg_key.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_registry.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;

fs::path shippedDatabases() {
    return test::binaryDir() / "suite" / "SHARED" / "DATABASES";
}

// A machine whose "..\SHARED\DATABASES\" holds the shipped files.
std::unique_ptr<sim::Machine> xpWithDatabases(const test::TempDir& drive) {
    auto machine = sim::Machine::load(test::sourceDir() / "samples/machines/winxp", drive.path());
    const fs::path target = machine->hostPath("..\\SHARED\\DATABASES");
    fs::create_directories(target);
    for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        fs::copy_file(shippedDatabases() / name, target / name);
    }
    return machine;
}

void startupLookups(sim::Machine& machine, DeviceTable& table) {
    auto platform = machine.platform();
    EnumDevices(platform.registry, platform.system, table);
    LookupDeviceDatabase(platform.registry, platform.system, platform.files, table, "Keyboard");
    LookupDeviceDatabase(platform.registry, platform.system, platform.files, table, "Mouse");
}

TEST(ShippedDatabases, AreBuiltWithTheirClassFiles) {
    for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        EXPECT_GT(fs::file_size(shippedDatabases() / name), 10000u) << name;
    }
    EXPECT_GT(fs::file_size(shippedDatabases() / "other.txt"),
              10 * fs::file_size(shippedDatabases() / "Keyboard.txt"));
}

// XP gives every USB HID device of boot protocol 1 (keyboard) or 2 (mouse) a child under
// Enum\HID, named by the parent's ParentIdPrefix, of class Keyboard or Mouse. The real exports
// hold only the USB parents, so the children are made from them here, as XP makes them.
int addHidChildren(sim::SimRegistry& registry) {
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB";
    const std::string hid = "SYSTEM\\CurrentControlSet\\Enum\\HID\\";
    RegKey key(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
    if (!key.openKey(usb)) return 0;
    int added = 0;
    for (const std::string& deviceId : key.subkeyNames()) {
        RegKey device(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
        device.openKey(usb + "\\" + deviceId);
        for (const std::string& instance : device.subkeyNames()) {
            RegKey parent(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
            parent.openKey(usb + "\\" + deviceId + "\\" + instance);
            if (parent.readString("Class") != "HIDClass") continue;
            std::vector<std::uint8_t> compatible = parent.readBinaryData("CompatibleIDs");
            const std::string ids(compatible.begin(), compatible.end());
            std::string className, guid;
            if (ids.find("Prot_01") != std::string::npos) {
                className = "Keyboard";
                guid = "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
            } else if (ids.find("Prot_02") != std::string::npos) {
                className = "Mouse";
                guid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";
            } else {
                continue;
            }
            // USB\Vid_413c&Pid_2105&Rev_0352 -> HID\Vid_413c&Pid_2105&Rev_0352
            std::vector<std::uint8_t> hardwareIds = parent.readBinaryData("HardwareID");
            std::string text(hardwareIds.begin(), hardwareIds.end());
            for (std::size_t at = 0; (at = text.find("USB\\", at)) != std::string::npos;) {
                text.replace(at, 4, "HID\\");
            }
            const std::string child =
                hid + deviceId + "\\" + parent.readString("ParentIdPrefix") + "&0000";
            registry.setString(RootKey::LocalMachine, child, "DeviceDesc", className + " device");
            registry.setString(RootKey::LocalMachine, child, "Class", className);
            registry.setString(RootKey::LocalMachine, child, "ClassGUID", guid);
            registry.setValue(RootKey::LocalMachine, child, "HardwareID",
                              platform::regtype::kMultiSz,
                              std::vector<std::uint8_t>(text.begin(), text.end()));
            registry.createKey(RootKey::LocalMachine, child + "\\Control");
            ++added;
        }
    }
    return added;
}

TEST(ShippedDatabases, NameTheRealXpUsbKeyboardsAndMice) {
    TAMUX_REQUIRE_FIXTURES();
    test::TempDir drive;
    auto machine = xpWithDatabases(drive);
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USB.reg");
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USBPRINT.reg");
    ASSERT_GE(addHidChildren(machine->registry()), 2);

    DeviceTable table;
    startupLookups(*machine, table);
    int dellKeyboards = 0, dellMice = 0;
    for (const devices& d : table) {
        if (d.KeyPath.find("\\Enum\\HID\\Vid_413c&Pid_2105\\") != std::string::npos) {
            EXPECT_EQ(d.ClassName, "Keyboard");
            EXPECT_EQ(d.DisplayName, "Dell Computer Corp. Model L100 Keyboard");
            ++dellKeyboards;
        }
        if (d.KeyPath.find("\\Enum\\HID\\Vid_413c&Pid_3012\\") != std::string::npos) {
            EXPECT_EQ(d.ClassName, "Mouse");
            EXPECT_EQ(d.DisplayName, "Dell Computer Corp. Optical Wheel Mouse");
            ++dellMice;
        }
        // The USB parents themselves are of class HIDClass: not looked up.
        if (d.ClassName == "HIDClass") {
            EXPECT_EQ(d.DisplayName, "") << d.KeyPath;
        }
    }
    EXPECT_EQ(dellKeyboards, 4);
    EXPECT_EQ(dellMice, 5);
}

}  // namespace
}  // namespace tamux
