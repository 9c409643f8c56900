// The reader against DLLs it was not written for: Wine's own, with their string tables in dozens
// of languages, and the test modules. What the reader finds is compared with what the MinGW
// objdump shows of the same file: its resource tree and the bytes of its resource section.
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/pe_resources.h"
#include "platform/sim/sim_resource_modules.h"
#include "tests/support/test_paths.h"
#include "tests/unit/pe_resources/objdump_reader.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;

fs::path wineDll(const char* name) {
    return fs::path(TAMUX_WINE_DLL_DIR) / name;
}

#define REQUIRE_FILE(path)                                             \
    do {                                                               \
        if (!fs::exists(path)) GTEST_SKIP() << (path) << " is absent"; \
    } while (0)

class ResourcesAsObjdumpShowsThem : public ::testing::TestWithParam<fs::path> {};

TEST_P(ResourcesAsObjdumpShowsThem, StringTablesAndVersionResources) {
    const fs::path file = GetParam();
    REQUIRE_FILE(file);
    if (std::string(TAMUX_OBJDUMP).empty()) GTEST_SKIP() << "no MinGW objdump";
    test::TempDir scratch;
    const test::ObjdumpView view = test::readWithObjdump(TAMUX_OBJDUMP, file, scratch.path());
    auto image = PeImage::fromFile(file);
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->isLoadableModule(ProgramArchitecture::I386));

    std::map<std::uint16_t, int> compared;
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint16_t>> languages;
    std::map<std::uint16_t, std::vector<std::uint16_t>> ids;
    for (const auto& leaf : view.resources) {
        if (leaf.named || (leaf.type != restype::kString && leaf.type != restype::kVersion)) {
            continue;
        }
        const std::string what = "type " + std::to_string(leaf.type) + " id " +
                                 std::to_string(leaf.id) + " language " +
                                 std::to_string(leaf.language);
        const auto expected = view.dataOf(leaf);
        ASSERT_EQ(expected.size(), leaf.size) << what << " lies outside .rsrc";
        EXPECT_EQ(image->resource(leaf.type, leaf.id, leaf.language), expected) << what;
        auto& known = languages[{leaf.type, leaf.id}];
        if (known.empty()) ids[leaf.type].push_back(leaf.id);
        known.push_back(leaf.language);
        ++compared[leaf.type];
    }
    for (const auto& [key, list] : languages) {
        EXPECT_EQ(image->languages(key.first, key.second), list)
            << "type " << key.first << " id " << key.second;
    }
    EXPECT_EQ(image->ids(restype::kString), ids[restype::kString]);
    EXPECT_GT(compared[restype::kString] + compared[restype::kVersion], 0);
}

INSTANTIATE_TEST_SUITE_P(WineDlls, ResourcesAsObjdumpShowsThem,
                         ::testing::Values(wineDll("user32.dll"), wineDll("shell32.dll"),
                                           wineDll("comctl32.dll"), wineDll("kernel32.dll"),
                                           wineDll("version.dll")));
INSTANTIATE_TEST_SUITE_P(TestModules, ResourcesAsObjdumpShowsThem,
                         ::testing::Values(fs::path(TAMUX_STRINGS_DLL),
                                           fs::path(TAMUX_LANGUAGES_DLL),
                                           fs::path(TAMUX_VERSION_DLL)));

// Values read off `windres -i user32.dll` and `windres -i version.dll`.
TEST(WineDlls, KnownTextsThroughTheService) {
    REQUIRE_FILE(wineDll("user32.dll"));
    REQUIRE_FILE(wineDll("version.dll"));
    SimResourceModules modules(
        [](std::string_view path) { return wineDll(std::string(path).c_str()); }, 1252, 0x0409);
    auto user32 = modules.loadLibrary("user32.dll");
    ASSERT_GT(user32, 32u);
    std::string text;
    EXPECT_EQ(modules.loadString(user32, 2, text, 1024), 5);
    EXPECT_EQ(text, "Error");
    EXPECT_EQ(modules.loadString(user32, 13, text, 1024), 16);
    EXPECT_EQ(text, "&More Windows...");

    SimResourceModules czech(
        [](std::string_view path) { return wineDll(std::string(path).c_str()); }, 1250, 0x0405);
    EXPECT_EQ(czech.loadString(czech.loadLibrary("user32.dll"), 2, text, 1024), 5);
    EXPECT_EQ(text, "Chyba");
    EXPECT_EQ(czech.loadString(czech.loadLibrary("user32.dll"), 13, text, 1024), 13);
    EXPECT_EQ(text,
              "&V\xED"
              "ce oken...");

    auto block = modules.fileVersionInfo("version.dll");
    ASSERT_TRUE(block);
    EXPECT_EQ(modules.queryVersionValue(*block, "\\VarFileInfo\\Translation"),
              (std::vector<std::uint8_t>{0x09, 0x04, 0xB0, 0x04}));
    auto name = modules.queryVersionValue(*block, "\\StringFileInfo\\040904B0\\OriginalFilename");
    ASSERT_TRUE(name);
    EXPECT_EQ(std::string(name->begin(), name->end()), std::string("version.dll", 12));
    auto product = modules.queryVersionValue(*block, "\\StringFileInfo\\040904B0\\ProductName");
    ASSERT_TRUE(product);
    EXPECT_EQ(std::string(product->begin(), product->end()), std::string("Wine", 5));
    // An empty text, stored as its NUL alone.
    EXPECT_EQ(modules.queryVersionValue(*block, "\\StringFileInfo\\040904B0\\InternalName"),
              std::vector<std::uint8_t>{0});
}

}  // namespace
}  // namespace tamux::sim
