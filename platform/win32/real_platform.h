// The real machine: one Win32 implementation of every platform service, handed out together.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_parallel.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resource_modules.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"

namespace tamux::win32 {

class RealPlatform {
  public:
    RealPlatform() = default;
    RealPlatform(const RealPlatform&) = delete;
    RealPlatform& operator=(const RealPlatform&) = delete;

    platform::Platform platform() {
        return platform::Platform{registry_, system_,   files_,   profile_, modules_, shell_,
                                  dialogs_,  keyboard_, spooler_, clock_,   parallel_};
    }

    // The dialogs, for the program to give them their owner window.
    Win32Dialogs& dialogs() { return dialogs_; }

  private:
    Win32Registry registry_;
    Win32System system_;
    Win32Files files_;
    Win32Profile profile_;
    Win32ResourceModules modules_;
    Win32Shell shell_;
    Win32Dialogs dialogs_;
    Win32Keyboard keyboard_;
    Win32Spooler spooler_;
    Win32Clock clock_;
    Win32Parallel parallel_;
};

}  // namespace tamux::win32
