#include "registry/device_database.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/crypt_lib.h"
#include "tools/dbgen/database_writer.h"

namespace tamux {
namespace {

using platform::RootKey;

// Files held in memory, by exact path; every path asked for is recorded.
class MemoryFiles : public platform::Files {
  public:
    bool fileExists(std::string_view path) override {
        asked.emplace_back(path);
        return files.count(std::string(path)) > 0;
    }
    std::optional<std::string> readFile(std::string_view path) override {
        asked.emplace_back(path);
        auto it = files.find(std::string(path));
        if (it == files.end() || unreadable) return std::nullopt;
        return it->second;
    }
    void writeFile(std::string_view, std::string_view) override {}
    std::optional<std::uint64_t> lastWriteTime(std::string_view) override { return {}; }

    std::map<std::string, std::string> files;
    std::vector<std::string> asked;
    bool unreadable = false;
};

const std::string kDir = "..\\SHARED\\DATABASES\\";

DeviceEntry record(const std::string& className, const std::string& hardwareId) {
    DeviceEntry d;
    d.className = className;
    d.hardwareID = hardwareId;
    return d;
}

class LookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system.setVersion(sim::makeVersion(2, 5, 1, 2600, ""));
        const std::string root = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
        registry.setString(RootKey::LocalMachine, root + "{A}", "Class", "Mouse");
        registry.setString(RootKey::LocalMachine, root + "{A}", "", "Mice and pointers");
        registry.setString(RootKey::LocalMachine, root + "{B}", "Class", "keyboard");
        registry.setString(RootKey::LocalMachine, root + "{B}", "", "Keyboards");
    }
    void database(const std::string& name, const std::vector<std::string>& lines,
                  const std::string& dir = kDir) {
        files.files[dir + name] = dbgen::encipherDatabase(lines);
    }
    void lookup(const std::string& className, const std::string& dir = "") {
        lookupDeviceDatabase(registry, system, files, table, className, dir);
    }

    sim::SimRegistry registry;
    sim::SimSystem system;
    MemoryFiles files;
    DeviceTable table;
};

TEST_F(LookupTest, ClassFileComesBeforeOtherTxt) {
    database("Keyboard.txt", {"USB 413C.=Dell", "VID_413C&PID_2105=Model L100 Keyboard"});
    database("other.txt", {"USB 413C.=Other vendor", "VID_413C&PID_2105=Other name",
                           "VID_413C&PID_3012=Optical Wheel Mouse"});
    table = {record("Keyboard", "HID\\VID_413C&PID_2105&REV_0352"),
             record("keyboard", "HID\\VID_413C&PID_3012"),
             record("Mouse", "HID\\VID_413C&PID_2105")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].vendorName, "Dell");
    EXPECT_EQ(table[0].DeviceName, "Model L100 Keyboard");
    EXPECT_EQ(table[0].displayName, "Dell Model L100 Keyboard");
    EXPECT_EQ(table[1].displayName, "Other vendor Optical Wheel Mouse");  // class in any case
    EXPECT_EQ(table[2], record("Mouse", "HID\\VID_413C&PID_2105"));       // another class
    EXPECT_EQ(files.asked.front(), kDir + "Keyboard.txt");
}

TEST_F(LookupTest, OtherTxtAloneAndTheDirectoryRules) {
    database("other.txt", {"EISA PNP.=Microsoft", "PNP0F13=PS/2 Port for PS/2-style Mice"});
    table = {record("Mouse", "ACPI\\PNP0F13*PNP0F13")};
    lookup("Mouse", " ");
    EXPECT_EQ(table[0].displayName, "Microsoft PS/2 Port for PS/2-style Mice");

    database("other.txt", {"PNP0F13=Elsewhere"}, "C:\\db\\");
    table = {record("Mouse", "ACPI\\PNP0F13")};
    lookup("Mouse", "C:\\db\\");
    EXPECT_EQ(table[0].DeviceName, "Elsewhere");
}

