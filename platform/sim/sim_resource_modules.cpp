#include "platform/sim/sim_resource_modules.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/sim/case_fold.h"
#include "platform/sim/codepage.h"
#include "platform/sim/pe_resources.h"
#include "platform/sim/version_block.h"

namespace tamux::sim {

namespace {

// Handles look like the load addresses of DLLs, well above the 32 that callers take for "failed".
constexpr platform::ResourceModules::Module kFirstModule = 0x10000000;
constexpr platform::ResourceModules::Module kModuleSpacing = 0x00010000;

// A query for a string of a string table: "\StringFileInfo\<table>\<key>".
bool isStringQuery(std::string_view subBlock, unsigned codePage) {
    constexpr std::string_view kPrefix = "\\StringFileInfo\\";
    return subBlock.size() >= kPrefix.size() &&
           equalsIgnoreCase(subBlock.substr(0, kPrefix.size()), kPrefix, codePage);
}

std::filesystem::path identity(const std::filesystem::path& file) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(file, ec);
    return ec ? file : canonical;
}

}  // namespace

SimResourceModules::SimResourceModules(ToHost toHost, unsigned codePage, std::uint16_t userLanguage,
                                       ProgramArchitecture architecture)
    : toHost_(std::move(toHost)),
      codePage_(codePage),
      userLanguage_(userLanguage),
      architecture_(architecture),
      nextModule_(kFirstModule) {}

SimResourceModules::~SimResourceModules() = default;

platform::ResourceModules::Module SimResourceModules::loadLibrary(std::string_view path) {
    if (path.empty()) return 0;
    const std::filesystem::path host = toHost_(path);
    if (host.empty()) return 0;
    const std::filesystem::path file = identity(host);

    // Loading a module that is loaded already hands out the same module again, counted.
    for (auto& [module, loaded] : modules_) {
        if (loaded.file == file) {
            ++loaded.references;
            return module;
        }
    }

    auto image = PeImage::fromFile(host);
    if (!image || !image->isLoadableModule(architecture_, load_)) return 0;
    const Module module = nextModule_;
    nextModule_ += kModuleSpacing;
    modules_[module] = Loaded{file, std::make_shared<const PeImage>(std::move(*image)), 1};
    return module;
}

void SimResourceModules::freeLibrary(Module module) {
    auto it = modules_.find(module);
    if (it == modules_.end()) return;
    if (--it->second.references == 0) modules_.erase(it);
}

int SimResourceModules::loadString(Module module, std::uint32_t id, std::string& text,
                                   int bufferSize) {
    text.clear();
    // There is no room even for the terminating NUL: nothing is stored.
    if (bufferSize < 1) return 0;
    auto it = modules_.find(module);
    if (it == modules_.end()) return 0;
    auto wide = it->second.image->stringText(id, userLanguage_);
    if (!wide) return 0;
    text = narrowUtf16(codePage_, *wide);
    if (text.size() > static_cast<std::size_t>(bufferSize - 1)) {
        text.resize(static_cast<std::size_t>(bufferSize - 1));
    }
    return static_cast<int>(text.size());
}

std::optional<std::vector<std::uint8_t>> SimResourceModules::versionResource(
    std::string_view path) const {
    if (path.empty()) return std::nullopt;
    const std::filesystem::path host = toHost_(path);
    if (host.empty()) return std::nullopt;
    auto image = PeImage::fromFile(host);
    if (!image) return std::nullopt;
    return image->versionResource(userLanguage_);
}

std::uint32_t SimResourceModules::fileVersionInfoSize(std::string_view path) {
    auto resource = versionResource(path);
    return resource ? versionInfoSize(resource->size()) : 0;
}

std::optional<std::vector<std::uint8_t>> SimResourceModules::fileVersionInfo(
    std::string_view path) {
    auto resource = versionResource(path);
    if (!resource) return std::nullopt;
    return versionInfoBlock(*resource);
}

std::optional<std::vector<std::uint8_t>> SimResourceModules::queryVersionValue(
    const std::vector<std::uint8_t>& block, std::string_view subBlock) {
    auto value = sim::queryVersionValue(block, subBlock, codePage_);
    // A string of a string table is handed over as a C string: up to its first NUL, and the NUL,
    // whether or not the file counted the NUL in the text's length.
    if (value && isStringQuery(subBlock, codePage_)) {
        value->erase(std::find(value->begin(), value->end(), std::uint8_t{0}), value->end());
        value->push_back(0);
    }
    return value;
}

std::filesystem::path SimResourceModules::modulePath(Module module) const {
    auto it = modules_.find(module);
    return it == modules_.end() ? std::filesystem::path() : it->second.file;
}

}  // namespace tamux::sim
