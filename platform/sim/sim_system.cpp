#include "platform/sim/sim_system.h"

#include <algorithm>

#include "platform/optional_functions.h"
#include "platform/sim/path_map.h"

namespace tamux::sim {

platform::OsVersionInfo SystemSettings::defaultVersion() {
    return makeVersion(platform::platform_id::kNt, 5, 1, 2600, "Service Pack 2");
}

platform::OsVersionInfo makeVersion(std::uint32_t platformId, std::uint32_t major,
                                    std::uint32_t minor, std::uint32_t build,
                                    std::string_view csd) {
    platform::OsVersionInfo info;
    info.platformId = platformId;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    const std::size_t n = std::min(csd.size(), info.csdVersion.size() - 1);
    std::copy_n(csd.begin(), n, info.csdVersion.begin());
    return info;
}

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return path;
    // "C:\tamux.exe" lies in the root, which keeps its separator.
    if (slash == 2 && path.size() > 1 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

}  // namespace

SimSystem::SimSystem(SystemSettings settings) : settings_(std::move(settings)) {
    if (settings_.currentDirectory.empty()) {
        settings_.currentDirectory = folderOf(settings_.executable);
    }
    const std::string full = PathMap::fullPath(settings_.currentDirectory, "C:\\");
    if (!full.empty()) settings_.currentDirectory = full;
}

bool SimSystem::getVersionEx(platform::OsVersionInfo& info) {
    // The ANSI record is 148 bytes; any other size is refused as by the real function.
    if (settings_.versionFails || info.size != 148) return false;
    info = settings_.version;
    info.size = 148;
    return true;
}

std::uint32_t SimSystem::getVersion() {
    const auto& v = settings_.version;
    std::uint32_t value = (v.majorVersion & 0xFF) | ((v.minorVersion & 0xFF) << 8);
    if (v.platformId == platform::platform_id::kNt) {
        value |= (v.buildNumber & 0x7FFF) << 16;
    } else {
        value |= 0x80000000u;  // the 9x family and Win32s
    }
    return value;
}

std::uint16_t SimSystem::systemDefaultLangId() {
    return settings_.systemLanguage;
}

int SimSystem::keyboardType(int which) {
    if (which < 0 || which > 2) return 0;
    return settings_.keyboardType[static_cast<std::size_t>(which)];
}

std::string SimSystem::executablePath() {
    return settings_.executable;
}

std::string SimSystem::currentDirectory() {
    // GetCurrentDirectoryA gives "C:\" for a root and no trailing separator otherwise.
    return settings_.currentDirectory;
}

void SimSystem::setCurrentDirectory(std::string_view path) {
    const std::string full = PathMap::fullPath(path, settings_.currentDirectory);
    if (!full.empty()) settings_.currentDirectory = full;
}

int SimSystem::screenDpiX() {
    return settings_.screenDpi;
}

int SimSystem::screenDpiY() {
    return settings_.screenDpi;
}

unsigned SimSystem::ansiCodePage() {
    return settings_.ansiCodePage;
}

bool SimSystem::hasFunction(platform::OptionalFunction function) {
    return !settings_.forceFallbacks &&
           platform::presentOnFreshInstall(function, settings_.version);
}

}  // namespace tamux::sim
