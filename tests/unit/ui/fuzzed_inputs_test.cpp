// Lines that fuzzing found to break the layout, kept so that they stay mended.
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/ui/fixed_measurer.h"
#include "ui/markup_layout.h"

namespace tamux {
namespace {

std::vector<int> positions(const std::string& line) {
    MarkupContext context;
    context.imageCount = 7;
    context.width = 345;
    test::FixedMeasurer measurer;
    std::vector<int> xs;
    for (const DrawInstruction& item : layoutMarkup(line, context, measurer).items) {
        std::visit([&xs](const auto& draw) { xs.push_back(draw.x); }, item);
    }
    return xs;
}

TEST(FuzzedLines, ATabStopBeyondAnyScreenIsNotRead) {
    // The stop once moved the position to INT_MAX, and the image after it overflowed the int
    // (the asan build reports that).
    EXPECT_EQ(positions("a<IND x=\"2147483647\"><IMG src=\"idx:1\"></IMG>b"),
              (std::vector<int>{0, 8, 24}));
    EXPECT_EQ(positions("<IND x=\"2147483000\">" + std::string(300, 'w')), (std::vector<int>{0}));
    EXPECT_EQ(positions("a<IND x=\"32768\">b"), (std::vector<int>{0}));
    // The farthest stop still read, with room for a long text after it.
    EXPECT_EQ(positions("a<IND x=\"32767\">b"), (std::vector<int>{0, 32767}));
    EXPECT_EQ(positions("<IND x=\"32767\"><IMG src=\"idx:1\"></IMG>" + std::string(1000, 'w')),
              (std::vector<int>{32767, 32783}));
}

}  // namespace
}  // namespace tamux
