// Which Windows the program runs on: one version code, and the families the callers test.
// Nothing is cached; every call asks the system again.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace tamux {

enum WinVersion : std::uint8_t {
    wvOther = 0,
    wvWin32s = 1,
    wvWin95 = 2,
    wvWin95OSR2 = 3,
    wvWin98 = 4,
    wvWin98SE = 5,
    wvWinNT3 = 6,
    wvWinNT4 = 7,
    wvWin2000 = 8,
    wvWinMe = 9,
    wvWinXP = 10,
};

// Classifies a version record; the record of a failed query (all zero) gives wvWin32s.
WinVersion ClassifyVersion(const platform::OsVersionInfo& info);

// Asks the system for its version record and classifies it.
WinVersion GetWinVersion(platform::System& system);

bool IsWin9x(platform::System& system);    // Windows 95, 98 and Me
bool IsWin95(platform::System& system);    // Windows 95
bool IsWinNT(platform::System& system);    // NT 3, NT 4, 2000 (and 5.2), XP
bool IsWin2000(platform::System& system);  // Windows 2000 (and 5.2)
bool IsWinXP(platform::System& system);    // Windows XP

}  // namespace tamux
