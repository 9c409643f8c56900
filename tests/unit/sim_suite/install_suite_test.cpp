// installSuite: the build's suite laid out around a simulated machine's program, as the program
// then finds it, and suite folders that lack a file.
#include "tools/sim_suite/install_suite.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "lang/lang_module.h"
#include "platform/errors.h"
#include "platform/sim/machine.h"
#include "tests/support/test_paths.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;

TEST(installSuite, TheProgramLoadsTheChosenModuleAndFindsTheDatabases) {
    TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    installSuite(*machine, TAMUX_SUITE_DIR, "DE");

    // The module is found only beside tamux.exe, and chosen only through the settings file.
    LangModule lang(machine->platform());
    ASSERT_TRUE(lang.loadLangModule());
    EXPECT_EQ(lang.getLangText(10), "Bericht");
    EXPECT_EQ(lang.getLangText(601), "Tastatur");
    for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
        const std::string path = std::string("..\\SHARED\\DATABASES\\") + name;
        EXPECT_TRUE(machine->platform().files.fileExists(path)) << path;
    }
}

TEST(installSuite, ASecondInstallReplacesTheFirst) {
    TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    installSuite(*machine, TAMUX_SUITE_DIR, "DE");
    ASSERT_NO_THROW(installSuite(*machine, TAMUX_SUITE_DIR, "EN"));
    LangModule lang(machine->platform());
    ASSERT_TRUE(lang.loadLangModule());
    EXPECT_EQ(lang.getLangText(10), "Report");
}

// A copy of the build's suite with one file taken out.
void copySuiteWithout(const fs::path& to, const fs::path& missing) {
    fs::copy(TAMUX_SUITE_DIR, to, fs::copy_options::recursive);
    fs::remove(to / missing);
}

TEST(installSuite, AMissingFileIsNamed) {
    for (const fs::path& missing :
         {fs::path("Tamux") / "tamuxEN.dll", fs::path("SHARED") / "DATABASES" / "Mouse.txt"}) {
        TempDir drive, suite;
        copySuiteWithout(suite.path() / "suite", missing);
        auto machine = sim::Machine::blank(drive.path());
        try {
            installSuite(*machine, suite.path() / "suite", "EN");
            ADD_FAILURE() << "no error without " << missing;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Missing " + (suite.path() / "suite" / missing).string());
        }
    }
}

}  // namespace
}  // namespace tamux::test
