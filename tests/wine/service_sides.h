// The two sides of the service suites other than the registry: the Win32 implementations over
// the prefix, and the simulated machine's services, each over its own scratch folder. Each side
// names its files as the program would: a Windows path.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/sim/path_map.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/real_platform.h"
#include "tests/support/test_paths.h"

namespace tamux::wine_test {

class Win32Sides {
  public:
    static constexpr const char* kName = "Win32";
    static constexpr bool kSimulated = false;

    // The Windows path of `name` in the side's scratch folder.
    std::string path(std::string_view name) const;
    // The same place as the test program sees it, to prepare folders.
    std::filesystem::path hostPath(std::string_view name) const { return scratch_.path() / name; }

    platform::Files& files() { return files_; }
    platform::Profile& profile() { return profile_; }
    platform::System& system() { return system_; }
    platform::Shell& shell() { return shell_; }
    platform::Clock& clock() { return clock_; }
    platform::Keyboard& keyboard() { return keyboard_; }
    platform::Spooler& spooler() { return spooler_; }

    // ShellExecute of a file that does not exist: nothing to arrange on the real system.
    void expectMissingFileLaunch() {}

  private:
    test::TempDir scratch_;
    win32::Win32Files files_;
    win32::Win32Profile profile_;
    win32::Win32System system_;
    win32::Win32Shell shell_;
    win32::Win32Clock clock_;
    win32::Win32Keyboard keyboard_;
    win32::Win32Spooler spooler_;
};

class SimSides {
  public:
    static constexpr const char* kName = "Sim";
    static constexpr bool kSimulated = true;

    SimSides();

    // Drive C: of the simulated machine is the side's scratch folder.
    std::string path(std::string_view name) const { return "C:\\" + std::string(name); }
    std::filesystem::path hostPath(std::string_view name) const;

    platform::Files& files() { return files_; }
    platform::Profile& profile() { return profile_; }
    platform::System& system() { return system_; }
    platform::Shell& shell() { return shell_; }
    platform::Clock& clock() { return clock_; }
    platform::Keyboard& keyboard() { return keyboard_; }
    platform::Spooler& spooler() { return spooler_; }

    // The simulated shell does not look at files: it is told what the real one answers.
    void expectMissingFileLaunch() { shell_.queueResult(2); }

  private:
    test::TempDir drive_;
    sim::PathMap map_;
    sim::SimFiles files_;
    sim::SimProfile profile_;
    sim::SimSystem system_;
    sim::SimShell shell_;
    sim::SimClock clock_;
    sim::SimKeyboard keyboard_;
    sim::SimSpooler spooler_;
};

}  // namespace tamux::wine_test
