// The settings-file reads and writes of the simulated machine, on real files.
#include "platform/sim/sim_profile.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/sim/path_map.h"
#include "tests/support/test_paths.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;

class SimProfileTest : public ::testing::Test {
  protected:
    SimProfileTest()
        : map_(drive_.path()),
          profile_([this](std::string_view p) { return map_.hostPath(p, "C:\\App"); }) {
        fs::create_directories(drive_.path() / "App");
    }

    void writeIni(const std::string& content) {
        std::ofstream(drive_.path() / "App" / "app.ini", std::ios::binary) << content;
    }
    std::string readIni() const {
        std::ifstream in(drive_.path() / "App" / "app.ini", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string get(std::string_view section, std::string_view key, std::size_t bufferSize = 2048) {
        return profile_.getString("app.ini", section, key, "<Error>", bufferSize);
    }

    test::TempDir drive_;
    PathMap map_;
    SimProfile profile_;
};

TEST_F(SimProfileTest, ReadsWithoutRegardToCaseAndTrimsTheValue) {
    writeIni("; settings\r\n[Other]\r\nLanguage=XX\r\n[ options ]\r\n  LANGUAGE =  DE  \r\n");
    EXPECT_EQ(get("Options", "Language"), "DE");
    EXPECT_EQ(get("OPTIONS", "language"), "DE");
    EXPECT_EQ(get("Other", "Language"), "XX");
}

TEST_F(SimProfileTest, FirstSectionAndFirstKeyWin) {
    writeIni("[Options]\nLanguage=FR\nLanguage=IT\n[Options]\nLanguage=ES\nRunLang=CSY\n");
    EXPECT_EQ(get("Options", "Language"), "FR");
    // Only the first section of a name is searched.
    EXPECT_EQ(get("Options", "RunLang"), "<Error>");
}

TEST_F(SimProfileTest, RemovesOnePairOfMatchingQuotes) {
    writeIni(
        "[Q]\r\na=\"EN\"\r\nb='DE'\r\nc=\"\"RU\"\"\r\nd=\"FR\r\ne=\"IT'\r\nf=\"\r\ng=\"\"\r\n");
    EXPECT_EQ(get("Q", "a"), "EN");
    EXPECT_EQ(get("Q", "b"), "DE");
    EXPECT_EQ(get("Q", "c"), "\"RU\"");
    EXPECT_EQ(get("Q", "d"), "\"FR");
    EXPECT_EQ(get("Q", "e"), "\"IT'");
    EXPECT_EQ(get("Q", "f"), "\"");
    EXPECT_EQ(get("Q", "g"), "");
}

TEST_F(SimProfileTest, DefaultWhenFileSectionOrKeyIsMissing) {
    EXPECT_EQ(get("Options", "Language"), "<Error>");  // no file
    writeIni("[Options]\r\nLanguage=DE\r\nFlag\r\nEmpty=\r\n");
    EXPECT_EQ(get("Missing", "Language"), "<Error>");
    EXPECT_EQ(get("Options", "RunLang"), "<Error>");
    // A key line without "=" holds no value; a key with an empty value is a valid empty read.
    EXPECT_EQ(get("Options", "Flag"), "<Error>");
    EXPECT_EQ(get("Options", "Empty"), "");
    // Windows drops the default's trailing blanks.
    EXPECT_EQ(profile_.getString("app.ini", "Options", "RunLang", "EN  ", 10), "EN");
}

TEST_F(SimProfileTest, CutsToTheBufferLessOne) {
    const std::string longValue(3000, 'v');
    writeIni("[Options]\r\nLanguage=" + longValue + "\r\n");
    EXPECT_EQ(get("Options", "Language", 2048), longValue.substr(0, 2047));
    EXPECT_EQ(get("Options", "Language", 1), "");
    EXPECT_EQ(get("Options", "Language", 0), "");
    // The default is cut the same way.
    EXPECT_EQ(get("Options", "Missing", 4), "<Er");
}

TEST_F(SimProfileTest, WriteCreatesFileAndSection) {
    ASSERT_TRUE(profile_.writeString("app.ini", "Options", "Language", "DE"));
    EXPECT_EQ(readIni(), "[Options]\r\nLanguage=DE\r\n");
    ASSERT_TRUE(profile_.writeString("app.ini", "Other", "Key", "  value"));
    EXPECT_EQ(readIni(), "[Options]\r\nLanguage=DE\r\n\r\n[Other]\r\nKey=value\r\n");
    EXPECT_EQ(get("Options", "Language"), "DE");
    EXPECT_EQ(get("Other", "Key"), "value");
}

TEST_F(SimProfileTest, WriteReplacesInPlaceAndAppendsAtTheEndOfTheSection) {
    writeIni("[Options]\nlanguage=EN\nX=1\n\n[Later]\nY=2\n");
    ASSERT_TRUE(profile_.writeString("app.ini", "OPTIONS", "Language", "DE"));
    ASSERT_TRUE(profile_.writeString("app.ini", "Options", "RunLang", "DE"));
    EXPECT_EQ(readIni(), "[Options]\r\nlanguage=DE\r\nX=1\r\nRunLang=DE\r\n\r\n[Later]\r\nY=2\r\n");
}

TEST_F(SimProfileTest, WriteFailsWithoutChangingAnything) {
    // WritePrivateProfileString does not create folders.
    EXPECT_FALSE(profile_.writeString("C:\\NoSuchFolder\\app.ini", "Options", "Language", "DE"));
    EXPECT_FALSE(fs::exists(drive_.path() / "NoSuchFolder"));

    writeIni("[Options]\r\nLanguage=EN\r\n");
    profile_.setWritesFail(true);
    EXPECT_FALSE(profile_.writeString("app.ini", "Options", "Language", "DE"));
    EXPECT_EQ(readIni(), "[Options]\r\nLanguage=EN\r\n");
    profile_.setWritesFail(false);
    EXPECT_TRUE(profile_.writeString("app.ini", "Options", "Language", "DE"));
    EXPECT_EQ(profile_.writeCount(), 3);
}

TEST_F(SimProfileTest, WriteIntoAFolderNamedLikeTheFileFails) {
    fs::create_directories(drive_.path() / "App" / "app.ini");
    EXPECT_FALSE(profile_.writeString("app.ini", "Options", "Language", "DE"));
}

}  // namespace
}  // namespace tamux::sim
