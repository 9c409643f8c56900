// machine.json: what a simulated Windows answers outside the registry (the schema is described
// in samples/machines/README.md). Every member is optional and has the default of a Windows XP
// SP2 desktop in English; a member that is present but malformed, or a member the schema does not
// know (a misspelt name would otherwise be silently ignored), raises tamux::Error naming the file
// and the member. Texts are UTF-8 in the file and arrive in the machine's ANSI code page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/registry.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"

namespace tamux::sim {

// A full key path "HKEY_LOCAL_MACHINE\SYSTEM\..." split into its root and the path under it.
struct RegistryPath {
    platform::RootKey root;
    std::string path;
};

// Accepts HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_DYN_DATA and the short forms HKCU, HKLM;
// nullopt for any other root.
std::optional<RegistryPath> splitRegistryPath(std::string_view fullPath);

struct RegistryLink {
    RegistryPath link, target;
};

struct RegistrySettings {
    std::vector<std::string> from;                   // folders relative to the machine's folder
    std::optional<std::vector<RegistryLink>> links;  // nullopt: the default links of the platform
    bool limitedAccount = false;
    std::vector<RegistryPath> deniedKeys;
};

struct MachineConfig {
    std::string description;
    SystemSettings system;
    LockKeys lockKeys;
    RegistrySettings registry;
    std::vector<SimPrinter> printers;
    ClockSettings clock;
};

// The links of an NT machine when machine.json names none: CurrentControlSet shows ControlSet001.
std::vector<RegistryLink> defaultRegistryLinks(std::uint32_t platformId);

// `sourceName` names the file in error messages.
MachineConfig parseMachineJson(std::string_view text, const std::string& sourceName);

// Reads the file; a missing file gives the defaults.
MachineConfig readMachineJson(const std::filesystem::path& file);

}  // namespace tamux::sim
