#include "platform/sim/sim_resource_modules.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/pe_resources.h"
#include "platform/sim/version_block.h"
#include "tests/support/test_paths.h"
#include "tests/unit/pe_resources/test_files.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;

// A machine whose drive C: is a temporary folder holding the test modules.
class ResourceModulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(drive.path() / "Tamux");
        fs::copy_file(TAMUX_STRINGS_DLL, drive.path() / "Tamux/tamuxCSY.dll");
        fs::copy_file(TAMUX_STRINGS64_DLL, drive.path() / "Tamux/tamuxCSY64.dll");
        fs::copy_file(TAMUX_LANGUAGES_DLL, drive.path() / "Tamux/languages.dll");
        fs::copy_file(TAMUX_VERSION_DLL, drive.path() / "Tamux/tamux.exe");
        fs::copy_file(TAMUX_NO_STRINGS_DLL, drive.path() / "Tamux/nostrings.dll");
        test::writeBytes(drive.path() / "Tamux/readme.dll",
                         {'M', 'Z', 'n', 'o', 't', ' ', 'P', 'E'});
    }

    // "C:\..." to the host folder; other drives lead nowhere.
    SimResourceModules::ToHost toHost() {
        return [root = drive.path()](std::string_view path) -> fs::path {
            if (path.size() < 3 || path.substr(0, 3) != "C:\\") return {};
            std::string rest(path.substr(3));
            std::replace(rest.begin(), rest.end(), '\\', '/');
            return root / rest;
        };
    }

    test::TempDir drive;
};

TEST_F(ResourceModulesTest, OnlyLoadableModulesLoad) {
    SimResourceModules modules(toHost(), 1250);
    auto module = modules.loadLibrary("C:\\Tamux\\tamuxCSY.dll");
    EXPECT_GT(module, 32u);
    EXPECT_EQ(modules.modulePath(module),
              fs::weakly_canonical(drive.path() / "Tamux/tamuxCSY.dll"));

    for (const char* path : {"C:\\Tamux\\tamuxXX.dll", "C:\\Tamux\\readme.dll", "C:\\Tamux",
                             "D:\\Tamux\\tamuxCSY.dll", ""}) {
        EXPECT_EQ(modules.loadLibrary(path), 0u) << '"' << path << '"';
    }
    EXPECT_EQ(modules.loadedModuleCount(), 1u);
}

// The same string table in a 32-bit and a 64-bit module: LoadLibrary of a program takes its own
// architecture's module and refuses the other's; loaded as data, both are read.
TEST_F(ResourceModulesTest, TheProgramsArchitectureDecidesWhichModuleLoads) {
    constexpr auto k32 = ProgramArchitecture::I386;
    constexpr auto k64 = ProgramArchitecture::X86_64;
    const struct {
        ProgramArchitecture program;
        ModuleLoad load;
        const char* module;
        bool loads;
    } cases[] = {
        {k32, ModuleLoad::AsCode, "C:\\Tamux\\tamuxCSY.dll", true},
        {k32, ModuleLoad::AsCode, "C:\\Tamux\\tamuxCSY64.dll", false},
        {k64, ModuleLoad::AsCode, "C:\\Tamux\\tamuxCSY.dll", false},
        {k64, ModuleLoad::AsCode, "C:\\Tamux\\tamuxCSY64.dll", true},
        {k32, ModuleLoad::AsData, "C:\\Tamux\\tamuxCSY64.dll", true},
        {k64, ModuleLoad::AsData, "C:\\Tamux\\tamuxCSY.dll", true},
    };
    for (const auto& c : cases) {
        const std::string what =
            std::string(c.module) +
            (c.program == k64 ? " in a 64-bit program" : " in a 32-bit program") +
            (c.load == ModuleLoad::AsData ? " as data" : "");
        SimResourceModules modules(toHost(), 1250, 0x0405, c.program);
        modules.setModuleLoad(c.load);
        const auto module = modules.loadLibrary(c.module);
        EXPECT_EQ(module != 0, c.loads) << what;
        std::string text;
        EXPECT_EQ(modules.loadString(module, 602, text, 1024), c.loads ? 3 : 0) << what;
        EXPECT_EQ(text, c.loads ? "My\x9A" : "") << what;
    }
}

