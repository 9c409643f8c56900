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

constexpr std::initializer_list<std::uint16_t> kUserLanguages = {0x0409, 0x0407, 0x0405, 0x0419};

// Texts the program asks its language modules for, and the edges of a block of sixteen.
constexpr std::initializer_list<std::uint32_t> kTextIds = {0,   1, 15,    16,     601,
                                                           602, 7, 50201, 0xFFFF, 0x10000};

void readStrings(const PeImage& image) {
    for (std::uint16_t language : kUserLanguages) {
        for (std::uint32_t id : kTextIds) {
            if (auto text = image.stringText(id, language)) {
                TAMUX_FUZZ_CHECK(text->size() <= 0xFFFF, "a counted text fits its count");
            }
        }
    }
    // Every text of the first blocks the table lists, in every language it has.
    int blocks = 0;
    for (std::uint16_t block : image.ids(restype::kString)) {
        if (++blocks > 8) break;
        const auto languages = image.languages(restype::kString, block);
        for (std::uint16_t language : languages) image.resource(restype::kString, block, language);
        const std::uint32_t first = (static_cast<std::uint32_t>(block) - 1) * 16;
        for (std::uint32_t id = first; id < first + 16; ++id) image.stringText(id, 0x0409);
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
    image->isLoadableModule();
    readStrings(*image);
    readVersion(*image);
    return 0;
}
