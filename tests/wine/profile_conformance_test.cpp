// The Profile service (GetPrivateProfileStringA / WritePrivateProfileStringA) on real files and
// on the simulated machine's, with the settings file's own section and keys.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

constexpr std::size_t kBuffer = 2048;

template <typename Side>
class ProfileConformance : public ::testing::Test {
  protected:
    platform::Profile& profile() { return side_.profile(); }

    // Writes `content` as tamux.ini and returns its path.
    std::string settingsFile(std::string_view content) {
        const std::string path = side_.path("tamux.ini");
        side_.files().writeFile(path, content);
        return path;
    }

    std::string read(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view fallback = "<Error>", std::size_t buffer = kBuffer) {
        return profile().getString(file, section, key, fallback, buffer);
    }

    Side side_;
};

using ProfileSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(ProfileConformance, ProfileSides, SideName);

TYPED_TEST(ProfileConformance, AMissingFileGivesTheDefaultAndIsNotCreated) {
    const std::string file = this->side_.path("tamux.ini");
    EXPECT_EQ(this->read(file, "Options", "Language"), "<Error>");
    EXPECT_FALSE(this->side_.files().fileExists(file));
}

TYPED_TEST(ProfileConformance, MissingSectionOrKeyGivesTheDefault) {
    const std::string file = this->settingsFile("[Options]\r\nLanguage=DE\r\n");
    EXPECT_EQ(this->read(file, "Other", "Language"), "<Error>");
    EXPECT_EQ(this->read(file, "Options", "RunLang"), "<Error>");
    EXPECT_EQ(this->read(file, "Options", "Language"), "DE");
}

TYPED_TEST(ProfileConformance, NamesAreComparedWithoutRegardToCase) {
    const std::string file = this->settingsFile("[OPTIONS]\r\nlanguage=FR\r\n");
    EXPECT_EQ(this->read(file, "Options", "Language"), "FR");
    EXPECT_EQ(this->read(file, "options", "LANGUAGE"), "FR");
}

TYPED_TEST(ProfileConformance, ValuesLoseSurroundingBlanksAndQuotes) {
    const std::string file = this->settingsFile(
        "[Options]\r\n  Language  =  DE  \r\nDouble=\"quoted value\"\r\nSingle='x y'\r\n"
        "Empty=\r\nInner=a \"b\" c\r\n");
    EXPECT_EQ(this->read(file, "Options", "Language"), "DE");
    EXPECT_EQ(this->read(file, "Options", "Double"), "quoted value");
    EXPECT_EQ(this->read(file, "Options", "Single"), "x y");
    EXPECT_EQ(this->read(file, "Options", "Empty"), "") << "a present empty value is no default";
    EXPECT_EQ(this->read(file, "Options", "Inner"), "a \"b\" c");
}

TYPED_TEST(ProfileConformance, ReadsAreCutToTheBufferLessOne) {
    const std::string longValue(3000, 'v');
    const std::string file = this->settingsFile("[Options]\r\nLanguage=" + longValue + "\r\n");
    EXPECT_EQ(this->read(file, "Options", "Language"), std::string(2047, 'v'));
    EXPECT_EQ(this->read(file, "Options", "Language", "<Error>", 5), "vvvv");
    // The default is cut the same way.
    EXPECT_EQ(this->read(file, "Options", "Missing", std::string(3000, 'd')),
              std::string(2047, 'd'));
    EXPECT_EQ(this->read(file, "Options", "Missing", "<Error>", 4), "<Er");
}

TYPED_TEST(ProfileConformance, TrailingBlanksOfTheDefaultAreDropped) {
    const std::string file = this->settingsFile("[Options]\r\n");
    EXPECT_EQ(this->read(file, "Options", "Language", "EN   "), "EN");
}

TYPED_TEST(ProfileConformance, AWriteCreatesTheFileAndTheSection) {
    const std::string file = this->side_.path("tamux.ini");
    ASSERT_TRUE(this->profile().writeString(file, "Options", "Language", "DE"));
    EXPECT_EQ(this->side_.files().readFile(file),
              std::optional<std::string>("[Options]\r\nLanguage=DE\r\n"));
    EXPECT_EQ(this->read(file, "OPTIONS", "language"), "DE");
}

TYPED_TEST(ProfileConformance, AWriteReplacesOneKeyAndKeepsTheRest) {
    const std::string file = this->settingsFile(
        "[Options]\r\nLanguage=DE\r\nRunLang=DE\r\n[Other]\r\nLanguage=keep\r\n");
    ASSERT_TRUE(this->profile().writeString(file, "options", "LANGUAGE", "FR"));
    ASSERT_TRUE(this->profile().writeString(file, "Other", "Added", "1"));
    ASSERT_TRUE(this->profile().writeString(file, "New", "Key", "v"));
    EXPECT_EQ(this->read(file, "Options", "Language"), "FR");
    EXPECT_EQ(this->read(file, "Options", "RunLang"), "DE");
    EXPECT_EQ(this->read(file, "Other", "Language"), "keep");
    EXPECT_EQ(this->read(file, "Other", "Added"), "1");
    EXPECT_EQ(this->read(file, "New", "Key"), "v");
    std::optional<std::string> content = this->side_.files().readFile(file);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->find("LANGUAGE"), std::string::npos)
        << "the key line took the writer's spelling:\n"
        << *content;
}

TYPED_TEST(ProfileConformance, AWriteIntoAMissingFolderFailsAndCreatesNothing) {
    const std::string file = this->side_.path("No Folder\\tamux.ini");
    EXPECT_FALSE(this->profile().writeString(file, "Options", "Language", "DE"));
    EXPECT_FALSE(std::filesystem::exists(this->side_.hostPath("No Folder")));
}

}  // namespace
}  // namespace tamux::wine_test
