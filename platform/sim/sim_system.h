// The simulated machine's answers to the version, language, keyboard-type, path and screen
// queries, with setters that tests use to change the machine after it was loaded.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace tamux::sim {

struct SystemSettings {
    platform::OsVersionInfo version = defaultVersion();
    bool versionFails = false;
    bool forceFallbacks = false;  // every optional function is missing
    std::uint16_t systemLanguage = 1033;
    unsigned ansiCodePage = 1252;
    std::array<int, 3> keyboardType{4, 0, 12};
    int screenDpi = 96;
    std::string executable = "C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe";
    std::string currentDirectory;  // empty: the executable's folder

    // Windows XP Service Pack 2.
    static platform::OsVersionInfo defaultVersion();
};

// The record GetVersionExA fills: `csd` is cut to 127 characters.
platform::OsVersionInfo makeVersion(std::uint32_t platformId, std::uint32_t major,
                                    std::uint32_t minor, std::uint32_t build, std::string_view csd);

class SimSystem : public platform::System {
  public:
    explicit SimSystem(SystemSettings settings = {});

    // platform::System
    bool getVersionEx(platform::OsVersionInfo& info) override;
    std::uint32_t getVersion() override;
    std::uint16_t systemDefaultLangId() override;
    int keyboardType(int which) override;
    std::string executablePath() override;
    std::string currentDirectory() override;
    int screenDpiX() override;
    int screenDpiY() override;
    unsigned ansiCodePage() override;
    // As a fresh installation of the machine's Windows answers.
    bool hasFunction(platform::OptionalFunction function) override;

    // Test hooks.
    void setVersion(const platform::OsVersionInfo& version) { settings_.version = version; }
    // GetVersionExA fails (the record is left as the caller set it); GetVersion is unaffected.
    void setVersionFails(bool fails) { settings_.versionFails = fails; }
    void setSystemLanguage(std::uint16_t langId) { settings_.systemLanguage = langId; }
    // The three GetKeyboardType answers; 0 stands for a failed query.
    void setKeyboardType(const std::array<int, 3>& answers) { settings_.keyboardType = answers; }
    // A path relative to the current directory is made absolute first.
    void setCurrentDirectory(std::string_view path);
    // Every optional function is missing, as the program's own switch makes them.
    void setForceFallbacks(bool force) { settings_.forceFallbacks = force; }

    const SystemSettings& settings() const { return settings_; }

  private:
    SystemSettings settings_;
};

}  // namespace tamux::sim
