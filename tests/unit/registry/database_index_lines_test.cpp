// The database index handed its lines one at a time, as the lookup does while it deciphers, with
// thousands of keys that may occur in the ids: the same answers as the index made from the whole
// list, and as a scan of the lines from the first.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/database_index.h"

namespace tamux {
namespace {

std::string hex4(int value) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (int shift = 12; shift >= 0; shift -= 4) text.push_back(digits[(value >> shift) & 15]);
    return text;
}

TEST(DatabaseIndexLines, ThousandsOfKeysOneLineAtATime) {
    // 3,000 devices of 30 vendors, each line's key in one of the ids; vendor lines between; and
    // for every tenth device a later line with the same key, which must never win.
    std::vector<std::string> lines;
    std::vector<std::string> ids;
    for (int vendor = 0; vendor < 30; ++vendor) {
        lines.push_back("PCI " + hex4(vendor) + ".=Vendor " + std::to_string(vendor));
        for (int device = 0; device < 100; ++device) {
            const std::string key = "VEN_" + hex4(vendor) + "&DEV_" + hex4(device);
            lines.push_back(key + "=Device " + std::to_string(device));
            ids.push_back("PCI\\" + key + "&SUBSYS_00000000&REV_01PCI\\" + key + "&CC_0200");
        }
    }
    for (int i = 0; i < 3000; i += 10) {
        lines.push_back("VEN_" + hex4(i / 100) + "&DEV_" + hex4(i % 100) + "=Later");
    }
    const std::vector<std::string_view> lineViews(lines.begin(), lines.end());
    const std::vector<std::string_view> idViews(ids.begin(), ids.end());

    DatabaseIndex whole(lineViews, idViews);
    DatabaseIndex byLine(std::make_shared<DatabaseIndex::IdSet>(idViews));
    for (std::string_view line : lineViews) byLine.addLine(line);
    byLine.finish();

    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::size_t expected = i / 100 * 101 + 1 + i % 100;  // after each vendor line
        ASSERT_EQ(whole.firstMatch(ids[i]), expected) << ids[i];
        ASSERT_EQ(byLine.firstMatch(ids[i]), expected) << ids[i];
        ASSERT_EQ(byLine.vendorAbove(expected), i / 100 * 101) << ids[i];
    }
    EXPECT_EQ(byLine.firstMatch("PCI\\VEN_0030&DEV_0000"), std::nullopt);
}

// An id that repeats the beginning of a key: each place is walked as far as its own letters lead,
// whatever an earlier place with the same first letters found.
TEST(DatabaseIndexLines, RepeatedLettersInAnIdAreEachWalkedToTheirEnd) {
    const std::vector<std::string> lines = {"ABCDEF=long", "ABCD=short", "CDEF=tail"};
    const std::vector<std::string> ids = {"ABCDX-ABCDEF", "ABCDEF-ABCD", "ABCD-ABCD", "XABCDE"};
    const std::vector<std::string_view> lineViews(lines.begin(), lines.end());
    const std::vector<std::string_view> idViews(ids.begin(), ids.end());
    const DatabaseIndex index(lineViews, idViews);
    EXPECT_EQ(index.firstMatch(ids[0]), 0u);
    EXPECT_EQ(index.firstMatch(ids[1]), 0u);
    EXPECT_EQ(index.firstMatch(ids[2]), 1u);
    EXPECT_EQ(index.firstMatch(ids[3]), 1u);
}

}  // namespace
}  // namespace tamux
