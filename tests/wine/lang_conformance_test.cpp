// The language module's choice and the text lookup on the real Win32 API (under Wine) and on the
// simulated machine: the same program folder, the same modules, the same settings file, and the
// texts that LoadStringA hands over in the system's code page. The simulated side is set to the
// real system's code page and default language, so that both sides face the same system.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "platform/print_canvas.h"
#include "platform/relocated_system.h"
#include "platform/sim/codepage.h"
#include "platform/sim/machine.h"
#include "platform/win32/real_platform.h"
#include "tests/support/test_paths.h"
#include "tests/unit/lang/lang_source.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"

namespace tamux::wine_test {
namespace {

namespace fs = std::filesystem;

fs::path configuredOr(const char* variable, const fs::path& fallback) {
    std::string configured = environment(variable);
    return configured.empty() ? fallback : fs::path(configured);
}

// The build's language modules, the test module beside this program, and the text sources.
fs::path moduleDir() {
    return configuredOr("TAMUX_LANG_MODULE_DIR", test::binaryDir() / "suite" / "Tamux");
}
fs::path testModule() {
    return configuredOr("TAMUX_LANG_TEST_MODULE",
                        test::binaryDir() / "wine-tests" / "tamuxTEST.dll");
}
fs::path sourceDir() {
    return configuredOr("TAMUX_LANG_SOURCE_DIR", test::sourceDir() / "data" / "lang");
}

// The real system's code page, as far as the simulated machine knows code pages.
unsigned realCodePage() {
    win32::Win32System system;
    unsigned codePage = system.ansiCodePage();
    return sim::isSupportedCodePage(codePage) ? codePage : 1252;
}

// The user in front of the message boxes: they are recorded, never shown (a real one would wait
// for a click that never comes).
class RecordingDialogs : public platform::Dialogs {
  public:
    struct Box {
        std::string text, caption;
        std::uint32_t type;
    };
    int messageBox(std::string_view text, std::string_view caption, std::uint32_t type) override {
        boxes.push_back({std::string(text), std::string(caption), type});
        return platform::mb::kIdOk;
    }
    std::optional<std::string> saveFile(const platform::SaveDialogRequest&) override {
        return std::nullopt;
    }
    std::unique_ptr<platform::PrintCanvas> printDialog() override { return nullptr; }

    std::vector<Box> boxes;
};

// The real machine: a program folder under the prefix's temporary folder.
class Win32LangSide {
  public:
    static constexpr const char* kName = "Win32";

    platform::Platform platform() {
        platform::Platform real = real_.platform();
        return platform::Platform{real.registry, system_,    real.files,   real.profile,
                                  real.modules,  real.shell, dialogs_,     real.keyboard,
                                  real.spooler,  real.clock, real.parallel};
    }
    fs::path hostFolder() const { return folder_.path(); }
    std::string executable() const { return (folder_.path() / "tamux.exe").string(); }
    RecordingDialogs& dialogs() { return dialogs_; }

  private:
    test::TempDir folder_;
    win32::RealPlatform real_;
    RecordingDialogs dialogs_;
    platform::RelocatedSystem system_{real_.platform().system, executable()};
};

// The simulated machine, with the real system's code page and default language.
class SimLangSide {
  public:
    static constexpr const char* kName = "Sim";

    SimLangSide() { fs::create_directories(hostFolder()); }

    platform::Platform platform() {
        platform::Platform sim = machine_->platform();
        return platform::Platform{sim.registry, system_,   sim.files,   sim.profile,
                                  sim.modules,  sim.shell, dialogs_,    sim.keyboard,
                                  sim.spooler,  sim.clock, sim.parallel};
    }
    fs::path hostFolder() const { return drive_.path() / "Tamux"; }
    std::string executable() const { return "C:\\Tamux\\tamux.exe"; }
    RecordingDialogs& dialogs() { return dialogs_; }

  private:
    static std::unique_ptr<sim::Machine> loadMachine(const fs::path& machineDir,
                                                     const fs::path& drive) {
        fs::create_directories(machineDir / "registry");
        char language[8];
        std::snprintf(language, sizeof language, "0x%04X",
                      win32::Win32System().systemDefaultLangId());
        std::ofstream(machineDir / "machine.json")
            << "{\"ansiCodePage\": " << realCodePage() << ", \"systemLanguage\": \"" << language
            << "\"}";
        auto machine = sim::Machine::load(machineDir, drive);
        machine->setProgramArchitecture(kThisProgram);
        return machine;
    }

    test::TempDir drive_;
    test::TempDir machineDir_;
    std::unique_ptr<sim::Machine> machine_ = loadMachine(machineDir_.path(), drive_.path());
    RecordingDialogs dialogs_;
    platform::RelocatedSystem system_{machine_->platform().system, executable()};
};

template <typename Side>
class LangConformance : public ::testing::Test {
  protected:
    void install(const std::string& code) {
        fs::copy_file(moduleDir() / ("tamux" + code + ".dll"),
                      side.hostFolder() / ("tamux" + code + ".dll"),
                      fs::copy_options::overwrite_existing);
    }
    void installAll() {
        for (const auto& language : test::kLanguages) install(language.code);
    }

    std::string settings() { return settingsFilePath(side.executable()); }
    std::string setting(const char* key) {
        return side.platform().profile.getString(settings(), "Options", key, "(absent)", 2048);
    }

    // The source text of `id` in `code`, as the system's code page writes it.
    std::string expectedText(const std::string& code, TextId id) {
        auto texts = test::readRcTexts(sourceDir() / (code + ".rc"));
        EXPECT_TRUE(texts.count(id)) << code << ".rc lacks text id " << id;
        return sim::narrowUtf16(side.platform().system.ansiCodePage(), sim::utf8ToUtf16(texts[id]));
    }

