// The device table built through the real registry of the Wine prefix and through the simulated
// registry loaded from the same files must be the same, record for record: the NT 5.x walks over
// the real XP and Wine exports, the 9x walks over the Windows 95 sample machine's device tree.
//
// The walks look under HKEY_LOCAL_MACHINE and HKEY_DYN_DATA, where a running Wine keeps its own
// live device keys; the real side therefore reads the same trees from under a key of
// HKEY_CURRENT_USER, through a registry that relocates each root there.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/reg_key.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_support.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tests/support/test_paths.h"
#include "tests/support/xp_hid_children.h"
#include "tests/wine/lane_environment.h"
#include "tests/wine/reg_file_keys.h"
#include "tests/wine/registry_sides.h"
#include "tools/regimport/registry_copier.h"

namespace tamux::wine_test {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;

// Every root of `inner` seen at HKEY_CURRENT_USER\<base><root name>.
class RelocatedRegistry : public platform::Registry {
  public:
    RelocatedRegistry(platform::Registry& inner, std::string base)
        : inner_(inner), base_(std::move(base)) {}

    long openKey(RootKey root, std::string_view path, platform::KeyAccess access,
                 Key& key) override {
        std::string relocated = base_ + platform::rootKeyName(root);
        if (!path.empty()) {
            relocated += '\\';
            relocated.append(path);
        }
        return inner_.openKey(RootKey::CurrentUser, relocated, access, key);
    }
    void closeKey(Key key) override { inner_.closeKey(key); }
    long queryValue(Key key, std::string_view name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override {
        return inner_.queryValue(key, name, type, data);
    }
    long subkeyNames(Key key, std::vector<std::string>& names) override {
        return inner_.subkeyNames(key, names);
    }
    long valueNames(Key key, std::vector<std::string>& names) override {
        return inner_.valueNames(key, names);
    }

  private:
    platform::Registry& inner_;
    std::string base_;
};

std::string describe(const DeviceEntry& d) {
    std::ostringstream text;
    text << "{ClassDesc \"" << d.classDesc << "\", ClassName \"" << d.className << "\", KeyPath \""
         << d.keyPath << "\", Description \"" << d.description << "\", DriverKey \"" << d.driverKey
         << "\", DisplayName \"" << d.displayName << "\", HardwareID \"" << d.hardwareID
         << "\", HwFlag " << d.hwFlag << "}";
    return text.str();
}

void expectSameTables(const DeviceTable& real, const DeviceTable& simulated) {
    ASSERT_EQ(real.size(), simulated.size()) << "records on Win32 and on the sim";
    int differing = 0;
    for (std::size_t i = 0; i < real.size(); ++i) {
        if (real[i] == simulated[i]) continue;
        if (++differing > 10) break;
        ADD_FAILURE() << "record " << i << "\n  Win32: " << describe(real[i])
                      << "\n  sim:   " << describe(simulated[i]);
    }
}

DeviceTable enumerate(platform::Registry& registry, std::uint32_t platformId, std::uint32_t major,
                      std::uint32_t minor, const char* csd) {
    sim::SimSystem system;
    system.setVersion(sim::makeVersion(platformId, major, minor, 0, csd));
    DeviceTable table;
    readDeviceTable(registry, system, table);
    return table;
}

// ---- NT 5.x: the shared fixtures, imported by the lane script under its relocation key ----

class NtDeviceWalks : public ::testing::Test {
  protected:
    void SetUp() override {
        TAMUX_REQUIRE_PREPARED_PREFIX();
        // The lane imports these in this order, as the simulated registry loads them.
        for (const char* file : {"wine-8.0/hklm-control-class.reg", "wine-8.0/hklm-enum.reg",
                                 "real-xp/xppro1-USB.reg", "real-xp/xppro1-USBPRINT.reg"}) {
            simulated_.importFile(fixturesDir() / file);
        }
    }

    sim::SimRegistry simulated_{hostCodePage()};
    win32::Win32Registry win32_;
    // Where run-wine-lane.sh puts the shared fixtures.
    RelocatedRegistry real_{win32_, "Software\\Tamux Fixtures\\"};
};

TEST_F(NtDeviceWalks, WindowsXpTablesAgree) {
    const DeviceTable real = enumerate(real_, 2, 5, 1, "Service Pack 2");
    const DeviceTable simulated = enumerate(simulated_, 2, 5, 1, "Service Pack 2");
    EXPECT_GT(real.size(), 20u);
    expectSameTables(real, simulated);
}

TEST_F(NtDeviceWalks, Windows2000TablesAgree) {
    const DeviceTable real = enumerate(real_, 2, 5, 0, "Service Pack 4");
    const DeviceTable simulated = enumerate(simulated_, 2, 5, 0, "Service Pack 4");
    EXPECT_FALSE(real.empty());
    expectSameTables(real, simulated);
}

// ---- Trees copied into the real registry by the tests themselves ----

constexpr const char* kScratch = "Software\\Tamux Devices Conformance\\";

void deleteTree(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[256];
    for (;;) {
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        deleteTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name.c_str());
}

// The simulated registry, and the same trees copied below kScratch of the real one.
class CopiedDeviceTrees : public ::testing::Test {
  protected:
    void copyToRealRegistry() {
        deleteTree(HKEY_CURRENT_USER, "Software\\Tamux Devices Conformance");
        for (RootKey root : {RootKey::LocalMachine, RootKey::DynData}) {
            const std::string path = std::string(kScratch) + platform::rootKeyName(root);
            HKEY destination = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &destination, nullptr),
                      ERROR_SUCCESS);
            const regimport::CopyResult copied = regimport::copyTree(simulated_, root, destination);
            RegCloseKey(destination);
            ASSERT_EQ(copied.error, 0) << "copying stopped at " << copied.failedAt;
        }
    }
    void TearDown() override {
        deleteTree(HKEY_CURRENT_USER, "Software\\Tamux Devices Conformance");
    }