TEST_F(ResourceModulesTest, AModuleLoadedTwiceIsSharedUntilFreedTwice) {
    SimResourceModules modules(toHost(), 1250);
    auto first = modules.loadLibrary("C:\\Tamux\\tamuxCSY.dll");
    auto again = modules.loadLibrary("C:\\Tamux\\..\\Tamux\\tamuxCSY.dll");
    auto other = modules.loadLibrary("C:\\Tamux\\languages.dll");
    ASSERT_GT(first, 32u);
    EXPECT_EQ(again, first);
    EXPECT_NE(other, first);
    EXPECT_GT(other, 32u);
    EXPECT_EQ(modules.loadedModuleCount(), 2u);

    std::string text;
    modules.freeLibrary(first);
    EXPECT_EQ(modules.loadString(first, 7, text, 1024), 7) << "still loaded once";
    modules.freeLibrary(first);
    EXPECT_EQ(modules.loadString(first, 7, text, 1024), 0) << "freed as often as loaded";
    EXPECT_EQ(modules.loadedModuleCount(), 1u);

    modules.freeLibrary(0);
    modules.freeLibrary(first);
    modules.freeLibrary(12345);
    EXPECT_EQ(modules.loadedModuleCount(), 1u);
    EXPECT_EQ(modules.loadString(other, 1, text, 1024), 23);
}

TEST_F(ResourceModulesTest, TextsArriveInTheCodePage) {
    const struct {
        unsigned codePage;
        std::uint32_t id;
        std::string expected;
    } cases[] = {
        {1250, 601, "Kl\xE1vesnice"},
        {1252, 601, "Kl\xE1vesnice"},
        {1250, 602, "My\x9A"},
        {1251, 602, "Mys"},
        {1250, 5590,
         "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1"
         "belsk\xE9 \xF3"
         "dy"},
        // Letters the code page lacks become their plain letters, as Windows writes them.
        {1252, 5590,
         "Pr\xEDli\x9A \x9Elutouck\xFD kun \xFApel d\xE1"
         "belsk\xE9 \xF3"
         "dy"},
        {1252, 5591,
         "\xDC"
         "ber Applikacion, aplicati\xF3n, Jazykov\xE1"},
        {1250, 5591,
         "\xDC"
         "ber Applikacion, aplicati\xF3n, Jazykov\xE1"},
        {1251, 5592, "\xCA\xEB\xE0\xE2\xE8\xE0\xF2\xF3\xF0\xE0"},
        {1252, 5592, "??????????"},
        {1252, 5593, "quote \" and tab\tend"},
    };
    for (const auto& c : cases) {
        SimResourceModules modules(toHost(), c.codePage);
        auto module = modules.loadLibrary("C:\\Tamux\\tamuxCSY.dll");
        std::string text;
        EXPECT_EQ(modules.loadString(module, c.id, text, 1024), static_cast<int>(c.expected.size()))
            << c.id << " in " << c.codePage;
        EXPECT_EQ(text, c.expected) << c.id << " in " << c.codePage;
    }
}

TEST_F(ResourceModulesTest, TextsAreCutToTheBufferLessItsNul) {
    SimResourceModules modules(toHost(), 1250);
    auto module = modules.loadLibrary("C:\\Tamux\\tamuxCSY.dll");
    std::string full;
    ASSERT_EQ(modules.loadString(module, 700, full, 4096), 1200);

    const struct {
        int bufferSize;
        int expected;
    } cases[] = {{1024, 1023}, {1201, 1200}, {1200, 1199}, {2, 1}, {1, 0}, {0, 0}, {-5, 0}};
    for (const auto& c : cases) {
        std::string text = "sentinel";
        EXPECT_EQ(modules.loadString(module, 700, text, c.bufferSize), c.expected) << c.bufferSize;
        EXPECT_EQ(text, full.substr(0, static_cast<std::size_t>(c.expected))) << c.bufferSize;
    }
    std::string text = "sentinel";
    EXPECT_EQ(modules.loadString(module, 601, text, 5), 4);
    EXPECT_EQ(text, "Kl\xE1v");
}

TEST_F(ResourceModulesTest, NoTextGivesZeroAndAnEmptyString) {
    SimResourceModules modules(toHost(), 1252);
    auto module = modules.loadLibrary("C:\\Tamux\\tamuxCSY.dll");
    auto noStrings = modules.loadLibrary("C:\\Tamux\\nostrings.dll");
    ASSERT_GT(noStrings, 32u);
    const struct {
        platform::ResourceModules::Module module;
        std::uint32_t id;
        const char* why;
    } cases[] = {
        {module, 8, "an empty text"},
        {module, 2, "an empty slot of a present block"},
        {module, 40, "a missing block"},
        {noStrings, 1, "a module without a string table"},
        {0, 1, "no module"},
        {module + 1, 1, "not a module"},
    };
    for (const auto& c : cases) {
        std::string text = "sentinel";
        EXPECT_EQ(modules.loadString(c.module, c.id, text, 1024), 0) << c.why;
        EXPECT_EQ(text, "") << c.why;
    }
}

