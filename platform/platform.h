// The platform a subsystem runs on: one reference per service. A test builds a simulated machine
// and hands its services in; the program hands in the Win32 ones.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/parallel.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/resource_modules.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace tamux::platform {

struct Platform {
    Registry& registry;
    System& system;
    Files& files;
    Profile& profile;
    ResourceModules& modules;
    Shell& shell;
    Dialogs& dialogs;
    Keyboard& keyboard;
    Spooler& spooler;
    Clock& clock;
    Parallel& parallel;
};

}  // namespace tamux::platform
