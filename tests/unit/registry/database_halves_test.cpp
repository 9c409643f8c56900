// other.txt read as two halves side by side: the names and the errors are those of one reading of
// the whole file, wherever the middle falls (between a vendor and its devices, between two lines
// of one key, at a line end) and whatever ends its lines.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_parallel.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/crypt_lib.h"
#include "registry/device_database.h"
#include "tests/unit/registry/one_file.h"
#include "tools/dbgen/database_writer.h"

namespace tamux {
namespace {

using test::OneFile;
using test::withLineEnds;

constexpr int kLines = 27000;  // more than a megabyte of hex, enough to be halved
constexpr int kMiddle = kLines / 2;

// Vendor lines come before every hundredth device, but not near the middle.
bool hasVendorLine(int n) {
    return n % 100 == 0 && (n < kMiddle - 300 || n > kMiddle + 300);
}

std::string deviceKey(int n) {
    return "DEVICE_" + std::to_string(100000 + n);
}

// Vendors every hundred lines, none near the middle: the devices just after it take their vendor
// from the first half. A key found in both halves, and lines of a PCI key in both.
std::vector<std::string> databaseLines() {
    std::vector<std::string> lines;
    for (int n = 0; n < kLines; ++n) {
        if (hasVendorLine(n)) {
            lines.push_back("V" + std::to_string(n) + " .=Vendor " + std::to_string(n));
        }
        if (n == kLines / 4) lines.push_back("TWICE=First");
        if (n == 3 * kLines / 4) lines.push_back("TWICE=Second");
        if (n == kLines / 3)
            lines.push_back(dbgen::pciSubsystemKey("8086", "1234", "ABCD", "0001") + "=Early");
        if (n == 2 * kLines / 3)
            lines.push_back(dbgen::pciSubsystemKey("8086", "1234", "ABCD", "0001") + "=Late");
        lines.push_back(deviceKey(n) + "=Device " + std::to_string(n));
    }
    return lines;
}

// Every device of the lines about the middle, where the halves meet, and a few others.
const std::vector<std::string>& ids() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> result = {
            "ACPI\\TWICE", "PCI\\VEN_8086&DEV_1234&SUBSYS_0001ABCD&REV_01", "NOWHERE\\TO_BE_FOUND",
            "ROOT\\" + deviceKey(0), "ROOT\\" + deviceKey(kLines - 1)};
        for (int n = kMiddle - 400; n <= kMiddle + 400; ++n) {
            result.push_back("ROOT\\" + deviceKey(n));
        }
        return result;
    }();
    return list;
}

// Records of the "Mouse" lookup: all of class "Mouse", or every third one of class "Unknown"
// with the registry's mouse class named as it should be, or with a "Class" value of the wrong
// type, which fails the lookup once an unknown record is named.
enum class Classes { Mouse, SomeUnknown, SomeUnknownBrokenClassKey };

// The display names the lookup gives (with the class and its description where records may
// change class), and the error it raises after them.
std::vector<std::string> lookUp(OneFile& files, bool sideBySide, Classes classes = Classes::Mouse) {
    sim::SimRegistry registry;
    sim::SimSystem system;
    sim::SimParallel parallel;
    const std::string classKey =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}";
    registry.setString(platform::RootKey::LocalMachine, classKey, "", "Mice");
    if (classes == Classes::SomeUnknownBrokenClassKey) {
        registry.setDword(platform::RootKey::LocalMachine, classKey, "Class", 1);
    } else {
        registry.setString(platform::RootKey::LocalMachine, classKey, "Class", "Mouse");
    }
    DeviceTable table;
    for (const std::string& id : ids()) {
        DeviceEntry d;
        const bool unknown = classes != Classes::Mouse && table.size() % 3 == 2;
        d.className = unknown ? "Unknown" : "Mouse";
        d.hardwareID = id;
        table.push_back(d);
    }
    std::string error;
    try {
        DeviceDatabaseLookups lookups(registry, system, files, {"Mouse"}, "",
                                      sideBySide ? &parallel : nullptr);
        lookups.lookUp(table, "Mouse");
    } catch (const Error& e) {
        error = e.what();
    }
    std::vector<std::string> names;
    for (const DeviceEntry& d : table) {
        names.push_back(classes == Classes::Mouse
                            ? d.displayName
                            : d.displayName + "|" + d.className + "|" + d.classDesc);
    }
    if (!error.empty()) {
        if (classes == Classes::Mouse) names.clear();
        names.push_back(error);
    }
    return names;
}

