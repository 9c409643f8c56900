// Version resources: the block GetFileVersionInfo makes of any resource bytes, VerQueryValue
// over it, and the About dialog's reader (FileVersionInfo) on top. An input that is a PE file with
// a version resource stands for that resource, so that the built modules seed the corpus as
// they are.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "about/file_version.h"
#include "fuzz/fuzz_support.h"
#include "platform/sim/pe_resources.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/version_block.h"

namespace {

// The version functions over one resource held in memory: the block as the simulated machine
// makes it, the queries answered by the simulated machine's own code.
class OneResource : public tamux::platform::ResourceModules {
  public:
    OneResource(std::vector<std::uint8_t> resource, unsigned codePage)
        : resource_(std::move(resource)),
          sim_([](std::string_view) { return std::filesystem::path(); }, codePage) {}

    Module loadLibrary(std::string_view) override { return 0; }
    void freeLibrary(Module) override {}
    int loadString(Module, std::uint32_t, std::string& text, int) override {
        text.clear();
        return 0;
    }
    std::uint32_t fileVersionInfoSize(std::string_view) override {
        return tamux::sim::versionInfoSize(resource_.size());
    }
    std::optional<std::vector<std::uint8_t>> fileVersionInfo(std::string_view) override {
        return tamux::sim::versionInfoBlock(resource_);
    }
    std::optional<std::vector<std::uint8_t>> queryVersionValue(
        const std::vector<std::uint8_t>& block, std::string_view subBlock) override {
        return sim_.queryVersionValue(block, subBlock);
    }

  private:
    std::vector<std::uint8_t> resource_;
    tamux::sim::SimResourceModules sim_;
};

std::vector<std::uint8_t> resourceOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size >= 2 && data[0] == 'M' && data[1] == 'Z') {
        if (auto image = tamux::sim::PeImage::fromBytes(bytes)) {
            if (auto resource = image->versionResource(0x0409)) return *resource;
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const unsigned codePage = size % 2 == 0 ? 1252 : 1251;
    OneResource modules(resourceOf(data, size), codePage);
    const auto block = modules.fileVersionInfo("");
    TAMUX_FUZZ_CHECK(block && block->size() == modules.fileVersionInfoSize(""),
                     "the block has the size that was announced");

    // Paths of every shape: the root, nested keys, doubled and trailing backslashes, a NUL.
    static constexpr std::string_view kQueries[] = {
        "",
        "\\",
        "\\\\",
        "\\VarFileInfo",
        "\\VarFileInfo\\Translation",
        "\\VarFileInfo\\Translation\\",
        "\\StringFileInfo",
        "\\StringFileInfo\\040904E4",
        "\\StringFileInfo\\040904e4\\FileVersion",
        "\\StringFileInfo\\040904B0\\CompanyName",
        "StringFileInfo\\\\040904E4\\\\ProductVersion\\x",
        std::string_view("\\Var\0x", 6)};
    for (std::string_view query : kQueries) {
        if (auto value = modules.queryVersionValue(*block, query)) {
            TAMUX_FUZZ_CHECK(value->size() <= block->size(), "a value lies within its block");
        }
    }

    tamux::sim::SimSystem system;
    tamux::FileVersionInfo version(modules, system);
    version.setFilename("C:\\fuzz.exe");
    TAMUX_FUZZ_CHECK(version.hasBlock(), "a resource gives a block");
    const int translations = static_cast<int>(version.translations().size());
    for (int index = 0; index < translations && index < 4; ++index) {
        version.setTranslationIndex(index);
        for (int key = 0; key < tamux::kVersionKeyCount; ++key) {
            const std::string value = version.getByIndex(key);
            TAMUX_FUZZ_CHECK(value.find('\0') == std::string::npos,
                             "a string value ends at its NUL");
        }
    }
    version.fileVersion().text();
    version.productVersion().text();
    return 0;
}
