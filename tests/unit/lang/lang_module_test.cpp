#include "lang/lang_module.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "lang/settings_file.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExecutable = "C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe";
constexpr const char* kSettings = "C:\\Program Files\\Zorv Info\\Tamux\\tamux.ini";
constexpr const char* kModuleBase = "C:\\Program Files\\Zorv Info\\Tamux\\tamux";

// A simulated machine with the program installed in its default folder and none of the language
// modules yet; each test puts beside tamux.exe the modules and settings it needs.
class LangModuleTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder()); }

    // A machine of another code page and system language replaces the blank one.
    void useMachine(unsigned codePage, const char* systemLanguage) {
        fs::path dir = machines.path() / std::to_string(codePage);
        fs::create_directories(dir / "registry");
        std::ofstream(dir / "machine.json")
            << "{\"ansiCodePage\": " << codePage << ", \"systemLanguage\": \"" << systemLanguage
            << "\"}";
        machine = sim::Machine::load(dir, drive.path());
    }

    fs::path folder() const { return drive.path() / "Program Files" / "Zorv Info" / "Tamux"; }

    void install(const std::string& code) {
        fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / ("tamux" + code + ".dll"),
                      folder() / ("tamux" + code + ".dll"));
    }

    void setSetting(const char* key, const std::string& value) {
        ASSERT_TRUE(machine->profile().writeString(kSettings, "Options", key, value));
    }

    // What the settings file holds, read past the code under test.
    std::string setting(const char* key) {
        return machine->profile().getString(kSettings, "Options", key, "(absent)", 2048);
    }

    const std::vector<sim::MessageBoxCall>& boxes() { return machine->dialogs().messageBoxes(); }

    test::TempDir drive;
    test::TempDir machines;
    std::unique_ptr<sim::Machine> machine = sim::Machine::blank(drive.path());
};

TEST_F(LangModuleTest, FreshSettingsOnAGermanSystemLoadTheGermanModuleAndRecordIt) {
    machine->system().setSystemLanguage(0x0407);
    install("EN");
    install("DE");
    LangModule lang(machine->platform());
    EXPECT_TRUE(lang.loadLangModule());

    EXPECT_EQ(machine->modules().modulePath(lang.handle()), folder() / "tamuxDE.dll");
    EXPECT_EQ(lang.getLangText(601), "Tastatur");
    EXPECT_EQ(setting("Language"), "DE");
    EXPECT_EQ(setting("RunLang"), "DE");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(LangModuleTest, AChosenLanguageWithoutModuleShowsTheCzechMessageAndFallsBackToEnglish) {
    machine->system().setSystemLanguage(0x0407);  // the system language plays no part here
    install("EN");
    install("DE");
    setSetting("Language", "IT");
    LangModule lang(machine->platform());
    lang.loadLangModule();

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Jazykov\xE1 mutace IT modulu neexistuje!");
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_EQ(boxes()[0].type, platform::mb::kOk | platform::mb::kIconError);
    EXPECT_EQ(lang.getLangText(601), "Keyboard");
    EXPECT_EQ(setting("Language"), "EN");
    EXPECT_EQ(setting("RunLang"), "EN");
}

TEST_F(LangModuleTest, AnAvailableChosenLanguageIsLoadedAndLeftAsWritten) {
    install("EN");
    install("FR");
    // The code is used unchanged: Windows finds tamuxfr.dll as tamuxFR.dll.
    setSetting("Language", "fr");
    LangModule lang(machine->platform());
    lang.loadLangModule();

    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(lang.getLangText(602), "Souris");
    EXPECT_EQ(setting("Language"), "fr");
    EXPECT_EQ(setting("RunLang"), "fr");
}

TEST_F(LangModuleTest, TheMissingValueMarkerInTheFileBehavesAsAnAbsentKey) {
    machine->system().setSystemLanguage(0x0407);
    install("EN");
    install("DE");
    setSetting("Language", "<Error>");
    LangModule lang(machine->platform());
    lang.loadLangModule();

    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(lang.getLangText(52),
              "Schlie\xDF"
              "en");
    EXPECT_EQ(setting("Language"), "DE");
    EXPECT_EQ(setting("RunLang"), "DE");
}

TEST_F(LangModuleTest, AnEmptyLanguageFormsThePathWithoutACode) {
    install("EN");
    setSetting("Language", "");
    // Without such a module: the message names the empty code, and English is used.
    EXPECT_EQ(langModulePath(machine->platform()), std::string(kModuleBase) + "EN.dll");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Jazykov\xE1 mutace  modulu neexistuje!");
    EXPECT_EQ(setting("Language"), "EN");

    // With a file of exactly that name, it is the module.
    setSetting("Language", "");
    fs::copy_file(folder() / "tamuxEN.dll", folder() / "tamux.dll");
    EXPECT_EQ(langModulePath(machine->platform()), std::string(kModuleBase) + ".dll");
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(setting("Language"), "");
    EXPECT_EQ(setting("RunLang"), "");
}

TEST_F(LangModuleTest, ALanguageCodeThatNamesAFolderIsNotFollowed) {
    install("EN");
    // A module that the code would reach: tamux\plugins\DE.dll beside the program.
    fs::create_directories(folder() / "tamux" / "plugins");
    fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / "tamuxDE.dll",
                  folder() / "tamux" / "plugins" / "DE.dll");
    ASSERT_TRUE(
        machine->platform().files.fileExists(std::string(kModuleBase) + "\\plugins\\DE.dll"));

    for (const char* code : {"\\plugins\\DE", "/plugins/DE", "C:DE"}) {
        SCOPED_TRACE(code);
        setSetting("Language", code);
        LangModule lang(machine->platform());
        lang.loadLangModule();
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().text,
                  std::string("Jazykov\xE1 mutace ") + code + " modulu neexistuje!");
        EXPECT_EQ(lang.getLangText(601), "Keyboard");
        EXPECT_EQ(setting("Language"), "EN");
    }
}

