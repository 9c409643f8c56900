// The resource modules of the real system (LoadLibraryA, LoadStringA, GetFileVersionInfoA and
// VerQueryValueA under Wine) against the simulated machine's, which reads the same files with the
// project's own PE reader: the test modules built beside this program, Wine's own DLLs in the
// system folder, and files that are no modules at all. The simulated side is set to the real
// system's code page and language. Both sides are driven through platform::ResourceModules, the
// real one first; a difference reads "id 601: expected <real>, got <simulated>".
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/resource_modules.h"
#include "platform/sim/codepage.h"
#include "platform/sim/pe_resources.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/win32/win32_resource_modules.h"
#include "platform/win32/windows_support.h"
#include "tests/support/test_paths.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"

namespace tamux::wine_test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The test modules: TAMUX_PE_TEST_MODULES, else the folder the build puts beside this program.
fs::path testModules() {
    const std::string configured = environment("TAMUX_PE_TEST_MODULES");
    if (!configured.empty()) return fs::path(configured);
    char buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return fs::path(std::string(buffer, length)).parent_path() / "pe-test-modules";
}

std::string testModule(const char* name) {
    return (testModules() / name).string();
}

std::string systemDll(const char* name) {
    char buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length) + "\\" + name;
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string quoted(const std::optional<Bytes>& value) {
    return value ? describe(*value) : std::string("(none)");
}

// The real resource modules, and the simulated ones over the same files, facing the same system.
class ResourceModulesConformance : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!sim::isSupportedCodePage(GetACP())) {
            GTEST_SKIP() << "the simulated machine knows no code page " << GetACP();
        }
        if (!exists(testModule("strings.dll"))) {
            GTEST_SKIP() << "the test modules are not in " << testModules();
        }
    }

    // What was compared, and in which system, for the lane's log.
    void TearDown() override {
        if (compared_ == 0) return;
        std::printf("[ compared ] %s: %d answers in code page %u, language %04x\n",
                    ::testing::UnitTest::GetInstance()->current_test_info()->name(), compared_,
                    GetACP(), language());
    }

    // The loader prefers the thread's language; the lane runs with one language for all.
    static std::uint16_t language() { return LANGIDFROMLCID(GetThreadLocale()); }

    // Every text of `ids` in `module`, on both sides, with a buffer of `bufferSize` bytes.
    void compareTexts(const std::string& path, const std::vector<std::uint32_t>& ids,
                      int bufferSize) {
        platform::ResourceModules::Module realModule = real.loadLibrary(path);
        platform::ResourceModules::Module simModule = simulated.loadLibrary(path);
        ASSERT_EQ(realModule != 0, simModule != 0)
            << path << " loads: expected " << (realModule != 0) << ", got " << (simModule != 0);
        int differences = 0;
        for (std::uint32_t id : ids) {
            ++compared_;
            std::string realText = "sentinel", simText = "sentinel";
            const int realLength = real.loadString(realModule, id, realText, bufferSize);
            const int simLength = simulated.loadString(simModule, id, simText, bufferSize);
            if (realLength != simLength || realText != simText) {
                ADD_FAILURE() << path << " id " << id << " buffer " << bufferSize << ": expected "
                              << realLength << " " << describe(bytesOf(realText, false)) << ", got "
                              << simLength << " " << describe(bytesOf(simText, false));
                if (++differences == 20) break;
            }
        }
        real.freeLibrary(realModule);
        simulated.freeLibrary(simModule);
    }

    // The version block of `path` and the values the About dialog's reader asks of it.
    void compareVersion(const std::string& path) {
        const std::uint32_t realSize = real.fileVersionInfoSize(path);
        const std::uint32_t simSize = simulated.fileVersionInfoSize(path);
        EXPECT_EQ(realSize, simSize) << path << " version size";
        const auto realBlock = real.fileVersionInfo(path);
        const auto simBlock = simulated.fileVersionInfo(path);
        ASSERT_EQ(realBlock, simBlock) << path << " version block: expected " << quoted(realBlock)
                                       << ", got " << quoted(simBlock);
        if (!realBlock) return;

        std::vector<std::string> queries = {"\\",
                                            "",
                                            "\\VarFileInfo\\Translation",
                                            "\\varfileinfo\\translation",
                                            "\\StringFileInfo",
                                            "\\Nothing"};
        std::vector<std::string> tables = {"040904E4", "040504E2", "040904B0"};
        if (auto translation = real.queryVersionValue(*realBlock, "\\VarFileInfo\\Translation")) {
            for (std::size_t i = 0; i + 4 <= translation->size(); i += 4) {
                char table[9];
                std::snprintf(table, sizeof table, "%02X%02X%02X%02X", (*translation)[i + 1],
                              (*translation)[i], (*translation)[i + 3], (*translation)[i + 2]);
                tables.push_back(table);
            }
        }
        static const char* const kKeys[] = {
            "CompanyName",    "FileDescription", "FileVersion",      "InternalName",
            "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
            "ProductVersion", "Comments",        "BuildFlags",       "companyname"};
        for (const std::string& table : tables) {
            queries.push_back("\\StringFileInfo\\" + table);
            for (const char* key : kKeys)
                queries.push_back("\\StringFileInfo\\" + table + "\\" + key);
        }
        for (const std::string& query : queries) {
            ++compared_;
            const auto realValue = real.queryVersionValue(*realBlock, query);
            const auto simValue = simulated.queryVersionValue(*simBlock, query);
            EXPECT_EQ(realValue, simValue) << path << " \"" << query << "\": expected "
                                           << quoted(realValue) << ", got " << quoted(simValue);
        }
    }

    static std::vector<std::uint32_t> range(std::uint32_t first, std::uint32_t last) {
        std::vector<std::uint32_t> ids;
        for (std::uint32_t id = first; id <= last; ++id) ids.push_back(id);
        return ids;
    }

    // Every id of every string block the module has, and the ids of one block it lacks.
    static std::vector<std::uint32_t> idsOfBlocks(const std::string& path) {
        std::vector<std::uint32_t> ids;
        if (auto image = sim::PeImage::fromFile(path)) {
            for (std::uint16_t block : image->ids(sim::restype::kString)) {
                for (std::uint32_t i = 0; i < 16; ++i) ids.push_back((block - 1u) * 16 + i);
            }
        }
        for (std::uint32_t id = 0xFFE0; id < 0xFFF0; ++id) ids.push_back(id);
        return ids;
    }

    int compared_ = 0;
    win32::Win32ResourceModules real;
    sim::SimResourceModules simulated{
        [](std::string_view path) { return fs::path(std::string(path)); }, GetACP(), language(),
        kThisProgram};
};

