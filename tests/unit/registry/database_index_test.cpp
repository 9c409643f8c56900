#include "registry/database_index.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ascii_case.h"

namespace tamux {
namespace {

std::vector<std::string_view> views(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

// The lookup's scan, written the plain way: from the first line, each line with its own key.
std::optional<std::size_t> scan(const std::vector<std::string>& lines, const std::string& id,
                                const std::string& pciKey) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string key(lineKey(lines[i]));
        if (key.empty()) continue;
        if (id.find(toAsciiUpper(key)) != std::string::npos) return i;
        const NormalizedKeyText normalized = normalizedKey(key);
        if (!normalized.empty() && equalsIgnoringCase(normalized.view(), pciKey)) return i;
    }
    return std::nullopt;
}

TEST(DatabaseIndex, FirstMatchingLineWins) {
    const std::vector<std::string> lines = {
        "USB 046D.=Logitech",               // 0: a vendor line's key holds a blank
        "VID_046D&PID_C00E=Mouse",          // 1
        "VID_046D=Any Logitech device",     // 2
        "no key",                           // 3
        "=empty key",                       // 4
        "",                                 // 5
        "vid_1234&pid_5678=lower-case key"  // 6
    };
    const std::vector<std::string> ids = {
        "USB\\VID_046D&PID_C00E&REV_1100", "USB\\VID_046D&PID_C52B",
        "HID\\VID_1234&PID_5678&MI_00",    "ROOT\\UNKNOWN",
        "usb\\vid_046d&pid_c00e",          ""};
    const DatabaseIndex index(views(lines), views(ids));
    EXPECT_EQ(index.firstMatch("USB\\VID_046D&PID_C00E&REV_1100"), 1u);
    EXPECT_EQ(index.firstMatch("USB\\VID_046D&PID_C52B"), 2u);
    EXPECT_EQ(index.firstMatch("HID\\VID_1234&PID_5678&MI_00"), 6u);
    // An empty key matches nothing, and the id is compared as it is (ids are upper-case).
    EXPECT_EQ(index.firstMatch("ROOT\\UNKNOWN"), std::nullopt);
    EXPECT_EQ(index.firstMatch("usb\\vid_046d&pid_c00e"), std::nullopt);
    EXPECT_EQ(index.firstMatch(""), std::nullopt);
}

TEST(DatabaseIndex, TwentyFourCharacterKeysMatchThroughThePciKey) {
    const std::vector<std::string> lines = {
        "PCI 8086.=Intel",
        "80867110 SUBSYS 197615ad=Subsystem name",  // 24: normalized 80867110197615AD
        "80867110 SUBSYS 197615A=23 characters",
        "80867110 SUBSYS  197615AD=25 characters",
        "VEN_8086&DEV_7110=Device name",
    };
    const std::string id = "PCI\\VEN_8086&DEV_7110&SUBSYS_197615AD&REV_08";
    const std::vector<std::string> ids = {id, "PCI\\VEN_8086&DEV_7110&SUBSYS_00000000&REV_08"};
    const DatabaseIndex index(views(lines), views(ids));
    EXPECT_EQ(index.firstMatch(id), 1u);
    // Another subsystem: only the plain key is left.
    EXPECT_EQ(index.firstMatch("PCI\\VEN_8086&DEV_7110&SUBSYS_00000000&REV_08"), 4u);
    EXPECT_EQ(index.vendorAbove(1), 0u);
    EXPECT_EQ(index.text(1), "80867110 SUBSYS 197615AD=Subsystem name");
}

TEST(DatabaseIndex, VendorOfTheFirstLineCounts) {
    const std::vector<std::string> lines = {"PNP .=Microsoft", "PNP0303=Keyboard"};
    const DatabaseIndex index(views(lines), {});
    EXPECT_EQ(index.vendorAbove(1), 0u);
}

TEST(DatabaseIndex, AVendorLineHasItsDotEqualsAtOrAfterItsFirstEquals) {
    struct Row {
        const char* line;
        bool vendor;
    };
    const std::vector<Row> rows = {
        {"PNP .=Maker", true}, {"PNP=X.=Maker", true}, {"PNP=X=Y.=Maker", true},
        {"PNP=Maker.", false}, {"PNP.X=Maker", false},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> lines = {"PCI 8086.=Intel", row.line, "PNP0303=Keyboard"};
        const DatabaseIndex index(views(lines), {});
        EXPECT_EQ(index.vendorAbove(2), row.vendor ? 1u : 0u) << row.line;
    }
}

// Random databases over a small alphabet, so that keys overlap, share prefixes and occur in the
// ids in many ways; the index must agree with the plain scan on every id.
TEST(DatabaseIndex, AgreesWithThePlainScan) {
    std::mt19937 random(20240611);
    const std::string alphabet = "AB_0&= a";
    auto text = [&](std::size_t maxLength) {
        std::string s;
        const std::size_t length = random() % (maxLength + 1);
        for (std::size_t i = 0; i < length; ++i) s.push_back(alphabet[random() % alphabet.size()]);
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines;
        const std::size_t count = random() % 40;
        for (std::size_t i = 0; i < count; ++i) {
            if (random() % 5 == 0) {
                // A 24-character key, blanks and all; often shaped as a subsystem's key is,
                // "VVVVDDDD SUBSYS ddddvvvv", with blanks elsewhere too now and then.
                std::string key = text(24);
                if (random() % 2 == 0) {
                    auto eight = [&] {
                        std::string part = text(8);
                        part.resize(8, 'a');
                        return part;
                    };
                    key = eight() + " SUBSYS " + eight();
                }
                key.resize(24, ' ');
                lines.push_back(key + "=n");
            } else {
                lines.push_back(text(8));
            }
        }
        // Ids over the same alphabet, some of them holding a line's key.
        std::vector<std::string> ids;
        for (int probe = 0; probe < 30; ++probe) {
            std::string id = toAsciiUpper(text(20));
            if (random() % 3 == 0 && !lines.empty()) {
                const std::string key = toAsciiUpper(lineKey(lines[random() % lines.size()]));
                id.insert(random() % (id.size() + 1), key);
            } else if (random() % 2 == 0 && !lines.empty()) {
                // A PCI id whose PCI key is a line's normalized key (of whatever length).
                const std::string n(normalizedKey(lineKey(lines[random() % lines.size()])).view());
                if (n.size() == 16) {
                    id = "PCI\\VEN_" + n.substr(0, 4) + "&DEV_" + n.substr(4, 4) + "&SUBSYS_" +
                         n.substr(8) + "&REV_0" + id;
                }
            }
            ids.push_back(id);
        }
        const DatabaseIndex index(views(lines), views(ids));
        for (const std::string& id : ids) {
            const std::string pci = pciKeyOf(id);
            ASSERT_EQ(index.firstMatch(id), scan(lines, id, pci))
                << "round " << round << ", id \"" << id << "\", PCI key \"" << pci << "\"";
        }
    }
}

}  // namespace
}  // namespace tamux
