// Windows paths of the simulated machine: made absolute like GetFullPathNameA, then found on the
// host without regard to case.
#include "platform/sim/path_map.h"

#include <fstream>

#include <gtest/gtest.h>

#include "platform/sim/case_fold.h"
#include "tests/support/test_paths.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

TEST(FullPath, ResolvesRelativeRootedAndDriveForms) {
    const std::string cwd = "C:\\Suite\\Tamux";
    EXPECT_EQ(PathMap::fullPath("tamux.ini", cwd), "C:\\Suite\\Tamux\\tamux.ini");
    EXPECT_EQ(PathMap::fullPath("..\\SHARED\\DATABASES\\Keyboard.txt", cwd),
              "C:\\Suite\\SHARED\\DATABASES\\Keyboard.txt");
    EXPECT_EQ(PathMap::fullPath(".\\a\\.\\b\\..\\c", cwd), "C:\\Suite\\Tamux\\a\\c");
    EXPECT_EQ(PathMap::fullPath("\\Windows\\win.ini", cwd), "C:\\Windows\\win.ini");
    EXPECT_EQ(PathMap::fullPath("c:/Data//x.txt", cwd), "C:\\Data\\x.txt");
    EXPECT_EQ(PathMap::fullPath("D:\\x", cwd), "D:\\x");
    // A drive without a separator is relative to that drive's current folder; for another drive
    // than the current one that is its root.
    EXPECT_EQ(PathMap::fullPath("C:x", cwd), "C:\\Suite\\Tamux\\x");
    EXPECT_EQ(PathMap::fullPath("D:x", cwd), "D:\\x");
}

TEST(FullPath, EdgeCases) {
    const std::string cwd = "C:\\Suite";
    // ".." never climbs above the root.
    EXPECT_EQ(PathMap::fullPath("..\\..\\..\\x", cwd), "C:\\x");
    EXPECT_EQ(PathMap::fullPath("..", "C:\\"), "C:\\");
    // Trailing dots and blanks of a name are dropped, as Windows does.
    EXPECT_EQ(PathMap::fullPath("report.txt. ", cwd), "C:\\Suite\\report.txt");
    EXPECT_EQ(PathMap::fullPath("", cwd), "");
    EXPECT_EQ(PathMap::fullPath("\\\\server\\share\\x", cwd), "");
}

TEST(HostPath, MatchesEachComponentWithoutRegardToCase) {
    test::TempDir drive;
    touch(drive.path() / "Suite" / "Shared" / "Databases" / "KEYBOARD.TXT");
    fs::create_directories(drive.path() / "Suite" / "Tamux");
    const PathMap map(drive.path());

    EXPECT_EQ(map.hostPath("..\\SHARED\\DATABASES\\Keyboard.txt", "C:\\Suite\\Tamux"),
              drive.path() / "Suite" / "Shared" / "Databases" / "KEYBOARD.TXT");
    EXPECT_EQ(map.hostPath("c:\\suite\\tamux", "C:\\"), drive.path() / "Suite" / "Tamux");
}

TEST(HostPath, MissingComponentsKeepTheirSpelling) {
    test::TempDir drive;
    fs::create_directories(drive.path() / "Suite");
    const PathMap map(drive.path());
    // An existing folder is matched, the new names below it are kept for creation.
    EXPECT_EQ(map.hostPath("C:\\SUITE\\Zmail\\report.htm", "C:\\"),
              drive.path() / "Suite" / "Zmail" / "report.htm");
}

TEST(HostPath, OtherDrivesOnlyWhenMapped) {
    test::TempDir drive, other;
    PathMap map(drive.path());
    EXPECT_TRUE(map.hostPath("D:\\x.txt", "C:\\").empty());
    map.mapDrive('d', other.path());
    EXPECT_EQ(map.hostPath("d:\\x.txt", "C:\\"), other.path() / "x.txt");
}

TEST(HostPath, EightBitNamesBecomeUtf8OnTheHost) {
    test::TempDir drive;
    const fs::path host = drive.path() / fs::path(u8"Bericht_\u00DC.txt");
    touch(host);
    const PathMap map(drive.path(), 1252);
    // 0xFC is u-umlaut in code page 1252; the file is spelt with the capital.
    EXPECT_EQ(map.hostPath("C:\\bericht_\xFC.txt", "C:\\"), host);
}

TEST(CaseFold, ComparesLettersOfTheCodePage) {
    EXPECT_TRUE(equalsIgnoreCase("Options", "OPTIONS", 1252));
    EXPECT_FALSE(equalsIgnoreCase("Options", "Option", 1252));
    // 1250: s-caron 0x9A / 0x8A; 1251: Cyrillic a 0xE0 / A 0xC0.
    EXPECT_TRUE(equalsIgnoreCase("\x9A", "\x8A", 1250));
    EXPECT_TRUE(equalsIgnoreCase("\xE0", "\xC0", 1251));
    // In 1252, 0xE0 is a-grave and 0xC0 A-grave: also a pair; 0xF7 (division sign) is no letter.
    EXPECT_TRUE(equalsIgnoreCase("\xE0", "\xC0", 1252));
    EXPECT_FALSE(equalsIgnoreCase("\xF7", "\xD7", 1252));
    EXPECT_EQ(upperCase("de-\xE4", 1252), "DE-\xC4");
}

}  // namespace
}  // namespace tamux::sim
