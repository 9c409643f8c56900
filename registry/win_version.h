// Which Windows the program runs on: one version code, and the families the callers test.
// Nothing is cached; every call asks the system again.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace tamux {

enum WinVersion : std::uint8_t {
    Other = 0,
    Win32s = 1,
    Win95 = 2,
    Win95Osr2 = 3,
    Win98 = 4,
    Win98Se = 5,
    WinNt3 = 6,
    WinNt4 = 7,
    Win2000 = 8,
    WinMe = 9,
    WinXp = 10,
};

// Classifies a version record; the record of a failed query (all zero) gives WinVersion::Win32s.
WinVersion classifyVersion(const platform::OsVersionInfo& info);

// Asks the system for its version record and classifies it.
WinVersion getWinVersion(platform::System& system);

bool isWin9x(platform::System& system);    // Windows 95, 98 and Me
bool isWin95(platform::System& system);    // Windows 95
bool isWinNT(platform::System& system);    // NT 3, NT 4, 2000 (and 5.2), XP
bool isWin2000(platform::System& system);  // Windows 2000 (and 5.2)
bool isWinXP(platform::System& system);    // Windows XP

}  // namespace tamux