// Halves read in pieces of several sizes give what one reading of the whole file gives.
std::vector<std::string> sameEitherWay(const std::string& text,
                                       std::optional<std::size_t> failAt = {},
                                       Classes classes = Classes::Mouse) {
    OneFile whole(text, 4096, failAt);
    const std::vector<std::string> expected = lookUp(whole, false, classes);
    for (std::size_t pieceBytes : {0, 1000, 65536}) {
        if (pieceBytes == 0 && failAt) continue;  // the default reader fails the file whole
        OneFile halves(text, pieceBytes, failAt);
        EXPECT_EQ(lookUp(halves, true, classes), expected)
            << "pieces of " << pieceBytes << " bytes";
    }
    return expected;
}

TEST(DatabaseHalves, NamesAreThoseOfTheWholeFileWhateverEndsTheLines) {
    const std::string crlf = dbgen::encipherDatabase(databaseLines());
    ASSERT_GT(crlf.size(), std::size_t{1} << 20);
    std::vector<std::string> expected = {"Vendor 6700 First", "Vendor 9000 Early", "",
                                         "Vendor 0 Device 0", "Vendor 26900 Device 26999"};
    for (int n = kMiddle - 400; n <= kMiddle + 400; ++n) {
        int vendor = n / 100 * 100;
        while (!hasVendorLine(vendor)) vendor -= 100;
        expected.push_back("Vendor " + std::to_string(vendor) + " Device " + std::to_string(n));
    }
    EXPECT_EQ(sameEitherWay(crlf), expected);
    EXPECT_EQ(sameEitherWay(withLineEnds(crlf, "\n")), expected);
    // Without a line feed there is no second half to start: the first reads it all.
    EXPECT_EQ(sameEitherWay(withLineEnds(crlf, "\r")), expected);
}

TEST(DatabaseHalves, AMiddleThatIsALineFeedBelongsToTheFirstHalf) {
    // Empty lines before the first move the middle until it is a line end itself.
    const std::string crlf = dbgen::encipherDatabase(databaseLines());
    std::string text;
    for (std::string padding; text.empty() || text[text.size() / 2] != '\n'; padding += "\n") {
        ASSERT_LT(padding.size(), 200u);
        text = padding + crlf;
    }
    EXPECT_EQ(sameEitherWay(text), sameEitherWay(crlf));
}

TEST(DatabaseHalves, ErrorsAreThoseOfTheWholeFile) {
    std::vector<std::string> lines = databaseLines();
    const std::string good = dbgen::encipherDatabase(lines);
    const std::string badLate = good.substr(0, good.size() * 3 / 4) + "\r\n00ZZ\r\n";
    const std::string badEarly = "00ZZ\r\n" + good;
    const std::string notHex = "TCryptLib: decrypting error - not hexlook string";
    const std::string cannotOpen = "Cannot open file ..\\SHARED\\DATABASES\\other.txt";
    EXPECT_EQ(sameEitherWay(badLate), std::vector<std::string>{notHex});
    EXPECT_EQ(sameEitherWay(badEarly), std::vector<std::string>{notHex});
    // A read that fails in either half, also after a line that is not hex.
    EXPECT_EQ(sameEitherWay(good, good.size() / 4), std::vector<std::string>{cannotOpen});
    EXPECT_EQ(sameEitherWay(good, good.size() * 3 / 4), std::vector<std::string>{cannotOpen});
    EXPECT_EQ(sameEitherWay(badEarly, good.size() * 3 / 4), std::vector<std::string>{cannotOpen});
}

TEST(DatabaseHalves, UnknownRecordsTakeTheClassOrFailWhereTheyFailInOrder) {
    const std::string text = dbgen::encipherDatabase(databaseLines());
    const std::vector<std::string> named = sameEitherWay(text, {}, Classes::SomeUnknown);
    EXPECT_EQ(named[5], "Vendor 13100 Device 13100|Mouse|Mice");  // was of class "Unknown"
    EXPECT_EQ(named[2], "|Unknown|");                             // not named: stays as it was
    // The records before the first unknown one that is named are named; the error follows.
    const std::vector<std::string> failed =
        sameEitherWay(text, {}, Classes::SomeUnknownBrokenClassKey);
    ASSERT_EQ(failed.size(), ids().size() + 1);
    EXPECT_EQ(failed[4], "Vendor 26900 Device 26999|Mouse|");
    EXPECT_EQ(failed[5], "Vendor 13100 Device 13100|Unknown|");
    EXPECT_EQ(failed[6], "|Mouse|");
    EXPECT_EQ(failed.back(), "Invalid data type for 'Class'");
}

}  // namespace
}  // namespace tamux
