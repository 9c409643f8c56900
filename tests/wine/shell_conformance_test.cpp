// The Shell service: error texts and a failing ShellExecute, on the prefix and the simulated
// machine.
#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

template <typename Side>
class ShellConformance : public ::testing::Test {
  protected:
    platform::Shell& shell() { return side_.shell(); }
    Side side_;
};

using ShellSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(ShellConformance, ShellSides, SideName);

TYPED_TEST(ShellConformance, SystemTextsEndInALineBreak) {
    for (std::uint32_t code : {2u, 3u, 5u}) {
        const std::string text = this->shell().systemMessage(code);
        ASSERT_GT(text.size(), 2u) << "no text for " << code;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << code << ": '" << text << "'";
        EXPECT_LT(text.size(), 256u);
    }
}

TYPED_TEST(ShellConformance, AnUnknownCodeHasNoText) {
    EXPECT_EQ(this->shell().systemMessage(0x2000FFFFu), "");
}

TYPED_TEST(ShellConformance, LaunchingAMissingFileFailsWithFileNotFound) {
    this->side_.expectMissingFileLaunch();
    const std::string file = this->side_.path("No Such Program.exe");
    std::intptr_t result =
        this->shell().shellExecute("open", file, "", "", platform::kSwShowNormal);
    EXPECT_LE(result, 32) << "expected a failure, got " << result;
    EXPECT_EQ(result, 2) << "expected SE_ERR_FNF, got " << result;
    EXPECT_EQ(this->shell().lastError(), 2u)
        << "expected ERROR_FILE_NOT_FOUND, got " << this->shell().lastError();
}

}  // namespace
}  // namespace tamux::wine_test
