#include "registry/enum_devices.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/sim/sim_parallel.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"

namespace tamux {
namespace {

using platform::RootKey;
namespace regtype = platform::regtype;

constexpr const char* kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
constexpr const char* kNtClass = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
constexpr const char* k9xClass = "System\\CurrentControlSet\\Services\\Class\\";
constexpr const char* kKeyboardGuid = "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kMouseGuid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";

std::vector<std::uint8_t> multiString(std::initializer_list<std::string> items) {
    std::vector<std::uint8_t> data;
    for (const std::string& item : items) {
        data.insert(data.end(), item.begin(), item.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

class EnumDevicesTest : public ::testing::Test {
  protected:
    void version(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                 const char* csd = "") {
        system.setVersion(sim::makeVersion(platformId, major, minor, 0, csd));
    }
    void xp() { version(2, 5, 1); }
    void win2000() { version(2, 5, 0); }

    void hklm(const std::string& path, const std::string& name, const std::string& value) {
        registry.setString(RootKey::LocalMachine, path, name, value);
    }
    void dyn(const std::string& path, const std::string& name, const std::string& value) {
        registry.setString(RootKey::DynData, path, name, value);
    }

    // A complete NT 5.x instance with a Control key.
    void ntInstance(const std::string& path, const std::string& desc, const std::string& guid,
                    const std::string& driver, std::initializer_list<std::string> ids) {
        hklm(path, "DeviceDesc", desc);
        hklm(path, "ClassGUID", guid);
        if (!driver.empty()) hklm(path, "Driver", driver);
        registry.setValue(RootKey::LocalMachine, path, "HardwareID", regtype::kMultiSz,
                          multiString(ids));
        registry.setDword(RootKey::LocalMachine, path + "\\Control", "ActiveService", 1);
    }
    void ntClass(const std::string& guid, const std::string& name, const std::string& desc) {
        hklm(kNtClass + guid, "", desc);
        hklm(kNtClass + guid, "Class", name);
    }

    DeviceTable run() {
        DeviceTable table(3);  // whatever was there before goes
        readDeviceTable(registry, system, table);
        EXPECT_EQ(registry.openKeyCount(), 0u) << "a walk left a key open";
        return table;
    }

    sim::SimRegistry registry;
    sim::SimSystem system;
};

TEST_F(EnumDevicesTest, XpInstanceFieldByField) {
    xp();
    const std::string path = std::string(kEnum) + "ACPI\\PNP0303\\4&2f94427b&0";
    ntInstance(path, "Standard 101/102-Key", kKeyboardGuid, std::string(kKeyboardGuid) + "\\0000",
               {"acpi\\PNP0303", "*PNP0303"});
    hklm(path, "FriendlyName", "My keyboard");
    registry.setValue(RootKey::LocalMachine, path, "CompatibleIDs", regtype::kMultiSz,
                      multiString({"*PNP0300"}));
    ntClass(kKeyboardGuid, "Keyboard", "Keyboards");

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 1u);
    const DeviceEntry& d = table[0];
    EXPECT_EQ(d.keyPath, path);
    EXPECT_EQ(d.hardwareID, "ACPI\\PNP0303*PNP0303");  // run together, upper-cased
    EXPECT_EQ(d.description, "My keyboard");
    EXPECT_EQ(d.driverKey, std::string(kNtClass) + kKeyboardGuid + "\\0000");
    EXPECT_EQ(d.classDesc, "Keyboards");
    EXPECT_EQ(d.className, "Keyboard");
    EXPECT_TRUE(d.hwFlag);
    EXPECT_EQ(d.displayName, "");
    EXPECT_EQ(d.vendorName, "");
}

TEST_F(EnumDevicesTest, XpFallbacksAndEmptyRecords) {
    xp();
    // No Control key: an empty record all the same.
    const std::string bare = std::string(kEnum) + "ACPI\\PNP0A03\\1";
    hklm(bare, "DeviceDesc", "PCI bus");
    // No friendly name, no Driver, a class GUID without class key, no CompatibleIDs.
    const std::string plain = std::string(kEnum) + "ACPI\\PNP0F13\\4&1";
    ntInstance(plain, "PS/2 Compatible Mouse", kMouseGuid, "", {"ACPI\\PNP0F13"});
    // Enumerator and device id keys with a DeviceDesc of their own are not descended into.
    hklm(std::string(kEnum) + "Odd", "DeviceDesc", "enumerator");
    ntInstance(std::string(kEnum) + "Odd\\Dev\\1", "hidden", kMouseGuid, "", {"X"});
    hklm(std::string(kEnum) + "Root\\Odd", "DeviceDesc", "device id");
    ntInstance(std::string(kEnum) + "Root\\Odd\\1", "hidden", kMouseGuid, "", {"X"});

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], DeviceEntry{});
    const DeviceEntry& d = table[1];
    EXPECT_EQ(d.description, "PS/2 Compatible Mouse");
    EXPECT_EQ(d.driverKey, "SYSTEM\\CurrentControlSet\\Control\\Class\\");
    EXPECT_EQ(d.classDesc, kMouseGuid);  // the class key cannot be opened: the GUID stays
    EXPECT_EQ(d.className, "");
    EXPECT_FALSE(d.hwFlag);
}

TEST_F(EnumDevicesTest, Windows2000NeedsADeviceReference) {
    win2000();
    const std::string with = std::string(kEnum) + "ACPI\\PNP0303\\1";
    const std::string without = std::string(kEnum) + "ACPI\\PNP0303\\2";
    ntInstance(with, "Keyboard", kKeyboardGuid, "", {"ACPI\\PNP0303"});
    registry.setDword(RootKey::LocalMachine, with + "\\Control", "DeviceReference", 0x1234);
    ntInstance(without, "Keyboard", kKeyboardGuid, "", {"ACPI\\PNP0303"});
    ntClass(kKeyboardGuid, "Keyboard", "Keyboards");

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].keyPath, with);
    EXPECT_EQ(table[0].className, "Keyboard");
    EXPECT_EQ(table[1], DeviceEntry{});
}