TEST_F(ResourceModulesTest, TheUsersLanguageChoosesAmongTables) {
    const struct {
        std::uint16_t language;
        const char* expected;
    } cases[] = {{0x0407, "Deutsch"},
                 {0x0409, "English (United States)"},
                 {0x080C,
                  "Fran\xE7"
                  "ais"}};
    for (const auto& c : cases) {
        SimResourceModules modules(toHost(), 1252, c.language);
        std::string text;
        modules.loadString(modules.loadLibrary("C:\\Tamux\\languages.dll"), 1, text, 1024);
        EXPECT_EQ(text, c.expected) << std::hex << c.language;
    }
    SimResourceModules byDefault(toHost());
    std::string text;
    byDefault.loadString(byDefault.loadLibrary("C:\\Tamux\\languages.dll"), 1, text, 1024);
    EXPECT_EQ(text, "English (United States)");
}

TEST_F(ResourceModulesTest, VersionInformationOfAFile) {
    SimResourceModules modules(toHost(), 1250);
    const std::uint32_t size = modules.fileVersionInfoSize("C:\\Tamux\\tamux.exe");
    auto block = modules.fileVersionInfo("C:\\Tamux\\tamux.exe");
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size(), size);
    auto resource = PeImage::fromFile(TAMUX_VERSION_DLL)->versionResource(0x0409);
    ASSERT_TRUE(resource);
    EXPECT_EQ(*block, versionInfoBlock(*resource));

    auto copyright =
        modules.queryVersionValue(*block, "\\StringFileInfo\\040504E2\\LegalCopyright");
    ASSERT_TRUE(copyright);
    EXPECT_EQ(std::string(copyright->begin(), copyright->end()),
              std::string("\xA9 Zorv Info, \x8E\xEF\xE1r nad S\xE1zavou", 30));

    // The file need not be loadable as a module, nor be loaded.
    EXPECT_EQ(modules.loadedModuleCount(), 0u);
    for (const char* path : {"C:\\Tamux\\tamuxCSY.dll", "C:\\Tamux\\missing.exe",
                             "C:\\Tamux\\readme.dll", "D:\\tamux.exe", ""}) {
        EXPECT_EQ(modules.fileVersionInfoSize(path), 0u) << '"' << path << '"';
        EXPECT_EQ(modules.fileVersionInfo(path), std::nullopt) << '"' << path << '"';
    }
}

TEST_F(ResourceModulesTest, StringsOfStringTablesArriveAsCStrings) {
    const auto block = versionInfoBlock(test::serialize(test::versionRoot({test::VersionNode{
        u"040904E4",
        {},
        0,
        1,
        {test::versionText(u"WithNul", u"abc", 4), test::versionText(u"WithoutNul", u"abc", 3),
         test::versionText(u"Inner", std::u16string(u"ab\0cd", 5), 6),
         test::versionText(u"Empty", u"", 0)}}})));
    SimResourceModules modules(toHost(), 1252);
    using Bytes = std::vector<std::uint8_t>;
    auto query = [&](const char* path) { return modules.queryVersionValue(block, path); };

    // Whatever the file counted, a string comes up to its first NUL and with one NUL.
    EXPECT_EQ(query("\\StringFileInfo\\040904E4\\WithNul"), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_EQ(query("\\StringFileInfo\\040904E4\\WithoutNul"), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_EQ(query("\\stringfileinfo\\040904e4\\withoutnul"), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_EQ(query("\\StringFileInfo\\040904E4\\Inner"), (Bytes{'a', 'b', 0}));
    EXPECT_EQ(query("\\StringFileInfo\\040904E4\\Empty"), Bytes{0});
    EXPECT_EQ(query("\\StringFileInfo\\040904E4"), Bytes{0});
    EXPECT_EQ(query("\\StringFileInfo\\040904E4\\Missing"), std::nullopt);

    // Other queries give the value as VerQueryValueA does.
    EXPECT_EQ(query("\\StringFileInfo"), Bytes{});
    EXPECT_EQ(query("StringFileInfo\\040904E4\\WithoutNul"), (Bytes{'a', 'b', 'c'}));
    auto fixed = query("\\");
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->size(), 52u) << "binary data is not cut at its NULs";
}

}  // namespace
}  // namespace tamux::sim
