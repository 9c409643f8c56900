// The version-resource reader of the About dialog over the real GetFileVersionInfoA and
// VerQueryValueA (under Wine) and over the simulated machine's PE resource reader: the same test
// modules give the same translations, texts and version numbers on both sides. And the system's
// error text as the dialog shows it, through the real FormatMessageA.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about/file_version.h"
#include "about/sys_error_text.h"
#include "platform/sim/codepage.h"
#include "platform/sim/machine.h"
#include "platform/win32/real_platform.h"
#include "tests/support/test_paths.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"

namespace tamux::wine_test {
namespace {

namespace fs = std::filesystem;

// The modules built for this test, in "about" beside the conformance program.
fs::path moduleDir() {
    const std::string configured = environment("TAMUX_ABOUT_TEST_MODULES");
    if (!configured.empty()) return configured;
    return fs::path(win32::Win32System().executablePath()).parent_path() / "about";
}

// The test modules: what each is, and what both sides must read from it.
struct TestModule {
    const char* name;
    std::vector<std::string> translations;
    const char* internalName;  // key 3
};
const TestModule kModules[] = {
    {"version_full", {"040504E2", "040904E4"}, "Internal (cs)"},
    {"version_untranslated", {}, "English table"},
    {"version_short_translation", {"040904E2"}, "Zorv Info Tamux!"},
    {"version_none", {}, ""},
    {"tamux_version", {"040504E2"}, "Zorv Info Tamux"},
};

class Win32VersionSide {
  public:
    static constexpr const char* kName = "Win32";

    // Copies the module into the side's folder; returns its Windows path.
    std::string place(const std::string& name) {
        const fs::path file = folder_.path() / (name + ".dll");
        fs::copy_file(moduleDir() / (name + ".dll"), file, fs::copy_options::overwrite_existing);
        return file.string();
    }
    platform::ResourceModules& modules() { return modules_; }
    platform::System& system() { return system_; }

  private:
    test::TempDir folder_;
    win32::Win32ResourceModules modules_;
    win32::Win32System system_;
};

// The simulated machine, in the real system's code page.
class SimVersionSide {
  public:
    static constexpr const char* kName = "Sim";

    SimVersionSide() {
        fs::create_directories(machineDir_.path() / "registry");
        unsigned codePage = win32::Win32System().ansiCodePage();
        if (!sim::isSupportedCodePage(codePage)) codePage = 1252;
        std::ofstream(machineDir_.path() / "machine.json")
            << "{\"ansiCodePage\": " << codePage << "}";
        machine_ = sim::Machine::load(machineDir_.path(), drive_.path());
        machine_->setProgramArchitecture(kThisProgram);
        fs::create_directories(drive_.path() / "Tamux");
    }

    std::string place(const std::string& name) {
        fs::copy_file(moduleDir() / (name + ".dll"), drive_.path() / "Tamux" / (name + ".dll"),
                      fs::copy_options::overwrite_existing);
        return "C:\\Tamux\\" + name + ".dll";
    }
    platform::ResourceModules& modules() { return machine_->platform().modules; }
    platform::System& system() { return machine_->platform().system; }

  private:
    test::TempDir drive_;
    test::TempDir machineDir_;
    std::unique_ptr<sim::Machine> machine_;
};

template <typename Side>
class AboutConformance : public ::testing::Test {
  protected:
    Side side;
};

using VersionSides = ::testing::Types<Win32VersionSide, SimVersionSide>;
TYPED_TEST_SUITE(AboutConformance, VersionSides, SideName);

TYPED_TEST(AboutConformance, EachTestModuleGivesItsTranslationsAndName) {
    for (const TestModule& module : kModules) {
        ASSERT_TRUE(fs::exists(moduleDir() / (std::string(module.name) + ".dll")))
            << "expected the test module " << module.name << " in " << moduleDir().string();
        FileVersionInfo version(this->side.modules(), this->side.system());
        version.setFilename(this->side.place(module.name));
        EXPECT_EQ(version.translations(), module.translations) << module.name;
        EXPECT_EQ(version.getByIndex(3), module.internalName) << module.name;
    }
}

TYPED_TEST(AboutConformance, TheProgramsVersionResourceReadsAsTheDialogShowsIt) {
    FileVersionInfo version(this->side.modules(), this->side.system());
    version.setForceEXE(true);
    version.setFilename(this->side.place("tamux_version"));
    EXPECT_EQ(version.getByIndex(2), "1.0.0.608");
    EXPECT_EQ(version.getByIndex(8), "1.00");
    EXPECT_EQ(version.getByIndex(4).substr(0, 14), "Copyright (C) ");
    EXPECT_EQ(version.getByIndex(5), "") << "LegalTrademarks is empty";
    EXPECT_EQ(version.getByIndex(6), "tamux.exe");
    EXPECT_EQ(version.fileVersion().mostSignificant, 0x00010000u);
    EXPECT_EQ(version.fileVersion().leastSignificant, 0x00000260u);
    EXPECT_EQ(version.productVersion().text(), "1.00");
}

// Both sides agree on everything the reader gives, for every test module.
TEST(AboutSidesAgree, OnEveryValueOfEveryTestModule) {
    Win32VersionSide real;
    SimVersionSide simulated;
    int compared = 0;
    for (const TestModule& module : kModules) {
        FileVersionInfo a(real.modules(), real.system());
        FileVersionInfo b(simulated.modules(), simulated.system());
        a.setFilename(real.place(module.name));
        b.setFilename(simulated.place(module.name));
        for (int translation = 0; translation < 2; ++translation) {
            a.setTranslationIndex(translation);
            b.setTranslationIndex(translation);
            ASSERT_EQ(a.translationIndex(), b.translationIndex()) << module.name;
            EXPECT_EQ(a.hasBlock(), b.hasBlock()) << module.name;
            EXPECT_EQ(a.translations(), b.translations()) << module.name;
            for (int key = 0; key < kVersionKeyCount; ++key) {
                EXPECT_EQ(a.getByIndex(key), b.getByIndex(key))
                    << module.name << " " << kVersionKeys[key] << " translation " << translation;
                ++compared;
            }
            for (auto number : {&FileVersionInfo::fileVersion, &FileVersionInfo::productVersion}) {
                const VersionNumber& x = (a.*number)();
                const VersionNumber& y = (b.*number)();
                EXPECT_EQ(x.valid, y.valid) << module.name;
                EXPECT_EQ(x.mostSignificant, y.mostSignificant) << module.name;
                EXPECT_EQ(x.leastSignificant, y.leastSignificant) << module.name;
                EXPECT_EQ(x.text(), y.text()) << module.name;
            }
        }
    }
    std::printf("[ compared ] about: %d version texts on both sides\n", compared);
}

TEST(AboutSystemErrorText, FileNotFoundLosesItsFullStopAndLineBreak) {
    win32::Win32Shell shell;
    const std::string system = shell.systemMessage(2);
    ASSERT_GT(system.size(), 3u) << "no system text for error 2";
    ASSERT_EQ(system.substr(system.size() - 3), ".\r\n") << "'" << system << "'";
    const std::string shown = sysErrorText(shell, 2);
    EXPECT_EQ(shown, "SysErr: " + system.substr(0, system.size() - 3));
    EXPECT_NE(shown.back(), '.');
}

}  // namespace
}  // namespace tamux::wine_test
