// Run by the lane once per Windows version that Wine can pretend to be (TAMUX_WINE_VERSION names
// it; the lane sets the program's AppDefaults version to it): prints the record GetVersionExA
// gives, checks the version code Wine's record classifies as, and checks that a simulated machine
// given the same record answers every family test as the real API side does.
#include <cstdio>
#include <map>

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "platform/win32/win32_system.h"
#include "registry/win_version.h"
#include "tests/wine/lane_environment.h"

namespace tamux::wine_test {
namespace {

struct Expected {
    std::uint32_t platformId;
    WinVersion code;
};

// What Wine 8 reports for each: 95 without the OSR2 mark, 98 with the Second Edition's " A ".
const std::map<std::string, Expected> kExpected = {
    {"win95", {platform::platform_id::kWindows, WinVersion::Win95}},
    {"win98", {platform::platform_id::kWindows, WinVersion::Win98Se}},
    {"winme", {platform::platform_id::kWindows, WinVersion::WinMe}},
    {"nt40", {platform::platform_id::kNt, WinVersion::WinNt4}},
    {"win2k", {platform::platform_id::kNt, WinVersion::Win2000}},
    {"winxp", {platform::platform_id::kNt, WinVersion::WinXp}},
    // NT 6 is no version the program knows: no family, no walks.
    {"vista", {platform::platform_id::kNt, WinVersion::Other}},
    {"win7", {platform::platform_id::kNt, WinVersion::Other}},
};

TEST(WineVersion, TheCodeIsTheClassificationOfWhatWineReports) {
    const std::string version = environment("TAMUX_WINE_VERSION");
    if (version.empty()) GTEST_SKIP() << "run-wine-lane.sh runs this once per Windows version";
    auto expected = kExpected.find(version);
    ASSERT_NE(expected, kExpected.end()) << "no expectation for " << version;

    win32::Win32System system;
    platform::OsVersionInfo info;
    ASSERT_TRUE(system.getVersionEx(info));
    const WinVersion code = getWinVersion(system);
    std::printf("[ version ] %s: platform %u, %u.%u.%u, CSD \"%s\" -> code %d\n", version.c_str(),
                info.platformId, info.majorVersion, info.minorVersion, info.buildNumber & 0xFFFF,
                info.csdVersion.data(), code);

    EXPECT_EQ(info.platformId, expected->second.platformId);
    EXPECT_EQ(code, expected->second.code) << version << " gave code " << int{code};

    // The same record on the simulated machine: every test answers alike.
    sim::SimSystem simulated;
    simulated.setVersion(info);
    EXPECT_EQ(getWinVersion(simulated), code);
    EXPECT_EQ(isWin9x(simulated), isWin9x(system));
    EXPECT_EQ(isWin95(simulated), isWin95(system));
    EXPECT_EQ(isWinNT(simulated), isWinNT(system));
    EXPECT_EQ(isWin2000(simulated), isWin2000(system));
    EXPECT_EQ(isWinXP(simulated), isWinXP(system));

    EXPECT_EQ(isWin9x(system), info.platformId == platform::platform_id::kWindows);
    EXPECT_EQ(isWin95(system), version == "win95");
    EXPECT_EQ(isWinNT(system), version == "nt40" || version == "win2k" || version == "winxp");
    EXPECT_EQ(isWin2000(system), version == "win2k");
    EXPECT_EQ(isWinXP(system), version == "winxp");
}

}  // namespace
}  // namespace tamux::wine_test
