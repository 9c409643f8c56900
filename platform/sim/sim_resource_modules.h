// The simulated machine's resource modules: LoadLibrary, LoadString and the version functions
// answered from the real PE files in the machine's folders, read with the project's own PE
// resource reader, as an NT system running in the machine's code page answers them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resource_modules.h"
#include "platform/sim/program_architecture.h"

namespace tamux::sim {

class PeImage;

class SimResourceModules : public platform::ResourceModules {
  public:
    // Maps a Windows path ("C:\...", or relative to the current directory) to the host file.
    using ToHost = std::function<std::filesystem::path(std::string_view windowsPath)>;

    // Texts are delivered in `codePage` (1250, 1251 or 1252). `userLanguage` is the language the
    // loader prefers when a module holds a resource in several languages. LoadLibrary accepts the
    // modules of `architecture`, the simulated program's.
    SimResourceModules(ToHost toHost, unsigned codePage = 1252, std::uint16_t userLanguage = 0x0409,
                       ProgramArchitecture architecture = ProgramArchitecture::I386);
    ~SimResourceModules() override;

    // platform::ResourceModules
    Module loadLibrary(std::string_view path) override;
    void freeLibrary(Module module) override;
    int loadString(Module module, std::uint32_t id, std::string& text, int bufferSize) override;
    std::uint32_t fileVersionInfoSize(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> fileVersionInfo(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> queryVersionValue(
        const std::vector<std::uint8_t>& block, std::string_view subBlock) override;

    // Modules loaded and not yet freed as often as they were loaded (tests check for leaks).
    std::size_t loadedModuleCount() const { return modules_.size(); }
    // The host file of a loaded module; empty for 0 or a module that is not loaded.
    std::filesystem::path modulePath(Module module) const;

    unsigned codePage() const { return codePage_; }
    std::uint16_t userLanguage() const { return userLanguage_; }

    ProgramArchitecture programArchitecture() const { return architecture_; }
    void setProgramArchitecture(ProgramArchitecture architecture) { architecture_ = architecture; }
    // Tools that only read the texts of a distribution, whichever architecture it was built
    // for, load its modules as data.
    void setModuleLoad(ModuleLoad load) { load_ = load; }

  private:
    struct Loaded {
        std::filesystem::path file;
        std::shared_ptr<const PeImage> image;
        int references = 0;
    };

    std::optional<std::vector<std::uint8_t>> versionResource(std::string_view path) const;

    ToHost toHost_;
    unsigned codePage_;
    std::uint16_t userLanguage_;
    ProgramArchitecture architecture_;
    ModuleLoad load_ = ModuleLoad::AsCode;
    std::map<Module, Loaded> modules_;
    Module nextModule_;
};

}  // namespace tamux::sim