TEST_F(LangModuleTest, WithoutTheEnglishModuleEitherEveryTextIsTheFallback) {
    install("DE");
    setSetting("Language", "IT");
    LangModule lang(machine->platform());
    EXPECT_TRUE(lang.loadLangModule());

    EXPECT_EQ(boxes().size(), 1u);  // for IT only: English is not tested again
    EXPECT_EQ(lang.handle(), 0u);
    EXPECT_EQ(lang.getLangText(601), "<No load message>");
    EXPECT_EQ(setting("Language"), "EN");
    EXPECT_EQ(setting("RunLang"), "EN");
}

TEST_F(LangModuleTest, AModuleFileThatCannotBeLoadedGivesNoMessageAndFallbackTexts) {
    machine->system().setSystemLanguage(0x0407);
    std::ofstream(folder() / "tamuxDE.dll") << "not a module";
    LangModule lang(machine->platform());
    lang.loadLangModule();

    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(lang.handle(), 0u);
    EXPECT_EQ(lang.getLangText(10), "<No load message>");
    EXPECT_EQ(setting("RunLang"), "DE");
}

TEST_F(LangModuleTest, AnUnwritableSettingsFileStillLoadsTheSystemLanguage) {
    machine->system().setSystemLanguage(0x040C);
    install("FR");
    machine->profile().setWritesFail(true);
    LangModule lang(machine->platform());
    EXPECT_NO_THROW(lang.loadLangModule());

    EXPECT_EQ(lang.getLangText(601), "Clavier");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(setting("Language"), "(absent)");
    EXPECT_GE(machine->profile().writeCount(), 2);  // "Language" and "RunLang" were attempted
}

TEST_F(LangModuleTest, LoadingAgainReleasesTheModuleLoadedBefore) {
    install("EN");
    install("DE");
    LangModule lang(machine->platform());
    lang.loadLangModule();
    EXPECT_EQ(lang.getLangText(601), "Keyboard");
    setSetting("Language", "DE");
    lang.loadLangModule();

    EXPECT_EQ(machine->modules().loadedModuleCount(), 1u);
    EXPECT_EQ(lang.getLangText(601), "Tastatur");
}

TEST_F(LangModuleTest, ACzechSystemGetsCzechTextsInItsOwnCodePage) {
    useMachine(1250, "0x0405");
    install("EN");
    install("CSY");
    LangModule lang(machine->platform());
    lang.loadLangModule();

    EXPECT_EQ(setting("Language"), "CSY");
    EXPECT_EQ(lang.getLangText(52), "Zav\xF8\xEDt");   // Zavřít
    EXPECT_EQ(lang.getLangText(602), "My\x9A");        // Myš
    EXPECT_EQ(lang.getLangText(5591), "Tisk\xE1rny");  // Tiskárny
}