TEST_F(ResourceModulesConformance, EveryTextOfTheTestModules) {
    std::vector<std::uint32_t> ids = range(0, 0xFFFF);
    ids.push_back(0x10000 + 601);
    ids.push_back(0xFFFF0000u + 7);
    for (const char* name :
         {"strings.dll", "languages.dll", "with_version.dll", "no_strings.dll"}) {
        compareTexts(testModule(name), ids, 1024);
    }
}

TEST_F(ResourceModulesConformance, TextsCutToTheBuffer) {
    for (int bufferSize : {1, 2, 3, 5, 11, 1023, 1024, 1200, 1201, 4096}) {
        compareTexts(testModule("strings.dll"), {1, 8, 601, 5590, 5592, 700}, bufferSize);
    }
}

TEST_F(ResourceModulesConformance, EveryTextOfWinesDlls) {
    for (const char* name : {"user32.dll", "shell32.dll", "comctl32.dll", "comdlg32.dll",
                             "winspool.drv", "kernel32.dll"}) {
        const std::string path = systemDll(name);
        if (!exists(path)) {
            ADD_FAILURE() << path << " is missing from the prefix";
            continue;
        }
        compareTexts(path, idsOfBlocks(path), 1024);
    }
}

TEST_F(ResourceModulesConformance, VersionBlocksAndTheirValues) {
    for (const char* name : {"with_version.dll", "untranslated_version.dll", "strings.dll"}) {
        compareVersion(testModule(name));
    }
    for (const char* name :
         {"version.dll", "user32.dll", "kernel32.dll", "shell32.dll", "comctl32.dll"}) {
        compareVersion(systemDll(name));
    }
}

// The same string table built for each architecture: this program's loader takes its own
// architecture's module and refuses the other's, and the simulated loader must agree.
TEST_F(ResourceModulesConformance, OnlyTheProgramsOwnArchitectureLoads) {
    const bool is64 = kThisProgram == sim::ProgramArchitecture::X86_64;
    const struct {
        const char* name;
        bool ownArchitecture;
    } modules[] = {{"strings32.dll", !is64}, {"strings64.dll", is64}};
    for (const auto& module : modules) {
        const std::string path = testModule(module.name);
        ASSERT_TRUE(exists(path)) << path;
        const auto realModule = real.loadLibrary(path);
        const auto simModule = simulated.loadLibrary(path);
        EXPECT_EQ(realModule != 0, module.ownArchitecture) << path << " on the real system";
        EXPECT_EQ(simModule != 0, realModule != 0)
            << path << " loads: expected " << (realModule != 0) << ", got " << (simModule != 0);
        real.freeLibrary(realModule);
        simulated.freeLibrary(simModule);
    }
    compareTexts(testModule(is64 ? "strings64.dll" : "strings32.dll"), {1, 601, 5592}, 1024);
}

TEST_F(ResourceModulesConformance, FilesThatAreNoModules) {
    test::TempDir folder;
    const fs::path text = folder.path() / "notes.dll";
    {
        FILE* file = std::fopen(text.string().c_str(), "wb");
        ASSERT_TRUE(file);
        std::fputs("MZ but no more", file);
        std::fclose(file);
    }
    for (const std::string& path :
         {text.string(), (folder.path() / "missing.dll").string(), folder.path().string()}) {
        const auto realModule = real.loadLibrary(path);
        const auto simModule = simulated.loadLibrary(path);
        EXPECT_EQ(realModule, 0u) << path;
        EXPECT_EQ(simModule, 0u) << path;
        real.freeLibrary(realModule);
        EXPECT_EQ(real.fileVersionInfoSize(path), simulated.fileVersionInfoSize(path)) << path;
    }
}

TEST_F(ResourceModulesConformance, TruncatedModules) {
    test::TempDir folder;
    const std::string source = testModule("with_version.dll");
    std::vector<char> bytes;
    {
        FILE* file = std::fopen(source.c_str(), "rb");
        ASSERT_TRUE(file);
        int c;
        while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<char>(c));
        std::fclose(file);
    }
    for (std::size_t length :
         {std::size_t{64}, std::size_t{0x300}, bytes.size() / 2, bytes.size() - 0x200}) {
        const fs::path cut = folder.path() / ("cut" + std::to_string(length) + ".dll");
        FILE* file = std::fopen(cut.string().c_str(), "wb");
        ASSERT_TRUE(file);
        std::fwrite(bytes.data(), 1, length, file);
        std::fclose(file);
        compareTexts(cut.string(), {1, 2}, 1024);
        EXPECT_EQ(real.fileVersionInfoSize(cut.string()),
                  simulated.fileVersionInfoSize(cut.string()))
            << "cut at " << length;
    }
}

}  // namespace
}  // namespace tamux::wine_test
