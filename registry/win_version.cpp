#include "registry/win_version.h"

#include <string_view>

namespace tamux {

namespace {

// The CSD text with blanks and control characters trimmed from both ends.
std::string_view serviceMark(const platform::OsVersionInfo& info) {
    std::string_view csd(info.csdVersion.data(), info.csdVersion.size());
    csd = csd.substr(0, csd.find('\0'));
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!csd.empty() && isBlank(csd.front())) csd.remove_prefix(1);
    while (!csd.empty() && isBlank(csd.back())) csd.remove_suffix(1);
    return csd;
}

}  // namespace

WinVersion classifyVersion(const platform::OsVersionInfo& info) {
    if (info.platformId == platform::platform_id::kWin32s) return WinVersion::Win32s;
    if (info.platformId == platform::platform_id::kNt) {
        switch (info.majorVersion) {
            case 3:
                return WinVersion::WinNt3;
            case 4:
                return WinVersion::WinNt4;
            case 5:
                return info.minorVersion == 1 ? WinVersion::WinXp : WinVersion::Win2000;
            default:
                return WinVersion::Other;
        }
    }
    if (info.majorVersion != 4) return WinVersion::Other;
    switch (info.minorVersion) {
        case 0:
            return serviceMark(info) == "B" ? WinVersion::Win95Osr2 : WinVersion::Win95;
        case 10:
            return serviceMark(info) == "A" ? WinVersion::Win98Se : WinVersion::Win98;
        case 90:
            return WinVersion::WinMe;
        default:
            return WinVersion::Other;
    }
}

WinVersion getWinVersion(platform::System& system) {
    platform::OsVersionInfo info;  // zeroed, size 148; a failed query leaves it so
    system.getVersionEx(info);
    return classifyVersion(info);
}

bool isWin9x(platform::System& system) {
    switch (getWinVersion(system)) {
        case WinVersion::Win95:
        case WinVersion::Win95Osr2:
        case WinVersion::Win98:
        case WinVersion::Win98Se:
        case WinVersion::WinMe:
            return true;
        default:
            return false;
    }
}

bool isWin95(platform::System& system) {
    auto code = getWinVersion(system);
    return code == WinVersion::Win95 || code == WinVersion::Win95Osr2;
}

bool isWinNT(platform::System& system) {
    switch (getWinVersion(system)) {
        case WinVersion::WinNt3:
        case WinVersion::WinNt4:
        case WinVersion::Win2000:
        case WinVersion::WinXp:
            return true;
        default:
            return false;
    }
}

bool isWin2000(platform::System& system) {
    return getWinVersion(system) == WinVersion::Win2000;
}

bool isWinXP(platform::System& system) {
    return getWinVersion(system) == WinVersion::WinXp;
}

}  // namespace tamux
