// The PE resource reader: any bytes either are refused as a PE image or answer every resource
// query (string tables as LoadString reads them, the version resource as GetFileVersionInfo
// chooses it, VerQueryValue over its block) without reading outside the file.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/sim/pe_resources.h"
#include "platform/sim/version_block.h"

namespace {

using tamux::sim::PeImage;
namespace restype = tamux::sim::restype;

// A hostile data entry may name a resource of up to 64 MB in a section's zero-filled part, which
// the reader then allocates; few questions per input keep such inputs from slowing the run down.
constexpr std::initializer_list<std::uint16_t> kUserLanguages = {0x0409, 0x0405};

// Texts the program asks its language modules for, and the edges of a block of sixteen.
constexpr std::initializer_list<std::uint32_t> kTextIds = {0, 15, 16, 601, 50201, 0xFFFF};

void readStrings(const PeImage& image) {
    for (std::uint16_t language : kUserLanguages) {
        for (std::uint32_t id : kTextIds) {
            if (auto text = image.stringText(id, language)) {
                TAMUX_FUZZ_CHECK(text->size() <= 0xFFFF, "a counted text fits its count");
            }
        }
    }
    // The first and last text of the first blocks the table lists, and each block in every
    // language it has.
    int blocks = 0;
    for (std::uint16_t block : image.ids(restype::kString)) {
        if (++blocks > 4) break;
        for (std::uint16_t language : image.languages(restype::kString, block)) {
            image.resource(restype::kString, block, language);
        }
        const std::uint32_t first = (static_cast<std::uint32_t>(block) - 1) * 16;
        image.stringText(first, 0x0409);
        image.stringText(first + 15, 0x0409);
    }
}

void readVersion(const PeImage& image) {
    for (std::uint16_t language : kUserLanguages) {
        const auto resource = image.versionResource(language);
        if (!resource) continue;
        const auto block = tamux::sim::versionInfoBlock(*resource);
        TAMUX_FUZZ_CHECK(block.size() == tamux::sim::versionInfoSize(resource->size()),
                         "the block has the size that was announced");
        for (const char* query :
             {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904E4\\FileVersion",
              "\\StringFileInfo\\040904B0\\ProductName"}) {
            tamux::sim::queryVersionValue(block, query, 1252);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = PeImage::fromBytes(std::vector<std::uint8_t>(data, data + size));
    if (!image) return 0;
    for (auto architecture :
         {tamux::sim::ProgramArchitecture::I386, tamux::sim::ProgramArchitecture::X86_64}) {
        image->isLoadableModule(architecture);
    }
    image->isLoadableModule(tamux::sim::ProgramArchitecture::I386, tamux::sim::ModuleLoad::AsData);
    readStrings(*image);
    readVersion(*image);
    return 0;
}
