// The databases the build ships, read through the whole chain: a simulated Windows XP with the
// real XP exports loaded, its device table, and the two start-up lookups.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
    readDeviceTable(platform.registry, platform.system, table);
    lookupDeviceDatabase(platform.registry, platform.system, platform.files, table, "Keyboard");
    lookupDeviceDatabase(platform.registry, platform.system, platform.files, table, "Mouse");
}

// A shipped database's lines, deciphered.
std::vector<std::string> deciphered(const char* name) {
    std::ifstream in(shippedDatabases() / name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    decipherDatabase(lines);
    return lines;
}

bool hasKey(const std::vector<std::string>& lines, const std::string& key) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.starts_with(key + "="); });
}

TEST(ShippedDatabases, AreBuiltWithTheirClassFiles) {
    // A keyboard and a mouse of the Plug and Play id list, and a USB keyboard and mouse of
    // usb.ids: each class file holds its own class only; other.txt holds every device.
    struct Row {
        const char* key;
        bool inKeyboard, inMouse;
    };
    const Row rows[] = {
        {"PNP0303", true, false},
        {"PNP0F13", false, true},
        {"VID_413C&PID_2105", true, false},
        {"VID_413C&PID_3012", false, true},
        {"VEN_8086&DEV_7110", false, false},
    };
    const std::vector<std::string> keyboard = deciphered("Keyboard.txt");
    const std::vector<std::string> mouse = deciphered("Mouse.txt");
    const std::vector<std::string> other = deciphered("other.txt");
    for (const Row& row : rows) {
        EXPECT_EQ(hasKey(keyboard, row.key), row.inKeyboard) << row.key;
        EXPECT_EQ(hasKey(mouse, row.key), row.inMouse) << row.key;
        EXPECT_TRUE(hasKey(other, row.key)) << row.key;
    }
    // The names come from the id lists, as they are written there.
    EXPECT_NE(std::find(keyboard.begin(), keyboard.end(),
                        "PNP0303=IBM Enhanced (101/102-key, PS/2 mouse support)"),
              keyboard.end());
    EXPECT_NE(std::find(mouse.begin(), mouse.end(), "PNP0F13=PS/2 Port for PS/2-style Mice"),
              mouse.end());
}

TEST(ShippedDatabases, NameTheRealXpUsbKeyboardsAndMice) {
    TAMUX_REQUIRE_FIXTURES();
    test::TempDir drive;
    auto machine = xpWithDatabases(drive);
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USB.reg");
    machine->registry().importFile(test::fixturesDir() / "real-xp/xppro1-USBPRINT.reg");
    ASSERT_GE(test::addXpHidChildren(machine->registry()), 2);

    DeviceTable table;
    startupLookups(*machine, table);
    int dellKeyboards = 0, dellMice = 0;
    for (const DeviceEntry& d : table) {
        if (d.keyPath.find("\\Enum\\HID\\Vid_413c&Pid_2105\\") != std::string::npos) {
            EXPECT_EQ(d.className, "Keyboard");
            EXPECT_EQ(d.displayName, "Dell Computer Corp. Model L100 Keyboard");
            ++dellKeyboards;
        }
        if (d.keyPath.find("\\Enum\\HID\\Vid_413c&Pid_3012\\") != std::string::npos) {
            EXPECT_EQ(d.className, "Mouse");
            EXPECT_EQ(d.displayName, "Dell Computer Corp. Optical Wheel Mouse");
            ++dellMice;
        }
        // The USB parents themselves are of class HIDClass: not looked up.
        if (d.className == "HIDClass") {
            EXPECT_EQ(d.displayName, "") << d.keyPath;
        }
    }
    EXPECT_EQ(dellKeyboards, 4);
    EXPECT_EQ(dellMice, 5);
}

}  // namespace
}  // namespace tamux
