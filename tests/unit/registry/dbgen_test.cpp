// The database generator: reading the id lists, and databases whose every key form resolves
// through the program's own lookup.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/database_lines.h"
#include "registry/device_database.h"
#include "tools/dbgen/database_writer.h"
#include "tools/dbgen/id_lists.h"

namespace tamux::dbgen {
namespace {

const char* kPciIds =
    "# pci.ids\r\n"
    "8086  Intel Corporation\r\n"
    "\t100e  82540EM Gigabit Ethernet Controller\r\n"
    "\t\t8086 001e  PRO/1000 MT Desktop Adapter\r\n"
    "\t\t8086 002e  PRO/1000 MT Desktop Adapter #2\r\n"
    "# a comment between devices\r\n"
    "\t7110  82371AB/EB/MB PIIX4 ISA\r\n"
    "10ec  Realtek #1 Semiconductor\r\n"
    "\t8139  RTL-8100/8101L/8139_0 PCI Fast Ethernet\r\n"
    "C 02  Network controller\r\n"
    "\t00  Ethernet controller\r\n"
    "\t\t00  ignored\r\n";

const char* kUsbIds =
    "046d  Logitech, Inc.\n"
    "\tc00e  M-BJ58/M-BJ69 Optical Wheel Mouse\n"
    "\tc31c  Keyboard K120\n"
    "\tc52b  Unifying Receiver\n"
    "413c  Dell Computer Corp.\n"
    "\t2105  Model L100 Keyboard\n"
    "\t2106  Keyboard with Touchpad\n"
    "AT 0409  English (US)\n"
    "HID 22  Physical Descriptor\n";

TEST(IdLists, VendorsDevicesAndSubsystemsInFileOrder) {
    auto vendors = parseIdList(kPciIds);
    ASSERT_EQ(vendors.size(), 2u);
    EXPECT_EQ(vendors[0].id, "8086");
    EXPECT_EQ(vendors[0].name, "Intel Corporation");
    ASSERT_EQ(vendors[0].devices.size(), 2u);
    EXPECT_EQ(vendors[0].devices[0].id, "100E");
    ASSERT_EQ(vendors[0].devices[0].subsystems.size(), 2u);
    EXPECT_EQ(vendors[0].devices[0].subsystems[0].subvendor, "8086");
    EXPECT_EQ(vendors[0].devices[0].subsystems[0].subdevice, "001E");
    EXPECT_EQ(vendors[0].devices[0].subsystems[0].name, "PRO/1000 MT Desktop Adapter");
    EXPECT_EQ(vendors[0].devices[1].name, "82371AB/EB/MB PIIX4 ISA");
    // The class list at the end adds nothing to the last vendor.
    EXPECT_EQ(vendors[1].devices.size(), 1u);

    auto usb = parseIdList(kUsbIds);
    ASSERT_EQ(usb.size(), 2u);
    EXPECT_EQ(usb[1].devices.size(), 2u);
}

TEST(IdLists, PnpListsAndCodePage) {
    EXPECT_EQ(pnpVendorName("PNO\tOther\nPNP\tMicrosoft\nPNQ\tx\n", "PNP"), "Microsoft");
    EXPECT_EQ(pnpVendorName("PNPX\tNot it\n", "PNP"), "");
    auto pnp = parsePnpList("# comment\nPNP0303\tKeyboard\tIBM Enhanced\nbroken line\n");
    ASSERT_EQ(pnp.size(), 1u);
    EXPECT_EQ(pnp[0].className, "Keyboard");
    EXPECT_EQ(pnp[0].name, "IBM Enhanced");
    EXPECT_EQ(utf8ToCp1252("Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD"), "Caf\xE9 \x80 ?");
    EXPECT_EQ(utf8ToCp1252("\xC3"), "?");  // cut short
}

TEST(DatabaseWriter, LinesAndClassFiles) {
    auto set = buildDatabases(parseIdList(kPciIds), parseIdList(kUsbIds),
                              {{"PNP0303", "Keyboard", "IBM Enhanced"},
                               {"PNP0F13", "Mouse", "PS/2 Port for PS/2-style Mice"}},
                              "Microsoft");
    const std::vector<std::string> keyboard = {"EISA PNP.=Microsoft",
                                               "PNP0303=IBM Enhanced",
                                               "USB 046D.=Logitech, Inc.",
                                               "VID_046D&PID_C31C=Keyboard K120",
                                               "USB 413C.=Dell Computer Corp.",
                                               "VID_413C&PID_2105=Model L100 Keyboard",
                                               "VID_413C&PID_2106=Keyboard with Touchpad"};
    EXPECT_EQ(set.keyboard, keyboard);
    const std::vector<std::string> mouse = {
        "EISA PNP.=Microsoft",           "PNP0F13=PS/2 Port for PS/2-style Mice",
        "USB 046D.=Logitech, Inc.",      "VID_046D&PID_C00E=M-BJ58/M-BJ69 Optical Wheel Mouse",
        "USB 413C.=Dell Computer Corp.", "VID_413C&PID_2106=Keyboard with Touchpad"};
    EXPECT_EQ(set.mouse, mouse);
    // Subsystems before their device; names that the line format would cut are kept whole.
    const std::vector<std::string> pciPart(set.other.begin() + 3, set.other.begin() + 11);
    const std::vector<std::string> pci = {
        "PCI 8086.=Intel Corporation",
        "8086100E SUBSYS 001E8086=PRO/1000 MT Desktop Adapter",
        "8086100E SUBSYS 002E8086=PRO/1000 MT Desktop Adapter #2",
        "VEN_8086&DEV_100E=82540EM Gigabit Ethernet Controller",
        "VEN_8086&DEV_7110=82371AB/EB/MB PIIX4 ISA",
        "PCI 10EC.=Realtek No.1 Semiconductor",
        "VEN_10EC&DEV_8139=RTL-8100/8101L/8139-0 PCI Fast Ethernet",
        "USB 046D.=Logitech, Inc."};
    EXPECT_EQ(pciPart, pci);
    EXPECT_EQ(set.other.size(), 3u + 7u + 7u);
    for (const auto& line : set.other) {
        std::string_view key = lineKey(line);
        if (key.size() == 24) {
            EXPECT_FALSE(normalizedKey(key).empty()) << line;
        }
    }
}

// Every hardware id form the walks produce resolves through the lookup itself.
class InMemoryFiles : public platform::Files {
  public:
    bool fileExists(std::string_view path) override { return files.count(std::string(path)); }
    std::optional<std::string> readFile(std::string_view path) override {
        return files.at(std::string(path));
    }
    void writeFile(std::string_view, std::string_view) override {}
    std::optional<std::uint64_t> lastWriteTime(std::string_view) override { return {}; }
    std::map<std::string, std::string> files;
};

TEST(DatabaseWriter, EveryKeyFormResolves) {
    auto set = buildDatabases(parseIdList(kPciIds), parseIdList(kUsbIds),
                              {{"PNP0303", "Keyboard", "IBM Enhanced"}}, "Microsoft");
    InMemoryFiles files;
    files.files["..\\SHARED\\DATABASES\\Keyboard.txt"] = encipherDatabase(set.keyboard);
    files.files["..\\SHARED\\DATABASES\\other.txt"] = encipherDatabase(set.other);
    sim::SimRegistry registry;
    sim::SimSystem system;
    auto unknown = [](std::string id) {
        DeviceEntry d;
        d.className = "Unknown";
        d.hardwareID = id;
        return d;
    };
    DeviceTable table = {
        unknown("HID\\VID_413C&PID_2105&REV_0352HID\\VID_413C&PID_2105HID_DEVICE"),
        unknown("USB\\VID_046D&PID_C52B&REV_1200USB\\VID_046D&PID_C52B"),
        unknown("PCI\\VEN_8086&DEV_100E&SUBSYS_002E8086&REV_02PCI\\VEN_8086&DEV_100E"),
        unknown("PCI\\VEN_8086&DEV_100E&SUBSYS_11111111&REV_02"),
        unknown("ACPI\\PNP0303*PNP0303"),
        unknown("PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10")};
    lookupDeviceDatabase(registry, system, files, table, "Keyboard");
    EXPECT_EQ(table[0].displayName, "Dell Computer Corp. Model L100 Keyboard");
    EXPECT_EQ(table[1].displayName, "Logitech, Inc. Unifying Receiver");
    EXPECT_EQ(table[2].displayName, "Intel Corporation PRO/1000 MT Desktop Adapter #2");
    EXPECT_EQ(table[3].displayName, "Intel Corporation 82540EM Gigabit Ethernet Controller");
    EXPECT_EQ(table[4].displayName, "Microsoft IBM Enhanced");
    EXPECT_EQ(table[5].displayName,
              "Realtek No.1 Semiconductor RTL-8100/8101L/8139-0 PCI Fast Ethernet");
}

}  // namespace
}  // namespace tamux::dbgen
