#include "about/file_version.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/dialogs/program_folder.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;
using test::kExecutable;

constexpr const char* kFolder = "C:\\Program Files\\Zorv Info\\Tamux\\";

class FileVersionTest : public test::ProgramFolderTest {
  protected:
    // Puts the test module `name` into the program folder under its own name and returns its
    // Windows path.
    std::string module(const std::string& name) {
        fs::copy_file(test::testModule(name), folder() / (name + ".dll"),
                      fs::copy_options::overwrite_existing);
        return std::string(kFolder) + name + ".dll";
    }

    FileVersionInfo reader() { return FileVersionInfo(machine->modules(), machine->system()); }
};

TEST_F(FileVersionTest, AFullBlockGivesEveryKeyOfItsFirstTranslationAndBothVersions) {
    FileVersionInfo version(machine->modules(), machine->system());
    version.setFilename(module("version_full"));

    ASSERT_TRUE(version.hasBlock());
    EXPECT_EQ(version.translations(), (std::vector<std::string>{"040504E2", "040904E4"}));
    EXPECT_EQ(version.translationIndex(), 0);
    const char* expected[kVersionKeyCount] = {
        "Company (cs)",    "Description (cs)",    "1.2.3.4 (cs)",
        "Internal (cs)",   "\xA9 Copyright (cs)", "Trademarks (cs)",
        "original-cs.dll", "Product (cs)",        "5.6 (cs)",
        "Comments (cs)",   "Flags (cs)"};
    for (int index = 0; index < kVersionKeyCount; ++index) {
        EXPECT_EQ(version.getByIndex(index), expected[index]) << kVersionKeys[index];
    }
    EXPECT_EQ(version.getByIndex(-1), "");
    EXPECT_EQ(version.getByIndex(kVersionKeyCount), "");

    const VersionNumber& file = version.fileVersion();
    EXPECT_TRUE(file.valid);
    EXPECT_EQ(file.mostSignificant, 0x00010002u);
    EXPECT_EQ(file.leastSignificant, 0x00030004u);
    EXPECT_EQ(file.text(), "1.2.3.4 (cs)");
    const VersionNumber& product = version.productVersion();
    EXPECT_EQ(product.major(), 5);
    EXPECT_EQ(product.minor(), 6);
    EXPECT_EQ(product.release(), 7);
    EXPECT_EQ(product.build(), 8);
    EXPECT_EQ(product.text(), "5.6 (cs)");
}

TEST_F(FileVersionTest, TheTranslationIndexChoosesTheTableAndIsResetWhenTheFileHasFewer) {
    const std::string full = module("version_full");
    FileVersionInfo version = reader();
    version.setFilename(full);
    version.setTranslationIndex(1);
    EXPECT_EQ(version.getByIndex(3), "Internal (en)");
    EXPECT_EQ(version.getByIndex(1), "") << "the English table has no description";
    version.setTranslationIndex(2);
    EXPECT_EQ(version.translationIndex(), 1) << "an index outside the list is ignored";

    // Reading a file with as many translations keeps the choice; one with fewer resets it.
    version.setFilename(full);
    EXPECT_EQ(version.translationIndex(), 1);
    version.setFilename(module("version_short_translation"));
    EXPECT_EQ(version.translationIndex(), 0);
    EXPECT_EQ(version.getByIndex(3), "Zorv Info Tamux!");
}

TEST_F(FileVersionTest, ABlockWithoutTranslationIsReadInUsEnglishAndCodePage1252) {
    FileVersionInfo version = reader();
    version.setFilename(module("version_untranslated"));
    EXPECT_TRUE(version.translations().empty());
    EXPECT_EQ(version.getByIndex(3), "English table");
    EXPECT_EQ(version.fileVersion().text(), "2.5.7.11");
    // No product version text: the numbers stand in.
    EXPECT_TRUE(version.productVersion().valid);
    EXPECT_EQ(version.productVersion().text(), "3.0.0.1");
}

TEST_F(FileVersionTest, ATwoByteTranslationIsTheCodePageOfUsEnglish) {
    FileVersionInfo version = reader();
    version.setFilename(module("version_short_translation"));
    EXPECT_EQ(version.translations(), std::vector<std::string>{"040904E2"});
    EXPECT_EQ(version.getByIndex(3), "Zorv Info Tamux!");
    EXPECT_EQ(version.productVersion().text(), "9.8");
}

