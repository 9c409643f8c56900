#include "registry/join_reg_strings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tamux {
namespace {

std::string join(std::initializer_list<int> bytes) {
    std::vector<std::uint8_t> data;
    for (int b : bytes) data.push_back(static_cast<std::uint8_t>(b));
    return joinRegStrings(data);
}

TEST(joinRegStrings, MultiStringRunsTogetherWithoutSeparator) {
    EXPECT_EQ(join({'A', 0, 'B', 'C', 0, 0}), "ABC");
    EXPECT_EQ(join({'A', 0, 'B', 0}), "AB");  // no final double zero: the data's end stops it
}

TEST(joinRegStrings, Utf16OfAsciiBecomesTheSameLetters) {
    EXPECT_EQ(join({'U', 0, 'S', 0, 'B', 0, 0, 0, 'X', 0}), "USB");
    // A non-ASCII UTF-16 unit keeps its low byte.
    EXPECT_EQ(join({0xE9, 0, 'a', 0}),
              "\xE9"
              "a");
}

TEST(joinRegStrings, StopsAtTheFirstDoubleZero) {
    EXPECT_EQ(join({0, 0, 'A'}), "");
    EXPECT_EQ(join({0, 'A', 0, 0, 'B'}), "A");
    EXPECT_EQ(join({}), "");
}

}  // namespace
}  // namespace tamux