TEST_F(LookupTest, NothingHappensOnNt4OrWithoutFiles) {
    database("other.txt", {"PNP0F13=Mouse"});
    table = {record("Mouse", "ACPI\\PNP0F13")};
    system.setVersion(sim::makeVersion(2, 4, 0, 1381, "Service Pack 6"));
    lookup("Mouse");
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(table[0].displayName, "");

    system.setVersion(sim::makeVersion(2, 5, 1, 2600, ""));
    files.files.clear();
    lookup("Mouse");
    EXPECT_EQ(table[0], record("Mouse", "ACPI\\PNP0F13"));
}

TEST_F(LookupTest, UnknownRecordIsReclassifiedAndLeftAloneByTheMouseLookup) {
    database("Keyboard.txt", {"USB 046D.=Logitech", "VID_046D&PID_C31C=Keyboard K120"});
    database("Mouse.txt", {"USB 046D.=Logitech", "VID_046D&PID_C31C=Wrongly a mouse"});
    table = {record("Unknown", "USB\\VID_046D&PID_C31C&REV_6400"),
             record("UNKNOWN", "USB\\VID_9999&PID_0001")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].className, "Keyboard");
    EXPECT_EQ(table[0].classDesc, "Keyboards");
    lookup("Mouse");
    EXPECT_EQ(table[0].DeviceName, "Keyboard K120");
    EXPECT_EQ(table[1].className, "UNKNOWN");  // matched nothing: stays unknown
    EXPECT_EQ(table[1].displayName, "");
}

TEST_F(LookupTest, VendorLinesAndNameSuffixes) {
    database("other.txt", {"PNP0300=No vendor above", "EISA PNP.=Microsoft#www;",
                           "PNP0303=Enhanced_0 extra;", "PNP0F03=Plain"});
    table = {record("Keyboard", "ACPI\\PNP0300"), record("Keyboard", "ACPI\\PNP0303"),
             record("Keyboard", "")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].displayName, " No vendor above");
    EXPECT_EQ(table[0].vendorName, "");
    EXPECT_EQ(table[1].vendorName, "Microsoft");
    EXPECT_EQ(table[1].vendorExtra, "www");
    EXPECT_EQ(table[1].DeviceName, "Enhanced");
    EXPECT_EQ(table[1].deviceExtra, "_0 extra");
    EXPECT_EQ(table[1].displayName, "Microsoft Enhanced");
    EXPECT_EQ(table[2], record("Keyboard", ""));  // no hardware id: untouched
}

TEST_F(LookupTest, TwentyFourCharacterKeysAndTheirVendor) {
    database("other.txt", {"PCI 10B7.=3Com", "VEN_10B7&DEV_9200=3C905C", "PCI 8086.=Intel",
                           "80861229 SUBSYS 00098086=PRO/100+", "VEN_8086&DEV_1229=82557"});
    table = {record("Unknown", "PCI\\VEN_10B7&DEV_9200&SUBSYS_100010B7&REV_78"),
             record("Unknown", "PCI\\VEN_8086&DEV_1229&SUBSYS_00098086&REV_08"),
             record("Unknown", "PCI\\VEN_8086&DEV_1229&SUBSYS_12345678&REV_08")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].displayName, "3Com 3C905C");
    // Matched through the PCI key alone: the vendor is still the nearest vendor line above,
    // not the one of the match before.
    EXPECT_EQ(table[1].displayName, "Intel PRO/100+");
    EXPECT_EQ(table[2].displayName, "Intel 82557");
}

TEST_F(LookupTest, KeysOf23Or25CharactersNeverMatchThroughThePciKey) {
    // Both would give the first device's PCI key if their length were not looked at.
    database("other.txt", {"80861229SUBSYS 00098086=23", "80861229 SUBSYS  00098086=25"});
    table = {record("Mouse", "PCI\\VEN_8086&DEV_1229&SUBSYS_00098086&REV_08"),
             record("Mouse", "PCI\\VEN_8086&DEV_1229&SUBSYS_00980866&REV_08")};
    lookup("Mouse");
    EXPECT_EQ(table[0].displayName, "");
    EXPECT_EQ(table[1].displayName, "");
}

