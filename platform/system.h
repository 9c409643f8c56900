// System service: version, language, keyboard type, paths, files and screen facts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tamux::platform {

enum class OptionalFunction;  // platform/optional_functions.h

// OSVERSIONINFOA, the 148-byte ANSI version record.
struct OsVersionInfo {
    std::uint32_t size = 148;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
    std::array<char, 128> csdVersion{};
};

namespace platform_id {
constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows = 1;
constexpr std::uint32_t kNt = 2;
}  // namespace platform_id

class System {
  public:
    virtual ~System() = default;

    // GetVersionExA. Returns true and fills `info` (its size field must be 148); returns false
    // and leaves `info` unchanged when the query fails.
    virtual bool getVersionEx(OsVersionInfo& info) = 0;

    // GetVersion: low byte major, next byte minor, bit 31 set on the 9x platform.
    virtual std::uint32_t getVersion() = 0;

    // GetSystemDefaultLangID.
    virtual std::uint16_t systemDefaultLangId() = 0;

    // GetKeyboardType(which): 0 type, 1 subtype, 2 number of function keys; 0 on failure.
    virtual int keyboardType(int which) = 0;

    // The running executable's full path (GetModuleFileNameA of the process).
    virtual std::string executablePath() = 0;

    // The process's current directory, without a trailing separator but for a drive's root
    // (C:\ stays C:\) (GetCurrentDirectoryA).
    virtual std::string currentDirectory() = 0;

    // Screen resolution in dots per inch (GetDeviceCaps LOGPIXELSX / LOGPIXELSY of the screen).
    virtual int screenDpiX() = 0;
    virtual int screenDpiY() = 0;

    // GetACP.
    virtual unsigned ansiCodePage() = 0;

    // Whether the system exports `function` (and the program is not told to do without it).
    virtual bool hasFunction(OptionalFunction function) = 0;
};

}  // namespace tamux::platform
