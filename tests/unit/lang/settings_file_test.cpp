#include "lang/settings_file.h"

#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/sim/sim_profile.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

TEST(settingsFilePath, ReplacesOnlyTheExtensionOfTheFileName) {
    EXPECT_EQ(settingsFilePath("C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe"),
              "C:\\Program Files\\Zorv Info\\Tamux\\tamux.ini");
    // Only the last extension goes.
    EXPECT_EQ(settingsFilePath("C:\\Tamux\\tamux.old.exe"), "C:\\Tamux\\tamux.old.ini");
    // A name without extension gets one, also when a folder name has a dot.
    EXPECT_EQ(settingsFilePath("C:\\Zorv.Info\\tamux"), "C:\\Zorv.Info\\tamux.ini");
    EXPECT_EQ(settingsFilePath("C:/Zorv.Info/tamux"), "C:/Zorv.Info/tamux.ini");
    EXPECT_EQ(settingsFilePath("tamux"), "tamux.ini");
    EXPECT_EQ(settingsFilePath("C:tamux.exe"), "C:tamux.ini");
    EXPECT_EQ(pathWithoutExtension("C:\\Zorv.Info\\tamux.exe"), "C:\\Zorv.Info\\tamux");
    EXPECT_EQ(pathWithoutExtension("C:\\Zorv.Info\\tamux"), "C:\\Zorv.Info\\tamux");
}

// A settings file on a simulated machine, written through the profile as Windows would.
class IniValueTest : public ::testing::Test {
  protected:
    test::TempDir drive;
    std::unique_ptr<sim::Machine> machine = sim::Machine::blank(drive.path());
    platform::Profile& profile = machine->platform().profile;
    const std::string file = "C:\\tamux.ini";

    void store(std::string_view key, std::string_view value) {
        ASSERT_TRUE(profile.writeString(file, "Options", key, value));
    }
};

TEST_F(IniValueTest, ReadsAStoredValueWhateverTheCaseOfTheNames) {
    store("Language", "DE");
    std::string value = "sentinel";
    EXPECT_TRUE(readIniValue(profile, file, "options", "LANGUAGE", value));
    EXPECT_EQ(value, "DE");
}

TEST_F(IniValueTest, AnAbsentFileSectionOrKeyGivesTheMarkerAndFalse) {
    std::string value = "sentinel";
    EXPECT_FALSE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "<Error>");

    store("RunLang", "EN");
    value = "sentinel";
    EXPECT_FALSE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "<Error>");
    value = "sentinel";
    EXPECT_FALSE(readIniValue(profile, file, "Other", "RunLang", value));
    EXPECT_EQ(value, "<Error>");
}

TEST_F(IniValueTest, TheMarkerItselfCountsAsAbsentButAnEmptyValueIsARead) {
    store("Language", "<Error>");
    std::string value;
    EXPECT_FALSE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "<Error>");

    store("Language", "");
    value = "sentinel";
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "");

    // Only the exact marker is absent.
    store("Language", "<error>");
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "<error>");
}

TEST_F(IniValueTest, ALongValueComesBackCutTo2047Characters) {
    std::string stored;
    for (int i = 0; stored.size() < 3000; ++i) stored += std::to_string(i % 10);
    store("Language", stored);
    std::string value;
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, stored.substr(0, 2047));

    store("Language", stored.substr(0, 2047));
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value.size(), 2047u);
}

TEST_F(IniValueTest, WritesCreateTheFileAndReplaceValues) {
    EXPECT_TRUE(writeIniValue(profile, file, "Options", "Language", "FR"));
    EXPECT_TRUE(writeIniValue(profile, file, "Options", "RunLang", "FR"));
    EXPECT_TRUE(writeIniValue(profile, file, "Options", "Language", "IT"));
    std::string value;
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "IT");
    EXPECT_TRUE(readIniValue(profile, file, "Options", "RunLang", value));
    EXPECT_EQ(value, "FR");
}

TEST_F(IniValueTest, AFailedWriteIsSwallowedAndLeavesTheFileAsItWas) {
    store("Language", "DE");
    machine->profile().setWritesFail(true);
    bool result = true;
    EXPECT_NO_THROW(result = writeIniValue(profile, file, "Options", "Language", "EN"));
    EXPECT_FALSE(result);
    machine->profile().setWritesFail(false);
    std::string value;
    EXPECT_TRUE(readIniValue(profile, file, "Options", "Language", value));
    EXPECT_EQ(value, "DE");
}

// A profile whose every call raises, as a failing implementation might.
class RaisingProfile : public platform::Profile {
  public:
    std::string getString(std::string_view, std::string_view, std::string_view, std::string_view,
                          std::size_t) override {
        throw Error("Unable to read");
    }
    bool writeString(std::string_view, std::string_view, std::string_view,
                     std::string_view) override {
        throw std::runtime_error("Unable to write");
    }
};

TEST(IniValueErrors, AReadOrWriteThatRaisesGivesFalseAndAnEmptyValue) {
    RaisingProfile profile;
    std::string value = "sentinel";
    EXPECT_FALSE(readIniValue(profile, "C:\\tamux.ini", "Options", "Language", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(writeIniValue(profile, "C:\\tamux.ini", "Options", "Language", "EN"));
}

}  // namespace
}  // namespace tamux
