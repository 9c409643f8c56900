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

WinVersion ClassifyVersion(const platform::OsVersionInfo& info) {
    if (info.platformId == platform::platform_id::kWin32s) return wvWin32s;
    if (info.platformId == platform::platform_id::kNt) {
        switch (info.majorVersion) {
            case 3:
                return wvWinNT3;
            case 4:
                return wvWinNT4;
            case 5:
                return info.minorVersion == 1 ? wvWinXP : wvWin2000;
            default:
                return wvOther;
        }
    }
    if (info.majorVersion != 4) return wvOther;
    switch (info.minorVersion) {
        case 0:
            return serviceMark(info) == "B" ? wvWin95OSR2 : wvWin95;
        case 10:
            return serviceMark(info) == "A" ? wvWin98SE : wvWin98;
        case 90:
            return wvWinMe;
        default:
            return wvOther;
    }
}

WinVersion GetWinVersion(platform::System& system) {
    platform::OsVersionInfo info;  // zeroed, size 148; a failed query leaves it so
    system.getVersionEx(info);
    return ClassifyVersion(info);
}

bool IsWin9x(platform::System& system) {
    switch (GetWinVersion(system)) {
        case wvWin95:
        case wvWin95OSR2:
        case wvWin98:
        case wvWin98SE:
        case wvWinMe:
            return true;
        default:
            return false;
    }
}

bool IsWin95(platform::System& system) {
    auto code = GetWinVersion(system);
    return code == wvWin95 || code == wvWin95OSR2;
}

bool IsWinNT(platform::System& system) {
    switch (GetWinVersion(system)) {
        case wvWinNT3:
        case wvWinNT4:
        case wvWin2000:
        case wvWinXP:
            return true;
        default:
            return false;
    }
}

bool IsWin2000(platform::System& system) {
    return GetWinVersion(system) == wvWin2000;
}

bool IsWinXP(platform::System& system) {
    return GetWinVersion(system) == wvWinXP;
}

}  // namespace tamux