TEST_F(EnumDevicesTest, LongHardwareIdListIsReadWhole) {
    xp();
    std::vector<std::string> ids;
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        ids.push_back("usb\\vid_046d&pid_c52b&rev_12" + std::to_string(10 + i));
        expected += "USB\\VID_046D&PID_C52B&REV_12" + std::to_string(10 + i);
    }
    const std::string path = std::string(kEnum) + "USB\\VID_046D&PID_C52B\\1";
    ntInstance(path, "USB device", kMouseGuid, "", {});
    std::vector<std::uint8_t> data;
    for (const std::string& id : ids) {
        data.insert(data.end(), id.begin(), id.end());
        data.push_back(0);
    }
    data.push_back(0);
    ASSERT_GT(data.size(), 255u);
    registry.setValue(RootKey::LocalMachine, path, "HardwareID", regtype::kMultiSz, data);

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].hardwareID, expected);
}

TEST_F(EnumDevicesTest, RegistryErrorEndsTheWalkAndKeepsTheRecords) {
    xp();
    ntInstance(std::string(kEnum) + "ACPI\\A\\1", "first", kMouseGuid, "", {"ACPI\\A"});
    const std::string bad = std::string(kEnum) + "ACPI\\B\\1";
    ntInstance(bad, "second", kMouseGuid, "", {});
    hklm(bad, "HardwareID", "a string, not a list");
    ntInstance(std::string(kEnum) + "ACPI\\C\\1", "third", kMouseGuid, "", {"ACPI\\C"});

    DeviceTable table;
    try {
        readDeviceTable(registry, system, table);
        ADD_FAILURE() << "the wrong value type went unnoticed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'HardwareID'");
    }
    ASSERT_EQ(table.size(), 2u);  // the first, and the one being filled
    EXPECT_EQ(table[0].description, "first");
    EXPECT_EQ(table[1], DeviceEntry{});
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

// A machine with many devices is walked as two halves side by side: the same records in the
// same order, and an error in either half ends the table where a walk in order ends it.
TEST_F(EnumDevicesTest, AWalkSharedByTwoThreadsMakesTheTableOfOneWalk) {
    xp();
    ntClass(kMouseGuid, "Mouse", "Mice");
    for (int n = 0; n < 600; ++n) {
        const std::string id = "DEV_" + std::to_string(1000 + n);
        const std::string bus = n < 200 ? "ACPI\\" : "USB\\";
        for (int instance = 0; instance < 1 + n % 3 / 2; ++instance) {
            ntInstance(std::string(kEnum) + bus + id + "\\" + std::to_string(instance),
                       "device " + std::to_string(n), kMouseGuid, "", {bus + id});
        }
    }
    auto walk = [this](bool shared) {
        sim::SimParallel parallel;
        DeviceTable table;
        std::string error;
        try {
            readDeviceTable(registry, system, table, shared ? &parallel : nullptr);
        } catch (const RegistryError& e) {
            error = e.what();
        }
        EXPECT_EQ(registry.openKeyCount(), 0u);
        return std::make_pair(table, error);
    };
    const auto whole = walk(false);
    EXPECT_EQ(whole.first.size(), 800u);
    EXPECT_EQ(walk(true), whole);
    // An instance that fails near the end, and then one near the start too: the table ends where
    // the walk in order fails first (after the failing record), whichever thread walked which.
    for (int bad : {500, 100}) {
        SCOPED_TRACE(bad);
        const std::string bus = bad < 200 ? "ACPI\\" : "USB\\";
        hklm(std::string(kEnum) + bus + "DEV_" + std::to_string(1000 + bad) + "\\0", "HardwareID",
             "a string, not a list");
        const auto inOrder = walk(false);
        EXPECT_EQ(inOrder.second, "Invalid data type for 'HardwareID'");
        EXPECT_EQ(inOrder.first.size(), bad == 500 ? 667u : 134u);
        for (int round = 0; round < 5; ++round) EXPECT_EQ(walk(true), inOrder);
    }
}

