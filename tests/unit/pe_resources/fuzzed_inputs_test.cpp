// Inputs that fuzzing found to break the reader, kept so that they stay mended: hand-made
// equivalents that say what is special about them, and the files the fuzzer wrote, in fuzzed/.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/pe_resources.h"
#include "platform/sim/version_block.h"
#include "tests/support/test_paths.h"
#include "tests/unit/pe_resources/test_files.h"

namespace tamux::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FuzzedInputs, AnEmptyResourceInsideTheSectionReadsAsNoBytes) {
    // The empty resources come first, so that their data lies inside the section's file data:
    // the reader copied zero bytes from there into an empty vector, whose data may be null.
    const Bytes file = test::buildPe(test::resourceSection(
        {{restype::kString, 1, 0x0409, {}},
         {restype::kVersion, 1, 0x0409, {}},
         {restype::kString, 2, 0x0409, test::stringBlock({u"", u"seventeen"})}},
        0x1000));
    auto image = PeImage::fromBytes(file);
    ASSERT_TRUE(image);

    auto empty = image->resource(restype::kString, 1, 0x0409);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_FALSE(image->stringText(1, 0x0409)) << "an empty block has no count to read";
    EXPECT_EQ(image->stringText(17, 0x0409), u"seventeen") << "the next block is intact";

    auto version = image->versionResource(0x0409);
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->empty());
    const Bytes block = versionInfoBlock(*version);
    EXPECT_EQ(block.size(), versionInfoSize(0));
    EXPECT_FALSE(queryVersionValue(block, "\\", 1252));
    EXPECT_FALSE(queryVersionValue(block, "\\VarFileInfo\\Translation", 1252));
}

TEST(FuzzedInputs, TheFilesTheFuzzerFoundReadTheirEmptyResources) {
    // Each file holds, among its damage, a resource of zero bytes inside the section's data,
    // reached through its directory or as the loader's choice of version resource.
    for (const char* name : {"empty_string_resource.dll", "empty_version_resource.dll"}) {
        SCOPED_TRACE(name);
        const Bytes file =
            test::readBytes(test::sourceDir() / "tests/unit/pe_resources/fuzzed" / name);
        auto image = PeImage::fromBytes(file);
        ASSERT_TRUE(image);
        int empty = 0;
        for (std::uint16_t type : {restype::kString, restype::kVersion}) {
            for (std::uint16_t id : image->ids(type)) {
                for (std::uint16_t language : image->languages(type, id)) {
                    auto data = image->resource(type, id, language);
                    if (data && data->empty()) ++empty;
                }
            }
        }
        for (std::uint16_t language : {0x0409, 0x0407}) {
            auto version = image->versionResource(language);
            if (version && version->empty()) ++empty;
        }
        EXPECT_GE(empty, 1);
        for (std::uint32_t id = 0; id < 64; ++id) image->stringText(id, 0x0409);
        if (auto resource = image->versionResource(0x0409)) {
            const Bytes block = versionInfoBlock(*resource);
            for (const char* path :
                 {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904E4\\FileVersion"}) {
                if (auto value = queryVersionValue(block, path, 1252)) {
                    EXPECT_LE(value->size(), block.size());
                }
            }
        }
    }
}

}  // namespace
}  // namespace tamux::sim