TEST_F(LookupTest, EveryLineHasItsOwnKey) {
    // A line without "=" must not match through the key of the line before it, and an id that
    // no key names is left alone even though lines without keys follow.
    database("other.txt", {"PNP0303=Keyboard", "just text", "PNP0F13=Mouse", "the end"});
    table = {record("Keyboard", "ACPI\\PNP0303"), record("Keyboard", "ROOT\\NOTHING"),
             record("Keyboard", "ACPI\\PNP0F13")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].DeviceName, "Keyboard");
    EXPECT_EQ(table[1].displayName, "");
    EXPECT_EQ(table[2].DeviceName, "Mouse");
}

TEST_F(LookupTest, BadLineFailsBeforeAnyRecordIsCompleted) {
    database("other.txt", {"PNP0F13=Mouse"});
    table = {record("Mouse", "ACPI\\PNP0F13"), record("Mouse", "ACPI\\PNP0F13")};
    lookup("Mouse");
    table[1] = record("Mouse", "ACPI\\PNP0F13");
    files.files[kDir + "other.txt"] += "00ZZ\r\n";
    EXPECT_THROW(lookup("Mouse"), CryptError);
    EXPECT_EQ(table[0].DeviceName, "Mouse");  // from the earlier call
    EXPECT_EQ(table[1].DeviceName, "");

    files.unreadable = true;
    EXPECT_THROW(lookup("Mouse"), Error);
}

std::string hexLine(const std::string& text) {
    std::string line = dbgen::encipherDatabase({text});
    return line.substr(0, line.size() - 2);
}

TEST_F(LookupTest, FilesWithAnyLineEnds) {
    // The class file ends without a line end; other.txt starts with an empty line and uses LF,
    // then CR alone.
    files.files[kDir + "Keyboard.txt"] =
        hexLine("EISA PNP.=Microsoft") + "\r\n" + hexLine("PNP0303=Keyboard");
    files.files[kDir + "other.txt"] = "\n" + hexLine("PNP0F13=Mouse") + "\n" +
                                      hexLine("USB 046D.=Logitech") + "\r" +
                                      hexLine("VID_046D&PID_C00E=Wheel Mouse") + "\r";
    table = {record("Keyboard", "ACPI\\PNP0303"), record("Keyboard", "ACPI\\PNP0F13"),
             record("Keyboard", "HID\\VID_046D&PID_C00E")};
    lookup("Keyboard");
    EXPECT_EQ(table[0].displayName, "Microsoft Keyboard");
    EXPECT_EQ(table[1].displayName, "Microsoft Mouse");  // the class file's vendor line above
    EXPECT_EQ(table[2].displayName, "Logitech Wheel Mouse");
}

TEST_F(LookupTest, SharedLookupsNameAsSeparateOnesAndReadOtherTxtOnce) {
    database("Keyboard.txt", {"USB 046D.=Logitech", "VID_046D&PID_C31C=Keyboard K120"});
    database("Mouse.txt", {"USB 046D.=Logitech", "VID_046D&PID_C00E=Wheel Mouse"});
    // Long enough for the index to leave out keys that occur in none of its ids.
    std::vector<std::string> other;
    for (int i = 0; i < 5000; ++i) other.push_back("FILLER" + std::to_string(i) + "=x");
    for (const char* line : {"PNP0F13=Below the class file's vendor", "VID_1234&PID_5678=Other",
                             "PCI 8086.=Intel", "VEN_8086&DEV_1229=82557", "PNP0303=Keyboard"}) {
        other.push_back(line);
    }
    database("other.txt", other);
    const DeviceTable start = {record("Keyboard", "HID\\VID_046D&PID_C31C"),
                               record("Mouse", "HID\\VID_046D&PID_C00E"),
                               record("Mouse", "HID\\VID_1234&PID_5678"),
                               record("Mouse", "ACPI\\PNP0F13"),
                               record("Unknown", "PCI\\VEN_8086&DEV_1229&SUBSYS_00098086&REV_08"),
                               record("Unknown", "ACPI\\PNP0303")};
    table = start;
    lookup("Keyboard");
    lookup("Mouse");
    const DeviceTable separate = table;
    ASSERT_EQ(separate[2].displayName, "Logitech Other");
    ASSERT_EQ(separate[3].displayName, "Logitech Below the class file's vendor");
    ASSERT_EQ(separate[4].className, "Keyboard");

    // Made for both classes, other.txt is read once (asked whether it exists, then read); made
    // for the first only, the Mouse lookup reads it again for its own records.
    for (const std::vector<std::string>& classes :
         {std::vector<std::string>{"Keyboard", "Mouse"}, std::vector<std::string>{"Keyboard"}}) {
        table = start;
        files.asked.clear();
        DeviceDatabaseLookups lookups(registry, system, files, classes);
        lookups.lookUp(table, "Keyboard");
        lookups.lookUp(table, "Mouse");
        EXPECT_EQ(table, separate) << classes.size();
        EXPECT_EQ(std::count(files.asked.begin(), files.asked.end(), kDir + "other.txt"),
                  classes.size() == 2 ? 2 : 4);
    }
}