TEST_F(FileVersionTest, AFileWithoutVersionResourceOrNoFileAtAllGivesNothing) {
    const std::string files[] = {module("version_none"), std::string(kFolder) + "missing.dll"};
    for (const std::string& file : files) {
        FileVersionInfo version = reader();
        version.setFilename(file);
        EXPECT_FALSE(version.hasBlock()) << file;
        EXPECT_TRUE(version.translations().empty()) << file;
        for (int index = 0; index < kVersionKeyCount; ++index) {
            EXPECT_EQ(version.getByIndex(index), "") << file << " " << index;
        }
        EXPECT_FALSE(version.fileVersion().valid) << file;
        EXPECT_EQ(version.fileVersion().text(), "") << file;
        EXPECT_EQ(version.productVersion().text(), "") << file;
    }
}

TEST_F(FileVersionTest, LoadingAFileWithoutBlockForgetsThePreviousOne) {
    FileVersionInfo version = reader();
    version.setFilename(module("version_full"));
    ASSERT_EQ(version.getByIndex(0), "Company (cs)");
    version.setFilename(module("version_none"));
    EXPECT_EQ(version.getByIndex(0), "");
    EXPECT_TRUE(version.translations().empty());
    EXPECT_FALSE(version.productVersion().valid);
}

TEST_F(FileVersionTest, WithoutFileNameTheExecutableIsReadUnlessALibraryReadsItself) {
    installExecutable("version_untranslated");
    const std::string library = module("version_full");

    FileVersionInfo program(machine->modules(), machine->system());
    program.reload();
    EXPECT_EQ(program.fileToRead(), kExecutable);
    EXPECT_EQ(program.getByIndex(3), "English table");

    FileVersionInfo inLibrary(machine->modules(), machine->system(), library);
    inLibrary.reload();
    EXPECT_EQ(inLibrary.getByIndex(3), "Internal (cs)");
    // Forcing the executable reads it at once; the file name, once set, wins over both.
    inLibrary.setForceEXE(true);
    EXPECT_EQ(inLibrary.getByIndex(3), "English table");
    inLibrary.setFilename(module("version_short_translation"));
    EXPECT_EQ(inLibrary.getByIndex(3), "Zorv Info Tamux!");
}

TEST_F(FileVersionTest, VersionNumberTextFallsBackToTheFourNumbers) {
    VersionNumber number;
    number.mostSignificant = 0x0001FFFF;
    number.leastSignificant = 0x00000260;
    EXPECT_EQ(number.text(), "") << "invalid";
    number.valid = true;
    EXPECT_EQ(number.text(), "1.65535.0.608");
    number.stringValue = "1.00";
    EXPECT_EQ(number.text(), "1.00");
}

TEST_F(FileVersionTest, GetVersionItemMapsItsSelectorsToTheKeys) {
    const std::string file = module("version_full");
    const char* expected[kVersionItemFileDate] = {"Company (cs)",    "Trademarks (cs)",
                                                  "Internal (cs)",   "Description (cs)",
                                                  "1.2.3.4 (cs)",    "\xA9 Copyright (cs)",
                                                  "original-cs.dll", "Comments (cs)",
                                                  "Product (cs)",    "5.6 (cs)"};
    for (int selector = 0; selector < kVersionItemFileDate; ++selector) {
        EXPECT_EQ(getVersionItem(machine->platform(), file, selector), expected[selector])
            << selector;
    }
    EXPECT_EQ(getVersionItem(machine->platform(), file, -1), "");
    EXPECT_EQ(getVersionItem(machine->platform(), file, 11), "");
}

TEST_F(FileVersionTest, GetVersionItemTenIsTheFileDateInTheShortDateFormat) {
    using namespace std::chrono;
    const std::string file = module("version_full");
    const auto written = sys_days{year{2024} / March / 5} + hours{13} + minutes{7};
    fs::last_write_time(folder() / "version_full.dll",
                        file_clock::from_sys(time_point_cast<system_clock::duration>(written)));
    machine->clock().setShortDateFormat("dd.MM.yyyy");
    EXPECT_EQ(getVersionItem(machine->platform(), file, kVersionItemFileDate), "05.03.2024");
    EXPECT_EQ(getVersionItem(machine->platform(), std::string(kFolder) + "none.dll",
                             kVersionItemFileDate),
              "");
}

