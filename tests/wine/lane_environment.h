// Where the conformance program finds its data under Wine, and what the lane script prepared in
// the prefix before starting it.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace tamux::wine_test {

// The shared registry fixtures: the folder named by TAMUX_FIXTURES_DIR (the lane script sets it
// to the Z:\ form of the Linux path), else the folder compiled in. Empty when absent.
std::filesystem::path fixturesDir();

// The lane's own data files (tests/wine/data): TAMUX_WINE_DATA_DIR, else the source tree's.
std::filesystem::path dataDir();

// True when the lane script imported the fixtures and the lane's data into this prefix
// (TAMUX_WINE_LANE_PREPARED=1): the real registry can then be compared with the simulated one.
bool prefixPrepared();

// The value of an environment variable, "" when unset.
std::string environment(const char* name);

}  // namespace tamux::wine_test

// Skips the test when the prefix has not been prepared by the lane script.
#define TAMUX_REQUIRE_PREPARED_PREFIX()                                                        \
    do {                                                                                       \
        if (!::tamux::wine_test::prefixPrepared())                                             \
            GTEST_SKIP() << "the registry data is imported by run-wine-lane.sh; run the lane"; \
        if (::tamux::wine_test::fixturesDir().empty())                                         \
            GTEST_SKIP() << "the shared fixtures folder is absent";                            \
    } while (0)
