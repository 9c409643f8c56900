#include "tools/sim_suite/install_suite.h"

#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "platform/errors.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_system.h"

namespace tamux {

namespace fs = std::filesystem;

namespace {

void copyFrom(const fs::path& from, const fs::path& to) {
    if (!fs::is_regular_file(from)) throw Error("Missing " + from.string());
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

}  // namespace

void installSuite(sim::Machine& machine, const fs::path& suite, const std::string& language) {
    const std::string exe = machine.system().executablePath();
    const fs::path module = machine.hostPath(langModuleFileName(exe, language));
    copyFrom(suite / "Tamux" / module.filename(), module);
    const fs::path databases = module.parent_path().parent_path() / "SHARED" / "DATABASES";
    for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        copyFrom(suite / "SHARED" / "DATABASES" / name, databases / name);
    }
    machine.profile().writeString(settingsFilePath(exe), kOptionsSection, kLanguageKey, language);
}

}  // namespace tamux