TEST_F(LangModuleTest, ARussianSystemGetsRussianTextsInItsOwnCodePage) {
    useMachine(1251, "0x0419");
    install("EN");
    install("RUS");
    LangModule lang(machine->platform());
    lang.loadLangModule();

    EXPECT_EQ(setting("RunLang"), "RUS");
    EXPECT_EQ(lang.getLangText(602), "\xCC\xFB\xF8\xFC");  // Мышь
}

TEST(defaultLangCode, MapsThePrimaryLanguageOfTheSystemDefault) {
    test::TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    struct Row {
        std::uint16_t langId;
        const char* code;
    } rows[] = {
        {0x0405, "CSY"}, {0x0407, "DE"},  {0x0409, "EN"},           {0x040A, "ES"}, {0x040C, "FR"},
        {0x0410, "IT"},  {0x0419, "RUS"}, {0x0415, "EN"},  // Polish has no module
        {0x0807, "DE"},  {0x0C0A, "ES"},  {0x080C, "FR"},           {0x0810, "IT"},  // sublanguages
        {0x0809, "EN"},  {0x0000, "EN"},  {0x0419 | 0xFC00, "RUS"},  // only the low 10 bits
        {0xFC05, "CSY"},
    };
    for (const Row& row : rows) {
        machine->system().setSystemLanguage(row.langId);
        EXPECT_EQ(defaultLangCode(machine->system()), row.code) << "language id " << row.langId;
    }
}

// Lookups in a module whose texts lie at the limits of the lookup.
class LangTextTest : public LangModuleTest {
  protected:
    void SetUp() override {
        LangModuleTest::SetUp();
        fs::copy_file(TAMUX_LANG_TEST_MODULE, folder() / "tamuxTEST.dll");
        setSetting("Language", "TEST");
        lang.loadLangModule();
        ASSERT_NE(lang.handle(), 0u);
    }

    LangModule lang{machine->platform()};
};

TEST_F(LangTextTest, ALongTextComesBackAsItsFirst1023Bytes) {
    std::string full;
    for (int i = 0; i < 240; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%04d,", i);
        full += number;
    }
    ASSERT_EQ(full.size(), 1200u);
    EXPECT_EQ(lang.getLangText(1), full.substr(0, 1023));
    EXPECT_EQ(lang.getLangText(8), std::string(1023, 'x'));
}

TEST_F(LangTextTest, AMissingOrEmptyTextIsExactlyTheFallbackAndAlwaysOverwrites) {
    for (TextId id : {2u, 9u, 15u, 16u, 1000u, 65535u}) {
        std::string text = "sentinel";
        lang.getLangText(id, text);
        EXPECT_EQ(text, "<No load message>") << "id " << id;
    }
    std::string text = "sentinel";
    lang.getLangText(17, text);
    EXPECT_EQ(text, "seventeen");
}

TEST_F(LangTextTest, ATextIsCutAtItsFirstNulButNeverToNothing) {
    EXPECT_EQ(lang.getLangText(4), "before");
    EXPECT_EQ(lang.getLangText(3), "<No load message>");
}

TEST_F(LangTextTest, TextsArriveInTheSystemCodePage) {
    // A Western system: letters of 1252 arrive as such, others as the system converts them.
    EXPECT_EQ(lang.getLangText(7), "Ein- und Ausgabeger\xE4te");
    std::string czech = lang.getLangText(5);
    EXPECT_EQ(czech.size(), 6u);
    EXPECT_EQ(czech.substr(0, 3), "Zav");
    EXPECT_EQ(czech.substr(4), "\xEDt");
}

TEST(LangModuleWithoutLoad, EveryTextIsTheFallback) {
    test::TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    LangModule lang(machine->platform());
    EXPECT_EQ(lang.handle(), 0u);
    EXPECT_EQ(lang.getLangText(1), "<No load message>");
    EXPECT_EQ(loadModuleString(machine->modules(), 0, 1), "<No load message>");
}

}  // namespace
}  // namespace tamux