    sim::SimRegistry simulated_{hostCodePage()};
    win32::Win32Registry win32_;
    RelocatedRegistry real_{win32_, kScratch};
};

// ---- 9x: the Windows 95 sample machine ----

class Win9xDeviceWalks : public CopiedDeviceTrees {
  protected:
    void SetUp() override {
        const fs::path machine = dataDir() / ".." / ".." / ".." / "samples/machines/win95";
        if (!fs::is_directory(machine / "registry")) GTEST_SKIP() << "no win95 sample machine";
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(machine / "registry")) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) simulated_.importFile(file);
        copyToRealRegistry();
    }
};

TEST_F(Win9xDeviceWalks, Windows95TablesAgree) {
    const DeviceTable real = enumerate(real_, 1, 4, 0, "B");
    const DeviceTable simulated = enumerate(simulated_, 1, 4, 0, "B");
    EXPECT_GT(real.size(), 4u);
    expectSameTables(real, simulated);
}

TEST_F(Win9xDeviceWalks, Windows98TablesAgree) {
    const DeviceTable real = enumerate(real_, 1, 4, 10, "A");
    const DeviceTable simulated = enumerate(simulated_, 1, 4, 10, "A");
    EXPECT_GT(real.size(), 2u);
    expectSameTables(real, simulated);
}

// ---- The real XP exports with their HID children, named from the shipped databases ----

// The databases the cross build wrote, as a Windows path.
std::string databaseDirectory() {
    std::string path = "Z:" + (test::binaryDir() / "suite/SHARED/DATABASES/").generic_string();
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

class XpDevicesNamed : public CopiedDeviceTrees {
  protected:
    void SetUp() override {
        if (fixturesDir().empty()) GTEST_SKIP() << "the shared fixtures folder is absent";
        if (!fs::is_regular_file(databaseDirectory() + "other.txt")) {
            GTEST_SKIP() << "no databases at " << databaseDirectory();
        }
        for (const char* file : {"real-xp/xppro1-USB.reg", "real-xp/xppro1-USBPRINT.reg"}) {
            simulated_.importFile(fixturesDir() / file);
        }
        const std::string classes = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
        for (auto [guid, name] : {std::pair{"{4D36E96B-E325-11CE-BFC1-08002BE10318}", "Keyboard"},
                                  std::pair{"{4D36E96F-E325-11CE-BFC1-08002BE10318}", "Mouse"}}) {
            simulated_.setString(RootKey::LocalMachine, classes + guid, "", name);
            simulated_.setString(RootKey::LocalMachine, classes + guid, "Class", name);
        }
        ASSERT_GE(test::addXpHidChildren(simulated_), 2);
        copyToRealRegistry();
    }

    DeviceTable startup(platform::Registry& registry) {
        sim::SimSystem system;  // Windows XP SP2
        win32::Win32Files files;
        DeviceTable table;
        readDeviceTable(registry, system, table);
        lookupDeviceDatabase(registry, system, files, table, "Keyboard", databaseDirectory());
        lookupDeviceDatabase(registry, system, files, table, "Mouse", databaseDirectory());
        return table;
    }
};

TEST_F(XpDevicesNamed, KeyboardsAndMiceAreNamedAlikeOnBothSides) {
    const DeviceTable real = startup(real_);
    const DeviceTable simulated = startup(simulated_);
    expectSameTables(real, simulated);
    int named = 0;
    for (const DeviceEntry& d : real) {
        if (d.className != "Keyboard" && d.className != "Mouse") continue;
        EXPECT_TRUE(d.displayName == "Dell Computer Corp. Model L100 Keyboard" ||
                    d.displayName == "Dell Computer Corp. Optical Wheel Mouse")
            << d.keyPath << ": " << d.displayName;
        EXPECT_EQ(d.vendorExtra + d.deviceExtra, "");
        ++named;
    }
    EXPECT_EQ(named, 9);
}

}  // namespace
}  // namespace tamux::wine_test
