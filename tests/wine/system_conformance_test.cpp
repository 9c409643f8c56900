// The System service on the prefix (set to Windows XP by the lane) and on the simulated machine
// (Windows XP by default).
#include <cctype>
#include <cstring>

#include <gtest/gtest.h>

#include "registry/win_version.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

template <typename Side>
class SystemConformance : public ::testing::Test {
  protected:
    platform::System& system() { return side_.system(); }
    Side side_;
};

using SystemSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(SystemConformance, SystemSides, SideName);

bool isAbsoluteWindowsPath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\';
}

TYPED_TEST(SystemConformance, TheVersionRecordIsFilledAndAgreesWithGetVersion) {
    platform::OsVersionInfo info;
    info.csdVersion.fill('\xcc');
    ASSERT_TRUE(this->system().getVersionEx(info));
    EXPECT_EQ(info.size, 148u);
    EXPECT_NE(std::memchr(info.csdVersion.data(), 0, info.csdVersion.size()), nullptr)
        << "the CSD text is not NUL-terminated";
    const std::uint32_t version = this->system().getVersion();
    EXPECT_EQ(version & 0xFF, info.majorVersion);
    EXPECT_EQ((version >> 8) & 0xFF, info.minorVersion);
    EXPECT_EQ((version & 0x80000000u) != 0, info.platformId == platform::platform_id::kWindows)
        << "GetVersion gives 0x" << std::hex << version;
    if (TypeParam::kSimulated || prefixPrepared()) {
        // The lane sets the prefix to Windows XP; the simulated machine is XP by default.
        EXPECT_EQ(getWinVersion(this->system()), WinVersion::WinXp)
            << info.platformId << " " << info.majorVersion << "." << info.minorVersion;
    }
}

TYPED_TEST(SystemConformance, ARecordOfAnotherSizeIsRefusedAndLeftAlone) {
    for (std::uint32_t size : {0u, 147u, 156u}) {
        platform::OsVersionInfo info;
        info.size = size;
        info.majorVersion = 77;
        info.csdVersion[0] = 'q';
        EXPECT_FALSE(this->system().getVersionEx(info)) << "size " << size;
        EXPECT_EQ(info.size, size);
        EXPECT_EQ(info.majorVersion, 77u) << "size " << size;
        EXPECT_EQ(info.csdVersion[0], 'q') << "size " << size;
    }
}

TYPED_TEST(SystemConformance, PathsAreAbsoluteWindowsPaths) {
    const std::string exe = this->system().executablePath();
    EXPECT_TRUE(isAbsoluteWindowsPath(exe)) << exe;
    ASSERT_GE(exe.size(), 4u);
    std::string extension = exe.substr(exe.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(extension, ".exe") << exe;

    const std::string directory = this->system().currentDirectory();
    EXPECT_TRUE(isAbsoluteWindowsPath(directory)) << directory;
    const bool driveRoot = directory.size() == 3 && directory.substr(1) == ":\\";
    if (!driveRoot) {
        EXPECT_NE(directory.back(), '\\') << directory;
    }
}

TYPED_TEST(SystemConformance, LocaleKeyboardAndScreenAnswersArePlausible) {
    EXPECT_NE(this->system().systemDefaultLangId(), 0);
    const unsigned codePage = this->system().ansiCodePage();
    EXPECT_TRUE(codePage == 1250 || codePage == 1251 || codePage == 1252) << codePage;
    const int type = this->system().keyboardType(0);
    EXPECT_GE(type, 1);
    EXPECT_LE(type, 7);
    EXPECT_GT(this->system().keyboardType(2), 0) << "function keys";
    EXPECT_EQ(this->system().keyboardType(3), 0) << "an unknown query fails";
    EXPECT_GT(this->system().screenDpiX(), 0);
    EXPECT_EQ(this->system().screenDpiX(), this->system().screenDpiY());
}

}  // namespace
}  // namespace tamux::wine_test
