#include "platform/sim/machine.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/optional_functions.h"
#include "platform/sim/machine_json.h"
#include "platform/sim/path_map.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_parallel.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"

namespace tamux::sim {

namespace fs = std::filesystem;

struct Machine::Services {
    Services(const MachineConfig& config, const fs::path& drive)
        : description(config.description),
          paths(drive, config.system.ansiCodePage),
          registry(config.system.ansiCodePage),
          system(config.system),
          files(
              mapper(),
              [this] { return system.hasFunction(platform::OptionalFunction::FileAttributesEx); }),
          profile(mapper(), config.system.ansiCodePage),
          modules(mapper(), config.system.ansiCodePage, config.system.systemLanguage),
          keyboard(config.lockKeys),
          spooler(config.printers, config.system.ansiCodePage,
                  config.system.version.platformId == platform::platform_id::kNt),
          clock(config.clock) {}

    HostPathMapper mapper() {
        return [this](std::string_view path) { return hostPath(path); };
    }
    fs::path hostPath(std::string_view path) {
        return paths.hostPath(path, system.currentDirectory());
    }

    std::string description;
    PathMap paths;
    SimRegistry registry;
    SimSystem system;
    SimFiles files;
    SimProfile profile;
    SimResourceModules modules;
    SimShell shell;
    SimDialogs dialogs;
    SimKeyboard keyboard;
    SimSpooler spooler;
    SimClock clock;
    SimParallel parallel;
};

namespace {

// The .reg files of a folder, in name order.
std::vector<fs::path> regFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (equalsIgnoringCase(ext, ".reg") && it->is_regular_file(ec)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void applyLinks(SimRegistry& registry, const RegistrySettings& settings, std::uint32_t platformId) {
    const auto links = settings.links.value_or(defaultRegistryLinks(platformId));
    for (const RegistryLink& link : links) {
        registry.linkKey(link.link.root, link.link.path, link.target.path);
    }
}

void applyDenials(SimRegistry& registry, const RegistrySettings& settings) {
    if (settings.limitedAccount) registry.denyAllAccess(platform::RootKey::LocalMachine);
    for (const RegistryPath& denied : settings.deniedKeys) {
        registry.denyOpen(denied.root, denied.path);
    }
}

}  // namespace

Machine::Machine() = default;
Machine::~Machine() = default;

std::unique_ptr<Machine> Machine::load(const fs::path& machineDir, const fs::path& drive) {
    std::error_code ec;
    if (!fs::is_directory(machineDir, ec)) {
        throw Error(machineDir.string() + ": no such machine folder");
    }
    const MachineConfig config = readMachineJson(machineDir / "machine.json");

    std::unique_ptr<Machine> machine(new Machine());
    machine->services_ = std::make_unique<Services>(config, drive);
    SimRegistry& registry = machine->services_->registry;

    std::vector<fs::path> folders;
    for (const std::string& from : config.registry.from) {
        const fs::path folder = machineDir / fs::path(std::u8string(from.begin(), from.end()));
        if (!fs::is_directory(folder, ec)) {
            throw Error((machineDir / "machine.json").string() +
                        ": member 'registry.from': " + folder.string() + " is not a folder");
        }
        folders.push_back(folder);
    }
    folders.push_back(machineDir / "registry");
    // Links come first so that exports written through CurrentControlSet land in the same keys
    // as those written through ControlSet001.
    applyLinks(registry, config.registry, config.system.version.platformId);
    for (const fs::path& folder : folders) {
        for (const fs::path& file : regFiles(folder)) registry.importFile(file);
    }
    applyDenials(registry, config.registry);
    return machine;
}

std::unique_ptr<Machine> Machine::blank(const fs::path& drive) {
    MachineConfig config;
    std::unique_ptr<Machine> machine(new Machine());
    machine->services_ = std::make_unique<Services>(config, drive);
    applyLinks(machine->services_->registry, config.registry, config.system.version.platformId);
    return machine;
}

platform::Platform Machine::platform() {
    Services& s = *services_;
    return platform::Platform{s.registry, s.system,   s.files,   s.profile, s.modules, s.shell,
                              s.dialogs,  s.keyboard, s.spooler, s.clock,   s.parallel};
}

SimRegistry& Machine::registry() {
    return services_->registry;
}
SimSystem& Machine::system() {
    return services_->system;
}
SimFiles& Machine::files() {
    return services_->files;
}
SimProfile& Machine::profile() {
    return services_->profile;
}
SimResourceModules& Machine::modules() {
    return services_->modules;
}
SimShell& Machine::shell() {
    return services_->shell;
}
SimDialogs& Machine::dialogs() {
    return services_->dialogs;
}
SimKeyboard& Machine::keyboard() {
    return services_->keyboard;
}
SimSpooler& Machine::spooler() {
    return services_->spooler;
}
SimClock& Machine::clock() {
    return services_->clock;
}
SimParallel& Machine::parallel() {
    return services_->parallel;
}

fs::path Machine::hostPath(std::string_view windowsPath) const {
    return services_->hostPath(windowsPath);
}

ProgramArchitecture Machine::programArchitecture() const {
    return services_->modules.programArchitecture();
}

void Machine::setProgramArchitecture(ProgramArchitecture architecture) {
    services_->modules.setProgramArchitecture(architecture);
    services_->spooler.setProgramArchitecture(architecture);
}

const std::string& Machine::description() const {
    return services_->description;
}

PathMap& Machine::paths() {
    return services_->paths;
}

}  // namespace tamux::sim
