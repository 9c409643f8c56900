// The start-up work on every sample machine: the walks its Windows chooses, then the two
// lookups against the databases the build ships.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/ascii_case.h"
#include "platform/sim/machine.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;

struct Startup {
    std::unique_ptr<sim::Machine> machine;
    DeviceTable table;
    std::vector<std::string> filesAsked;
};

// Loads the machine, puts the shipped databases where the program looks for them, and runs
// readDeviceTable and the "Keyboard" and "Mouse" lookups.
Startup startup(const std::string& name, const test::TempDir& drive) {
    Startup run;
    run.machine = sim::Machine::load(test::sourceDir() / "samples/machines" / name, drive.path());
    const fs::path databases = run.machine->hostPath("..\\SHARED\\DATABASES");
    fs::create_directories(databases);
    for (const char* file : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        fs::copy_file(test::binaryDir() / "suite/SHARED/DATABASES" / file, databases / file);
    }
    auto platform = run.machine->platform();
    readDeviceTable(platform.registry, platform.system, run.table);
    lookupDeviceDatabase(platform.registry, platform.system, platform.files, run.table, "Keyboard");
    lookupDeviceDatabase(platform.registry, platform.system, platform.files, run.table, "Mouse");
    return run;
}

// The record the keyboard and mouse collectors take: the first of the class.
const DeviceEntry* firstOfClass(const DeviceTable& table, const std::string& upperClass) {
    for (const DeviceEntry& d : table) {
        if (toAsciiUpper(d.className) == upperClass) return &d;
    }
    return nullptr;
}

class SampleMachine : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleMachine, KeyboardAndMouseAreNamedFromTheDatabases) {
    test::TempDir drive;
    Startup run = startup(GetParam(), drive);
    for (const char* upperClass : {"KEYBOARD", "MOUSE"}) {
        const DeviceEntry* d = firstOfClass(run.table, upperClass);
        ASSERT_NE(d, nullptr) << upperClass;
        EXPECT_FALSE(d->vendorName.empty()) << upperClass << " " << d->hardwareID;
        EXPECT_FALSE(d->DeviceName.empty()) << upperClass << " " << d->hardwareID;
        EXPECT_EQ(d->displayName, d->vendorName + " " + d->DeviceName);
        EXPECT_FALSE(d->driverKey.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(AllWalks, SampleMachine,
                         ::testing::Values("win95", "win98se", "winme", "win2000", "winxp"));

TEST(SampleMachines, Windows95ListsEachDeviceOncePerWalk) {
    test::TempDir drive;
    Startup run = startup("win95", drive);
    const DeviceTable& t = run.table;
    ASSERT_FALSE(t.empty());
    ASSERT_EQ(t.size() % 2, 0u);
    const std::size_t half = t.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
        EXPECT_EQ(t[i].keyPath, t[half + i].keyPath) << i;
        EXPECT_EQ(t[i].hardwareID, t[half + i].hardwareID) << i;
    }
    // Both copies of the keyboard are completed by the lookup.
    int namedKeyboards = 0;
    for (const DeviceEntry& d : t) {
        if (d.className == "Keyboard" && !d.DeviceName.empty()) ++namedKeyboards;
    }
    EXPECT_EQ(namedKeyboards, 2);
}

TEST(SampleMachines, Nt4UsesItsServicesAndNoDatabase) {
    test::TempDir drive;
    Startup run = startup("nt4", drive);
    ASSERT_FALSE(run.table.empty());
    bool adapterString = false;
    for (const DeviceEntry& d : run.table) {
        EXPECT_EQ(d.vendorName, "") << d.keyPath;  // no lookup on NT 4
        EXPECT_EQ(d.hardwareID, "");
        EXPECT_EQ(d.keyPath.rfind("SYSTEM\\CurrentControlSet\\Enum\\Root\\", 0), 0u);
        if (!d.displayName.empty()) adapterString = true;
    }
    EXPECT_TRUE(adapterString);
    EXPECT_NE(firstOfClass(run.table, "KEYBOARD"), nullptr);
}

TEST(SampleMachines, VistaHasNoDeviceTable) {
    test::TempDir drive;
    EXPECT_TRUE(startup("vista", drive).table.empty());
}

TEST(SampleMachines, Windows2000WalkNeedsDeviceReferences) {
    test::TempDir drive;
    Startup run = startup("win2000", drive);
    int empty = 0;
    for (const DeviceEntry& d : run.table) {
        if (d == DeviceEntry{}) ++empty;
    }
    // Instances without a Control key or without a DeviceReference leave empty records.
    EXPECT_GT(empty, 0);
    EXPECT_LT(empty, static_cast<int>(run.table.size()));
}

}  // namespace
}  // namespace tamux
