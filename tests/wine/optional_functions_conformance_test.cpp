// The functions older systems lack, asked of the real system and of a simulated machine of the
// same version. The lane runs this twice: as it is (Wine, pretending to be XP, exports them all)
// and with TAMUX_FORCE_FALLBACKS set, where the program must find none of them and so take its
// own way everywhere.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/optional_functions.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win32_system.h"

namespace tamux::wine_test {
namespace {

TEST(OptionalFunctionsConformance, FoundOnBothSidesExactlyWhenNotForcedToDoWithout) {
    const char* variable = std::getenv(platform::kForceFallbacksVariable);
    const bool forced = platform::forcesFallbacks(variable ? variable : "");
    win32::Win32System real;
    platform::OsVersionInfo version;
    ASSERT_TRUE(real.getVersionEx(version));
    sim::SimSystem simulated;
    simulated.setVersion(version);
    simulated.setForceFallbacks(forced);
    for (platform::OptionalFunction function : platform::kOptionalFunctions) {
        const char* name = platform::exportNameOf(function).function;
        EXPECT_EQ(real.hasFunction(function), !forced) << name << " on the real system";
        EXPECT_EQ(simulated.hasFunction(function), real.hasFunction(function))
            << name << ": the simulated " << version.majorVersion << "." << version.minorVersion
            << " answers otherwise";
    }
}

}  // namespace
}  // namespace tamux::wine_test
