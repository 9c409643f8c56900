// The simulated machine's files and system answers.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/sim/path_map.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "tests/support/test_paths.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;

class SimFilesTest : public ::testing::Test {
  protected:
    SimFilesTest()
        : map_(drive_.path()),
          files_([this](std::string_view p) { return map_.hostPath(p, "C:\\Suite\\Tamux"); }) {
        fs::create_directories(drive_.path() / "Suite" / "Tamux");
        fs::create_directories(drive_.path() / "Suite" / "Zmail");
    }
    std::string host(const fs::path& relative) const {
        std::ifstream in(drive_.path() / relative, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    test::TempDir drive_;
    PathMap map_;
    SimFiles files_;
};

TEST_F(SimFilesTest, WritesReadsAndFindsFilesThroughWindowsPaths) {
    files_.writeFile("..\\ZMAIL\\report.txt", "a\r\nb\r\n");
    EXPECT_EQ(host("Suite/Zmail/report.txt"), "a\r\nb\r\n");
    EXPECT_TRUE(files_.fileExists("C:\\suite\\zmail\\REPORT.TXT"));
    EXPECT_FALSE(files_.fileExists("..\\Zmail"));  // a folder is no file
    EXPECT_EQ(files_.readFile("..\\Zmail\\report.txt"), "a\r\nb\r\n");
    EXPECT_EQ(files_.readFile("..\\Zmail\\missing.txt"), std::nullopt);

    files_.writeFile("..\\Zmail\\report.txt", "short");  // truncates
    EXPECT_EQ(host("Suite/Zmail/report.txt"), "short");
}

TEST_F(SimFilesTest, UncreatableFilesRaiseWithTheProgramsPath) {
    try {
        files_.writeFile("..\\NoFolder\\report.htm", "x");
        FAIL() << "expected FileCreateError";
    } catch (const FileCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file ..\\NoFolder\\report.htm");
    }
    EXPECT_THROW(files_.writeFile("..\\Zmail", "x"), FileCreateError);
    EXPECT_THROW(files_.writeFile("Q:\\x.txt", "x"), FileCreateError);
}

TEST_F(SimFilesTest, LockedFilesAndAFullDisk) {
    files_.writeFile("tamux.txt", "old");
    files_.lockFile("C:\\Suite\\Tamux\\TAMUX.TXT");
    EXPECT_EQ(files_.readFile("tamux.txt"), std::nullopt);
    EXPECT_THROW(files_.writeFile("tamux.txt", "new"), FileCreateError);
    EXPECT_EQ(host("Suite/Tamux/tamux.txt"), "old");
    files_.unlockAll();

    files_.setDiskSpace(4);
    EXPECT_THROW(files_.writeFile("big.txt", "0123456789"), FileCreateError);
    // A file that could not be written whole is not left behind.
    EXPECT_FALSE(fs::exists(drive_.path() / "Suite" / "Tamux" / "big.txt"));
    files_.setDiskSpace(std::nullopt);
    EXPECT_NO_THROW(files_.writeFile("big.txt", "0123456789"));
}

TEST_F(SimFilesTest, LastWriteTimeIsAFileTime) {
    EXPECT_EQ(files_.lastWriteTime("none.txt"), std::nullopt);
    files_.writeFile("t.txt", "x");
    const fs::path host = drive_.path() / "Suite" / "Tamux" / "t.txt";
    // 2020-01-01 00:00:00 UTC is 132223104000000000 in FILETIME units.
    const std::chrono::sys_seconds sys(std::chrono::seconds(1577836800));
    fs::last_write_time(host, std::chrono::file_clock::from_sys(sys));
    EXPECT_EQ(files_.lastWriteTime("T.TXT"), 132223104000000000ull);
}

TEST(SimSystem, DefaultsAreWindowsXpInEnglish) {
    SimSystem system;
    platform::OsVersionInfo info;
    ASSERT_TRUE(system.getVersionEx(info));
    EXPECT_EQ(info.platformId, 2u);
    EXPECT_EQ(info.majorVersion, 5u);
    EXPECT_EQ(info.minorVersion, 1u);
    EXPECT_EQ(info.buildNumber, 2600u);
    EXPECT_STREQ(info.csdVersion.data(), "Service Pack 2");
    EXPECT_EQ(system.getVersion(), 0x0A280105u);  // build 2600 in the high word, bit 31 clear
    EXPECT_EQ(system.systemDefaultLangId(), 1033);
    EXPECT_EQ(system.keyboardType(0), 4);
    EXPECT_EQ(system.keyboardType(2), 12);
    EXPECT_EQ(system.keyboardType(3), 0);
    EXPECT_EQ(system.executablePath(), "C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe");
    EXPECT_EQ(system.currentDirectory(), "C:\\Program Files\\Zorv Info\\Tamux");
    EXPECT_EQ(system.screenDpiY(), 96);
    EXPECT_EQ(system.ansiCodePage(), 1252u);
}

TEST(SimSystem, VersionFailuresAndTheNinetyFiveFamily) {
    SimSystem system;
    system.setVersion(makeVersion(platform::platform_id::kWindows, 4, 10, 0x040A08AE, " A "));
    EXPECT_EQ(system.getVersion() & 0x80000000u, 0x80000000u);
    EXPECT_EQ(system.getVersion() & 0xFFFF, 0x0A04u);

    platform::OsVersionInfo info;
    info.size = 156;  // the EX record is refused by the ANSI query of this size
    info.majorVersion = 99;
    EXPECT_FALSE(system.getVersionEx(info));
    EXPECT_EQ(info.majorVersion, 99u);

    system.setVersionFails(true);
    platform::OsVersionInfo untouched;
    untouched.majorVersion = 77;
    EXPECT_FALSE(system.getVersionEx(untouched));
    EXPECT_EQ(untouched.majorVersion, 77u);
}

TEST(SimSystem, CurrentDirectoryChangesResolveRelativePaths) {
    SystemSettings settings;
    settings.executable = "C:\\Suite\\Tamux\\tamux.exe";
    SimSystem system(settings);
    EXPECT_EQ(system.currentDirectory(), "C:\\Suite\\Tamux");
    system.setCurrentDirectory("..\\Zmail\\");
    EXPECT_EQ(system.currentDirectory(), "C:\\Suite\\Zmail");
    settings.executable = "C:\\tamux.exe";
    EXPECT_EQ(SimSystem(settings).currentDirectory(), "C:\\");
}

TEST(MakeVersion, CutsTheServiceTextToTheRecord) {
    const auto info = makeVersion(2, 5, 1, 2600, std::string(200, 'S'));
    EXPECT_EQ(std::string(info.csdVersion.data()).size(), 127u);
}

}  // namespace
}  // namespace tamux::sim
