#include "platform/win32/win32_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/optional_function.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

int screenCaps(int index) {
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    int value = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return value;
}

}  // namespace

bool Win32System::getVersionEx(platform::OsVersionInfo& info) {
    // Only the 148-byte ANSI record fits in OsVersionInfo; any other size is refused as the
    // system refuses a size it does not know.
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    if (info.size != sizeof(OSVERSIONINFOA)) return false;
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = sizeof(record);
    if (!GetVersionExA(&record)) return false;
    info.majorVersion = record.dwMajorVersion;
    info.minorVersion = record.dwMinorVersion;
    info.buildNumber = record.dwBuildNumber;
    info.platformId = record.dwPlatformId;
    static_assert(sizeof(record.szCSDVersion) == std::tuple_size_v<decltype(info.csdVersion)>);
    std::memcpy(info.csdVersion.data(), record.szCSDVersion, info.csdVersion.size());
    return true;
}

std::uint32_t Win32System::getVersion() {
    return GetVersion();
}

std::uint16_t Win32System::systemDefaultLangId() {
    return GetSystemDefaultLangID();
}

int Win32System::keyboardType(int which) {
    return GetKeyboardType(which);
}

std::string Win32System::executablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        // A full buffer may hold a cut path (9x and XP do not say so otherwise).
        if (length < buffer.size() - 1) return std::string(buffer.data(), length);
        if (buffer.size() >= 32768) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32System::currentDirectory() {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::vector<char> buffer(needed + 1);
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return {};
    std::string directory(buffer.data(), length);
    // A drive's root keeps its separator: "C:" alone would mean the drive's current folder.
    const bool driveRoot = directory.size() == 3 && directory[1] == ':';
    if (!driveRoot && directory.size() > 1 &&
        (directory.back() == '\\' || directory.back() == '/')) {
        directory.pop_back();
    }
    return directory;
}

int Win32System::screenDpiX() {
    return screenCaps(LOGPIXELSX);
}

int Win32System::screenDpiY() {
    return screenCaps(LOGPIXELSY);
}

unsigned Win32System::ansiCodePage() {
    return GetACP();
}

bool Win32System::hasFunction(platform::OptionalFunction function) {
    return findOptionalFunction(function) != nullptr;
}

}  // namespace tamux::win32