    Side side;
};

using LangSides = ::testing::Types<Win32LangSide, SimLangSide>;
TYPED_TEST_SUITE(LangConformance, LangSides, SideName);

TYPED_TEST(LangConformance, AFreshSettingsFileGetsTheSystemsLanguage) {
    this->installAll();
    LangModule lang(this->side.platform());
    lang.loadLangModule();

    const std::string code = defaultLangCode(this->side.platform().system);
    std::string expected = environment("TAMUX_EXPECTED_LANG");
    if (!expected.empty()) {
        EXPECT_EQ(code, expected) << "the language of the locale";
    }
    EXPECT_TRUE(this->side.dialogs().boxes.empty());
    EXPECT_NE(lang.handle(), 0u);
    EXPECT_EQ(this->setting("Language"), code);
    EXPECT_EQ(this->setting("RunLang"), code);
    EXPECT_EQ(lang.getLangText(601), this->expectedText(code, 601));
}

TYPED_TEST(LangConformance, AChosenLanguageWithoutModuleFallsBackToEnglish) {
    this->install("EN");
    ASSERT_TRUE(writeIniValue(this->side.platform().profile, this->settings(), "Options",
                              "Language", "IT"));
    LangModule lang(this->side.platform());
    lang.loadLangModule();

    ASSERT_EQ(this->side.dialogs().boxes.size(), 1u);
    EXPECT_EQ(this->side.dialogs().boxes[0].text, "Jazykov\xE1 mutace IT modulu neexistuje!");
    EXPECT_EQ(this->side.dialogs().boxes[0].caption, "Error");
    EXPECT_EQ(lang.getLangText(602), "Mouse");
    EXPECT_EQ(this->setting("Language"), "EN");
    EXPECT_EQ(this->setting("RunLang"), "EN");
}

TYPED_TEST(LangConformance, TextsAtTheLimitsOfTheLookup) {
    fs::copy_file(testModule(), this->side.hostFolder() / "tamuxTEST.dll");
    ASSERT_TRUE(writeIniValue(this->side.platform().profile, this->settings(), "Options",
                              "Language", "TEST"));
    LangModule lang(this->side.platform());
    lang.loadLangModule();
    ASSERT_NE(lang.handle(), 0u);

    std::string first = lang.getLangText(1);
    EXPECT_EQ(first.size(), 1023u);
    EXPECT_EQ(first.substr(0, 10), "0000,0001,");
    EXPECT_EQ(first.substr(1015), "0203,020");
    EXPECT_EQ(lang.getLangText(8), std::string(1023, 'x'));
    for (TextId id : {2u, 3u, 9u, 1000u}) {
        EXPECT_EQ(lang.getLangText(id), "<No load message>") << "id " << id;
    }
    EXPECT_EQ(lang.getLangText(4), "before");
    EXPECT_EQ(lang.getLangText(17), "seventeen");
}

TYPED_TEST(LangConformance, EveryTextOfTheCodePagesOwnLanguagesArrivesAsWritten) {
    this->installAll();
    const unsigned codePage = this->side.platform().system.ansiCodePage();
    const auto ids = test::readTextIds(sourceDir() / "text_ids.txt");
    ASSERT_FALSE(ids.empty());
    int checked = 0;
    for (const auto& language : test::kLanguages) {
        if (language.codePage != codePage) continue;
        const std::string code = language.code;
        auto texts = test::readRcTexts(sourceDir() / (code + ".rc"));
        platform::ResourceModules& modules = this->side.platform().modules;
        auto module = modules.loadLibrary(langModuleFileName(this->side.executable(), code));
        ASSERT_NE(module, 0u) << code;
        for (TextId id : ids) {
            std::string expected = sim::narrowUtf16(codePage, sim::utf8ToUtf16(texts[id]));
            EXPECT_EQ(loadModuleString(modules, module, id), expected) << code << " id " << id;
        }
        modules.freeLibrary(module);
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "no module is written for code page " << codePage;
}

// Both sides hand over the same bytes for every text of every module, also where a module's
// letters are not in the system's code page.
TEST(LangSidesAgree, OnEveryTextOfEveryModule) {
    Win32LangSide real;
    SimLangSide simulated;
    const auto ids = test::readTextIds(sourceDir() / "text_ids.txt");
    ASSERT_FALSE(ids.empty());
    for (const auto& language : test::kLanguages) {
        const std::string code = language.code;
        fs::path module = moduleDir() / ("tamux" + code + ".dll");
        fs::copy_file(module, real.hostFolder() / module.filename());
        fs::copy_file(module, simulated.hostFolder() / module.filename());
        platform::ResourceModules& realModules = real.platform().modules;
        platform::ResourceModules& simModules = simulated.platform().modules;
        auto realModule = realModules.loadLibrary(langModuleFileName(real.executable(), code));
        auto simModule = simModules.loadLibrary(langModuleFileName(simulated.executable(), code));
        ASSERT_NE(realModule, 0u) << code;
        ASSERT_NE(simModule, 0u) << code;
        for (TextId id : ids) {
            std::string fromReal = loadModuleString(realModules, realModule, id);
            std::string fromSim = loadModuleString(simModules, simModule, id);
            EXPECT_EQ(fromSim, fromReal)
                << code << " id " << id << ": real " << describe(bytesOf(fromReal, false))
                << ", simulated " << describe(bytesOf(fromSim, false));
        }
        realModules.freeLibrary(realModule);
        simModules.freeLibrary(simModule);
    }
}

}  // namespace
}  // namespace tamux::wine_test