// ---- 9x ----

class Win9xTest : public EnumDevicesTest {
  protected:
    // A configuration manager node and its hardware key under HKLM\ENUM.
    void device(const std::string& node, const std::string& hardwareKey, const std::string& desc,
                const std::string& guid, const std::string& className, const std::string& driver) {
        dyn("Config Manager\\Enum\\" + node, "HardWareKey", hardwareKey);
        const std::string path = "Enum\\" + hardwareKey;
        hklm(path, "HardwareID", "*PNP0303");
        hklm(path, "DeviceDesc", desc);
        hklm(path, "ClassGUID", guid);
        hklm(path, "Class", className);
        hklm(path, "Driver", driver);
    }
    void classes() {
        // By GUID, a link to the class name's key; by name, the description.
        hklm(std::string(k9xClass) + kKeyboardGuid, "Link", "Keyboard");
        hklm(std::string(k9xClass) + kKeyboardGuid, "Class", "Keyboard");
        hklm(std::string(k9xClass) + "Keyboard", "", "Keyboard");
        hklm(std::string(k9xClass) + "Keyboard", "Class", "Keyboard");
        hklm(std::string(k9xClass) + kKeyboardGuid, "", "unused");
        hklm(std::string(k9xClass) + "Keyboard", "", "Keyboards (9x)");
    }
};

TEST_F(Win9xTest, Windows98WalksByClassGuid) {
    version(1, 4, 10, " A ");
    classes();
    device("C1000000", "Root\\*PNP0303\\0000", "Standard 101/102-Key", kKeyboardGuid, "Keyboard",
           "Keyboard\\0000");
    hklm("Enum\\Root\\*PNP0303\\0000", "FriendlyName", "Friendly");
    // Skipped: no hardware key value; a hardware key that does not exist.
    registry.createKey(RootKey::DynData, "Config Manager\\Enum\\C2000000");
    dyn("Config Manager\\Enum\\C3000000", "HardWareKey", "Root\\Missing\\0000");
    // No DeviceDesc: a record with the hardware id only (and the class root's empty values).
    dyn("Config Manager\\Enum\\C4000000", "HardWareKey", "Root\\Bare\\0000");
    hklm("Enum\\Root\\Bare\\0000", "HardwareID", "x");
    // Network and software devices are not hardware.
    device("C5000000", "Network\\Swift\\0000", "net", kKeyboardGuid, "Keyboard", "Net\\0000");
    device("C6000000", "Root\\answ\\0000", "soft", kKeyboardGuid, "Keyboard", "X\\0000");

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 4u);
    const DeviceEntry& d = table[0];
    EXPECT_EQ(d.hardwareID, "ROOT\\*PNP0303\\0000");  // the key text, not the value
    EXPECT_EQ(d.keyPath, "ENUM\\Root\\*PNP0303\\0000");
    EXPECT_EQ(d.description, "Friendly");
    EXPECT_EQ(d.driverKey, "System\\CurrentControlSet\\Services\\Class\\Keyboard\\0000");
    EXPECT_EQ(d.className, "Keyboard");
    EXPECT_EQ(d.classDesc, "Keyboards (9x)");
    EXPECT_TRUE(d.hwFlag);

    EXPECT_EQ(table[1].hardwareID, "ROOT\\BARE\\0000");
    EXPECT_EQ(table[1].keyPath, "");
    EXPECT_EQ(table[1].className, "");
    EXPECT_FALSE(table[2].hwFlag);  // NETWORK
    EXPECT_FALSE(table[3].hwFlag);  // "SW" inside "ANSW"
}

TEST_F(Win9xTest, Windows95ListsEveryDeviceTwice) {
    version(1, 4, 0, "B");
    classes();
    device("C1000000", "Root\\*PNP0303\\0000", "Standard 101/102-Key", kKeyboardGuid, "Keyboard",
           "Keyboard\\0000");
    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].className, "Keyboard");  // through the GUID's link
    EXPECT_EQ(table[0].classDesc, "Keyboards (9x)");
    EXPECT_EQ(table[1].className, "Keyboard");  // the "Class" value itself
    EXPECT_EQ(table[1].classDesc, "Keyboards (9x)");
    EXPECT_EQ(table[1].keyPath, table[0].keyPath);
}

