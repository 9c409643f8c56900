// A simulated machine with Tamux installed in its default folder, and the test modules built
// beside this test program; each test puts into the folder what it needs.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_shell.h"
#include "tests/support/test_paths.h"

namespace tamux::test {

inline constexpr const char* kExecutable = "C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe";
inline constexpr const char* kSettings = "C:\\Program Files\\Zorv Info\\Tamux\\tamux.ini";

// A module built from tests/unit/dialogs/<name>.rc, or the executable's version resource
// ("tamux_version").
inline std::filesystem::path testModule(const std::string& name) {
    return std::filesystem::path(TAMUX_DIALOGS_TEST_MODULES) / (name + ".dll");
}

class ProgramFolderTest : public ::testing::Test {
  protected:
    ProgramFolderTest() { std::filesystem::create_directories(folder()); }

    std::filesystem::path folder() const {
        return drive.path() / "Program Files" / "Zorv Info" / "Tamux";
    }

    // Makes the test module `name` the program's executable.
    void installExecutable(const std::string& name) {
        std::filesystem::copy_file(testModule(name), folder() / "tamux.exe",
                                   std::filesystem::copy_options::overwrite_existing);
    }

    // Puts a file `name` beside the executable.
    void putFile(const std::string& name, const std::string& content = "MZ") {
        std::ofstream(folder() / name, std::ios::binary) << content;
    }

    void setSetting(const char* key, const std::string& value) {
        ASSERT_TRUE(machine->profile().writeString(kSettings, "Options", key, value));
    }

    // What the settings file holds, read past the code under test.
    std::string setting(const char* key) {
        return machine->profile().getString(kSettings, "Options", key, "(absent)", 2048);
    }

    // The settings file's bytes; "(no file)" when there is none.
    std::string settingsFileContent() const {
        std::ifstream in(folder() / "tamux.ini", std::ios::binary);
        if (!in) return "(no file)";
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    const std::vector<sim::MessageBoxCall>& boxes() { return machine->dialogs().messageBoxes(); }
    const std::vector<sim::ShellExecuteCall>& launches() { return machine->shell().calls(); }

    TempDir drive;
    std::unique_ptr<sim::Machine> machine = sim::Machine::blank(drive.path());
};

}  // namespace tamux::test