TEST_F(LookupTest, SharedLookupsFailEachOnItsOwnFiles) {
    struct Case {
        std::string damaged;
        bool keyboardFails, mouseFails;
    };
    for (const Case& c : {Case{"Keyboard.txt", true, false}, Case{"Mouse.txt", false, true},
                          Case{"other.txt", true, true}}) {
        files.files.clear();
        database("Keyboard.txt", {"PNP0303=Keyboard"});
        database("Mouse.txt", {"PNP0F13=Mouse"});
        database("other.txt", {"PNP0F03=Other"});
        files.files[kDir + c.damaged] += "00ZZ\r\n";
        table = {record("Keyboard", "ACPI\\PNP0303"), record("Mouse", "ACPI\\PNP0F13"),
                 record("Mouse", "ACPI\\PNP0F03")};
        DeviceDatabaseLookups lookups(registry, system, files, {"Keyboard", "Mouse"});
        if (c.keyboardFails) {
            EXPECT_THROW(lookups.lookUp(table, "Keyboard"), CryptError) << c.damaged;
        } else {
            lookups.lookUp(table, "Keyboard");
        }
        if (c.mouseFails) {
            EXPECT_THROW(lookups.lookUp(table, "Mouse"), CryptError) << c.damaged;
        } else {
            lookups.lookUp(table, "Mouse");
        }
        EXPECT_EQ(table[0].DeviceName, c.keyboardFails ? "" : "Keyboard") << c.damaged;
        EXPECT_EQ(table[1].DeviceName, c.mouseFails ? "" : "Mouse") << c.damaged;
        EXPECT_EQ(table[2].DeviceName, c.mouseFails ? "" : "Other") << c.damaged;
    }
}

TEST(decipherDatabase, LinesAndLineEnds) {
    std::vector<std::string> lines = {"", "a=b", std::string(300, 'x')};
    std::string text = dbgen::encipherDatabase(lines);
    std::vector<std::string> read;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        read.push_back(text.substr(start, end - start));
    }
    decipherDatabase(read);
    EXPECT_EQ(read, lines);
}

TEST(getClassDescription, NtAnd9xClassRoots) {
    sim::SimRegistry registry;
    sim::SimSystem system;
    registry.setString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\{1}",
                       "Class", "MOUSE");
    registry.setString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\{1}", "",
                       "NT mice");
    registry.setString(RootKey::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\Mouse",
                       "Class", "Mouse");
    registry.setString(RootKey::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\Mouse",
                       "", "9x mice");
    EXPECT_EQ(getClassDescription(registry, system, "mouse"), "NT mice");
    EXPECT_EQ(getClassDescription(registry, system, "Printer"), "");
    system.setVersion(sim::makeVersion(1, 4, 10, 2222, "A"));
    EXPECT_EQ(getClassDescription(registry, system, "Mouse"), "9x mice");
    system.setVersion(sim::makeVersion(2, 6, 0, 6000, ""));
    EXPECT_EQ(getClassDescription(registry, system, "Mouse"), "");
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

}  // namespace
}  // namespace tamux
