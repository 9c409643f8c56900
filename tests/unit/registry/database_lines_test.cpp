#include "registry/database_lines.h"

#include <string>

#include <gtest/gtest.h>

namespace tamux {
namespace {

TEST(pciKeyOf, TakesVendorDeviceAndSubsystemOfAPciId) {
    EXPECT_EQ(pciKeyOf("PCI\\VEN_8086&DEV_7110&SUBSYS_197615AD&REV_08"), "80867110197615AD");
    // The joined list of an NT hardware id: the first occurrences count.
    EXPECT_EQ(pciKeyOf("PCI\\VEN_10DE&DEV_0020&SUBSYS_00000000&REV_04"
                       "PCI\\VEN_10DE&DEV_0020&SUBSYS_00000000PCI\\VEN_10DE&DEV_0020&CC_030000"),
              "10DE002000000000");
}

TEST(pciKeyOf, PartsWithoutAPositiveLengthAreEmpty) {
    // No REV_: the subsystem part has a negative length.
    EXPECT_EQ(pciKeyOf("PCI\\VEN_8086&DEV_7110&SUBSYS_197615AD"), "80867110");
    // No SUBSYS_ either.
    EXPECT_EQ(pciKeyOf("PCI\\VEN_8086&DEV_7110&CC_0601"), "8086");
    EXPECT_EQ(pciKeyOf("ACPI\\PNP0303"), "");
    // The formulas run unchanged on other ids: here only the subsystem part has a length,
    // taken from the start of the id.
    EXPECT_EQ(pciKeyOf("USB\\VID_046D&PID_C00E&REV_1100"), "D_046D&PID_C00E");
    // Clipped at the end of the id.
    EXPECT_EQ(pciKeyOf("VEN_12"), "");
}

TEST(normalizedKey, OnlyTwentyFourCharacterKeys) {
    EXPECT_EQ(normalizedKey("80867110 SUBSYS 197615ad").view(), "80867110197615AD");
    EXPECT_EQ(normalizedKey("8086 7110 xxxx yyy 1976 15AD").view(), "");  // 28
    EXPECT_EQ(normalizedKey("80867110 SUBSYS 197615A").view(), "");       // 23
    EXPECT_EQ(normalizedKey("80867110 SUBSYS  197615AD").view(), "");     // 25
    // Blanks anywhere are removed before the halves are taken.
    EXPECT_EQ(normalizedKey("8 0 8 6 7 1 1 0 197615AD").view(), "80867110197615AD");
    // Fewer than 16 characters left: the halves overlap.
    EXPECT_EQ(normalizedKey("ABC" + std::string(21, ' ')).view(), "ABCABC");
    EXPECT_TRUE(normalizedKey(std::string(24, ' ')).empty());
}

TEST(DatabaseLines, KeysOfLines) {
    EXPECT_EQ(lineKey("VID_046D&PID_C00E=Mouse"), "VID_046D&PID_C00E");
    EXPECT_EQ(lineKey("A=B=C"), "A");
    EXPECT_EQ(lineKey("no key here"), "");
    EXPECT_EQ(lineKey(""), "");
    EXPECT_EQ(lineKey("=name"), "");
}

TEST(DatabaseLines, VendorLines) {
    EXPECT_TRUE(isVendorLine("USB 046D.=Logitech, Inc."));
    EXPECT_FALSE(isVendorLine("VID_046D&PID_C00E=Mouse."));
    VendorParts plain = parseVendorLine("USB 046D.=Logitech, Inc.");
    EXPECT_EQ(plain.name, "Logitech, Inc.");
    EXPECT_EQ(plain.extra, "");
    // The extra text runs from after "#" to the line's last character, which it leaves out.
    VendorParts extra = parseVendorLine("PCI 8086.=Intel#www.intel.com;");
    EXPECT_EQ(extra.name, "Intel");
    EXPECT_EQ(extra.extra, "www.intel.com");
    // A "#" in the key is not the name's end.
    EXPECT_EQ(parseVendorLine("X#1.=Name").name, "Name");
}

TEST(DatabaseLines, DeviceLines) {
    DeviceParts plain = parseDeviceLine("PNP0303=IBM Enhanced (101/102-key)");
    EXPECT_EQ(plain.name, "IBM Enhanced (101/102-key)");
    EXPECT_EQ(plain.extra, "");
    DeviceParts extra = parseDeviceLine("PNP0F13=PS/2 Mouse_0123;");
    EXPECT_EQ(extra.name, "PS/2 Mouse");
    EXPECT_EQ(extra.extra, "_0123");
    // "_0" inside the key (USB and PCI ids are full of it) does not cut the name.
    DeviceParts usb = parseDeviceLine("VID_046D&PID_C00E=Optical Wheel Mouse");
    EXPECT_EQ(usb.name, "Optical Wheel Mouse");
    EXPECT_EQ(usb.extra, "");
    EXPECT_EQ(parseDeviceLine("VID_046D&PID_C00E=Optical_0x").name, "Optical");
}

}  // namespace
}  // namespace tamux
