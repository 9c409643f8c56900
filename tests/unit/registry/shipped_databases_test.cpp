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
#include "tests/support/xp_hid_children.h"

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

TEST(ShippedDatabases, NameTheRealXpUsbKeyboardsAndMice) {
    TAMUX_REQUIRE_FIXTURES();
    test::TempDir drive;
    auto machine = xpWithDatabases(drive);
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USB.reg");
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USBPRINT.reg");
    ASSERT_GE(test::AddXpHidChildren(machine->registry()), 2);

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
