// The two registries that the registry suites compare: the prefix's real one, into which the
// lane script imported the fixtures and the lane's data, and a simulated one that loads the same
// files in the test program. Each side can also make a key unreadable or read-only, the two
// access failures the program meets.
#pragma once

#include <string>
#include <string_view>

#include "platform/sim/sim_registry.h"
#include "platform/win32/win32_registry.h"

namespace tamux::wine_test {

// The key the lane's conformance.reg fills, under HKEY_CURRENT_USER.
inline constexpr std::string_view kConformanceKey = "Software\\Tamux Conformance";
// A scratch key under HKEY_CURRENT_USER for the access tests; removed by the sides.
inline constexpr std::string_view kAccessKey = "Software\\Tamux Conformance Access";

// The code page that the simulated side must deliver strings in to match the real one.
unsigned hostCodePage();

class Win32RegistrySide {
  public:
    static constexpr const char* kName = "Win32";
    Win32RegistrySide() = default;
    ~Win32RegistrySide();
    Win32RegistrySide(const Win32RegistrySide&) = delete;
    Win32RegistrySide& operator=(const Win32RegistrySide&) = delete;

    // Whether the data the suites expect is in this registry.
    static bool hasData();
    platform::Registry& registry() { return registry_; }

    // Creates the key `name` under kAccessKey and takes every access away from it.
    void denyEveryAccess(std::string_view name);
    // Creates the key `name` under kAccessKey and leaves only reading allowed.
    void allowOnlyReading(std::string_view name);

  private:
    void restrict(std::string_view name, bool allowReading);

    win32::Win32Registry registry_;
    bool madeAccessKeys_ = false;
};

class SimRegistrySide {
  public:
    static constexpr const char* kName = "Sim";
    // Loads tests/wine/data/conformance.reg and dyn-data-9x.reg.
    SimRegistrySide();

    static bool hasData() { return true; }
    platform::Registry& registry() { return registry_; }

    void denyEveryAccess(std::string_view name);
    void allowOnlyReading(std::string_view name);

  private:
    sim::SimRegistry registry_;
};

}  // namespace tamux::wine_test
