// The functions older systems lack, asked of the real system and of a simulated machine of the
// same version. The lane runs this twice: as it is (Wine, pretending to be XP, exports them all)
// and with TAMUX_FORCE_FALLBACKS set, where the program must find none of them and so take its
// own way everywhere.
#include <cstdlib>
#include <utility>

#include <gtest/gtest.h>

#include "platform/optional_functions.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/optional_function.h"
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

// The functions the program no longer imports, so that its start-up maps neither SHELL32 nor
// COMDLG32: found whatever TAMUX_FORCE_FALLBACKS says, and a missing library or function is
// null, not a crash.
TEST(OptionalFunctionsConformance, LateLibrariesAreLoadedWhenAskedFor) {
    for (const auto& [dll, function] :
         {std::pair{"SHELL32.DLL", "ShellExecuteA"}, std::pair{"COMDLG32.DLL", "GetSaveFileNameA"},
          std::pair{"COMDLG32.DLL", "PrintDlgA"}}) {
        EXPECT_NE(win32::libraryFunction(dll, function), nullptr) << dll << " " << function;
    }
    EXPECT_EQ(win32::libraryFunction("TAMUXNONE.DLL", "ShellExecuteA"), nullptr);
    EXPECT_EQ(win32::libraryFunction("SHELL32.DLL", "TamuxNoSuchFunction"), nullptr);
}

}  // namespace
}  // namespace tamux::wine_test