TEST_F(Win9xTest, MeRunsOnlyTheGuidWalkAndNt6RunsNone) {
    version(1, 4, 90);
    classes();
    device("C1000000", "Root\\*PNP0303\\0000", "Keyboard", kKeyboardGuid, "Keyboard", "K\\0000");
    ntInstance(std::string(kEnum) + "ACPI\\PNP0303\\1", "Keyboard", kKeyboardGuid, "", {"X"});
    EXPECT_EQ(run().size(), 1u);

    version(2, 6, 0);
    EXPECT_TRUE(run().empty());
}

// ---- NT 4 ----

class Nt4Test : public EnumDevicesTest {
  protected:
    void SetUp() override { version(2, 4, 0, "Service Pack 6"); }

    std::string instance(const std::string& id, const std::string& inst) {
        const std::string path = std::string(kEnum) + "Root\\" + id + "\\" + inst;
        hklm(path, "DeviceDesc", id + " device");
        hklm(path, "Class", "Keyboard");
        hklm(path, "ClassGUID", kKeyboardGuid);
        hklm(path, "Driver", std::string(kKeyboardGuid) + "\\0000");
        return path;
    }
    void service(const std::string& name, const std::string& enumerated) {
        const std::string path = "SYSTEM\\CurrentControlSet\\Services\\" + name;
        registry.createKey(RootKey::LocalMachine, path);
        if (!enumerated.empty()) hklm(path + "\\Enum", "0", enumerated);
    }
};

TEST_F(Nt4Test, PresentRootDevicesWithTheirServiceAdapterString) {
    ntClass(kKeyboardGuid, "Keyboard", "Keyboards");
    const std::string path = instance("LEGACY_I8042PRT", "0000");
    registry.setDword(RootKey::LocalMachine, path, "StatusFlags", 8);
    registry.setDword(RootKey::LocalMachine, path, "ConfigFlags", 0);
    // A service without an enum value is passed over; the match ignores case.
    service("Alpha", "");
    service("i8042prt", "root\\legacy_i8042prt\\0000");
    const std::u16string adapter = u"8042 port";
    std::vector<std::uint8_t> utf16;
    for (char16_t c : adapter) {
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(0);
    }
    utf16.insert(utf16.end(), {0, 0});
    registry.setValue(RootKey::LocalMachine,
                      "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Device0",
                      "HardwareInformation.AdapterString", regtype::kBinary, utf16);
    // Not present: status 4, and no status at all.
    registry.setDword(RootKey::LocalMachine, instance("LEGACY_OTHER", "0000"), "StatusFlags", 4);
    instance("LEGACY_NOSTATUS", "0000");
    // A root device id key with a DeviceDesc of its own is not descended into.
    hklm(std::string(kEnum) + "Root\\ODD", "DeviceDesc", "odd");
    registry.setDword(RootKey::LocalMachine, instance("ODD", "0000"), "StatusFlags", 8);

    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 1u);
    const DeviceEntry& d = table[0];
    EXPECT_EQ(d.displayName, "8042 port");
    EXPECT_EQ(d.keyPath, path);
    EXPECT_EQ(d.description, "LEGACY_I8042PRT device");
    EXPECT_TRUE(d.hwFlag);
    EXPECT_EQ(d.className, "Keyboard");
    EXPECT_EQ(d.classDesc, "Keyboards");
    EXPECT_EQ(d.driverKey, std::string(kNtClass) + kKeyboardGuid + "\\0000");
    EXPECT_EQ(d.hardwareID, "");
}

TEST_F(Nt4Test, InstanceWithoutStatusIsNotJudgedByThePreviousOne) {
    registry.setDword(RootKey::LocalMachine, instance("A", "0000"), "StatusFlags", 8);
    instance("A", "0001");  // no StatusFlags right after a present one
    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].keyPath, std::string(kEnum) + "Root\\A\\0000");
    EXPECT_EQ(table[0].displayName, "");  // no service names it
    EXPECT_EQ(table[0].classDesc, "");    // the class key is missing: empty on NT 4
}

TEST_F(Nt4Test, StaleServiceValueNeverNamesTheNextInstance) {
    // Searching for A\0000 reads B's value last; the search for B\0000 must not take the
    // value-less service "First" for B's.
    registry.setDword(RootKey::LocalMachine, instance("A", "0000"), "StatusFlags", 8);
    registry.setDword(RootKey::LocalMachine, instance("B", "0000"), "StatusFlags", 8);
    service("First", "");
    service("Second", "Root\\B\\0000");
    hklm("SYSTEM\\CurrentControlSet\\Services\\First\\Device0", "HardwareInformation.AdapterString",
         "wrong");
    registry.setValue(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Second\\Device0",
                      "HardwareInformation.AdapterString", regtype::kBinary, {'B', 0, 0, 0});
    const DeviceTable table = run();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].displayName, "");
    EXPECT_EQ(table[1].displayName, "B");
}

}  // namespace
}  // namespace tamux