TEST(fileTimeToSystemTime, CountsCalendarDaysFrom1601) {
    struct Case {
        std::uint64_t fileTime;
        int year, month, day, dayOfWeek, hour, minute, second, milliseconds;
    };
    constexpr std::uint64_t kTicks = 10'000'000;
    constexpr std::uint64_t kUnixEpoch = 11'644'473'600;  // seconds from 1601 to 1970
    const Case cases[] = {
        {0, 1601, 1, 1, 1, 0, 0, 0, 0},
        // A leap day, a century that is not a leap year, and the end of a leap year.
        {(951'827'696 + kUnixEpoch) * kTicks + 7'890'000, 2000, 2, 29, 2, 12, 34, 56, 789},
        {(kUnixEpoch - 2'203'891'200) * kTicks, 1900, 3, 1, 4, 0, 0, 0, 0},
        {(1'735'689'599 + kUnixEpoch) * kTicks, 2024, 12, 31, 2, 23, 59, 59, 0},
    };
    for (const Case& c : cases) {
        const platform::SystemTime time = fileTimeToSystemTime(c.fileTime);
        EXPECT_EQ(time.year, c.year) << c.fileTime;
        EXPECT_EQ(time.month, c.month) << c.fileTime;
        EXPECT_EQ(time.day, c.day) << c.fileTime;
        EXPECT_EQ(time.dayOfWeek, c.dayOfWeek) << c.fileTime;
        EXPECT_EQ(time.hour, c.hour) << c.fileTime;
        EXPECT_EQ(time.minute, c.minute) << c.fileTime;
        EXPECT_EQ(time.second, c.second) << c.fileTime;
        EXPECT_EQ(time.milliseconds, c.milliseconds) << c.fileTime;
    }
}

// Version functions that answer from a table: blocks that a resource compiler does not write.
class ScriptedVersionModules : public platform::ResourceModules {
  public:
    std::map<std::string, std::vector<std::uint8_t>> values;  // by sub-block
    bool blockReadable = true;

    Module loadLibrary(std::string_view) override { return 0; }
    void freeLibrary(Module) override {}
    int loadString(Module, std::uint32_t, std::string& text, int) override {
        text.clear();
        return 0;
    }
    std::uint32_t fileVersionInfoSize(std::string_view) override { return 64; }
    std::optional<std::vector<std::uint8_t>> fileVersionInfo(std::string_view) override {
        if (!blockReadable) return std::nullopt;
        return std::vector<std::uint8_t>(64, 0);
    }
    std::optional<std::vector<std::uint8_t>> queryVersionValue(const std::vector<std::uint8_t>&,
                                                               std::string_view subBlock) override {
        auto it = values.find(std::string(subBlock));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
};

TEST_F(FileVersionTest, TranslationValuesOfOddLengthsAreReadWithinTheirBytes) {
    struct Case {
        std::vector<std::uint8_t> value;
        std::vector<std::string> translations;
    };
    const Case cases[] = {
        {{}, {}},
        {{0xE2}, {"040900E2"}},  // a lone byte: not a word read past the end
        {{0xE2, 0x04, 0x05}, {"040904E2"}},
        {{0x05, 0x04, 0xE2, 0x04, 0x09, 0x04}, {"040504E2"}},  // the last two bytes are no entry
    };
    for (const Case& c : cases) {
        ScriptedVersionModules modules;
        modules.values["\\VarFileInfo\\Translation"] = c.value;
        FileVersionInfo version(modules, machine->system());
        version.setFilename("C:\\x.dll");
        EXPECT_EQ(version.translations(), c.translations) << c.value.size() << " bytes";
    }
}

TEST_F(FileVersionTest, ABlockWithoutFixedPartKeepsItsTextsAndHasZeroNumbers) {
    ScriptedVersionModules modules;
    modules.values["\\StringFileInfo\\040904E4\\FileVersion"] = {'7', '.', '1', 0};
    modules.values["\\"] = {0xBD, 0x04, 0xEF, 0xFE};  // cut short
    FileVersionInfo version(modules, machine->system());
    version.setFilename("C:\\x.dll");
    EXPECT_TRUE(version.fileVersion().valid);
    EXPECT_EQ(version.fileVersion().mostSignificant, 0u);
    EXPECT_EQ(version.fileVersion().text(), "7.1");
    EXPECT_EQ(version.productVersion().text(), "0.0.0.0");
}

TEST_F(FileVersionTest, ABlockThatCannotBeReadAfterItsSizeCountsAsNone) {
    ScriptedVersionModules modules;
    modules.blockReadable = false;
    modules.values["\\StringFileInfo\\040904E4\\FileVersion"] = {'7', 0};
    FileVersionInfo version(modules, machine->system());
    version.setFilename("C:\\x.dll");
    EXPECT_FALSE(version.hasBlock());
    EXPECT_EQ(version.getByIndex(2), "");
    EXPECT_FALSE(version.fileVersion().valid);
}

}  // namespace
}  // namespace tamux
