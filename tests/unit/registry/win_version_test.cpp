#include "registry/win_version.h"

#include <cstring>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace tamux {

// Version codes print as numbers in failure messages.
inline void PrintTo(WinVersion code, std::ostream* os) {
    *os << static_cast<int>(code);
}

namespace {

// A System whose version query answers a fixed record, or fails.
class FixedVersionSystem : public platform::System {
  public:
    std::optional<platform::OsVersionInfo> record;
    int queries = 0;

    bool getVersionEx(platform::OsVersionInfo& info) override {
        ++queries;
        if (!record || info.size != 148) return false;
        info = *record;
        return true;
    }
    std::uint32_t getVersion() override { return 0; }
    std::uint16_t systemDefaultLangId() override { return 0x409; }
    int keyboardType(int) override { return 0; }
    std::string executablePath() override { return {}; }
    std::string currentDirectory() override { return {}; }
    int screenDpiX() override { return 96; }
    int screenDpiY() override { return 96; }
    unsigned ansiCodePage() override { return 1252; }
    bool hasFunction(platform::OptionalFunction) override { return false; }
};

platform::OsVersionInfo record(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                               const char* csd = "") {
    platform::OsVersionInfo info;
    info.platformId = platformId;
    info.majorVersion = major;
    info.minorVersion = minor;
    std::strncpy(info.csdVersion.data(), csd, info.csdVersion.size() - 1);
    return info;
}

struct Row {
    std::uint32_t platformId, major, minor;
    const char* csd;
    WinVersion expected;
};

TEST(WinVersion, EveryRowOfTheCodeTable) {
    const Row rows[] = {
        {0, 3, 11, "", WinVersion::Win32s},
        {1, 4, 0, "", WinVersion::Win95},
        {1, 4, 0, " B ", WinVersion::Win95Osr2},
        {1, 4, 0, "C", WinVersion::Win95},
        {1, 4, 0, "b", WinVersion::Win95},
        {1, 4, 10, "", WinVersion::Win98},
        {1, 4, 10, " A ", WinVersion::Win98Se},
        {1, 4, 10, "a", WinVersion::Win98},
        {1, 4, 90, " ", WinVersion::WinMe},
        {1, 4, 3, "", WinVersion::Other},
        {1, 5, 0, "", WinVersion::Other},
        {2, 3, 51, "Service Pack 5", WinVersion::WinNt3},
        {2, 4, 0, "Service Pack 6", WinVersion::WinNt4},
        {2, 5, 0, "", WinVersion::Win2000},
        {2, 5, 1, "Service Pack 2", WinVersion::WinXp},
        {2, 5, 2, "", WinVersion::Win2000},
        {2, 6, 0, "", WinVersion::Other},
        {2, 6, 1, "", WinVersion::Other},
        {2, 10, 0, "", WinVersion::Other},
        // Any platform id but 0 and 2 is classified like the 9x platform.
        {3, 4, 0, "", WinVersion::Win95},
        {3, 5, 0, "", WinVersion::Other},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(classifyVersion(record(row.platformId, row.major, row.minor, row.csd)),
                  row.expected)
            << "platform " << row.platformId << ", " << row.major << "." << row.minor << ", CSD \""
            << row.csd << "\"";
    }
}

TEST(WinVersion, ServiceMarkIsTrimmedOfBlanksAndControlCharacters) {
    EXPECT_EQ(classifyVersion(record(1, 4, 0, "\t B\r\n")), WinVersion::Win95Osr2);
    EXPECT_EQ(classifyVersion(record(1, 4, 0, "B2")), WinVersion::Win95);
    EXPECT_EQ(classifyVersion(record(1, 4, 10, "A A")), WinVersion::Win98);
}

TEST(WinVersion, AFailingQueryYieldsWin32sWhichBelongsToNoFamily) {
    FixedVersionSystem system;  // no record: the query fails
    EXPECT_EQ(getWinVersion(system), WinVersion::Win32s);
    EXPECT_FALSE(isWin9x(system));
    EXPECT_FALSE(isWinNT(system));
    EXPECT_FALSE(isWin95(system));
    EXPECT_FALSE(isWin2000(system));
    EXPECT_FALSE(isWinXP(system));
}

TEST(WinVersion, PredicatesGroupTheCodesIntoFamilies) {
    struct Family {
        platform::OsVersionInfo info;
        bool win9x, win95, winNT, win2000, winXP;
    };
    const Family families[] = {
        {record(1, 4, 0), true, true, false, false, false},
        {record(1, 4, 0, "B"), true, true, false, false, false},
        {record(1, 4, 10, "A"), true, false, false, false, false},
        {record(1, 4, 90), true, false, false, false, false},
        {record(2, 3, 51), false, false, true, false, false},
        {record(2, 4, 0), false, false, true, false, false},
        {record(2, 5, 0), false, false, true, true, false},
        {record(2, 5, 2), false, false, true, true, false},
        {record(2, 5, 1), false, false, true, false, true},
        {record(2, 6, 0), false, false, false, false, false},
    };
    for (const Family& f : families) {
        FixedVersionSystem system;
        system.record = f.info;
        SCOPED_TRACE("version " + std::to_string(f.info.platformId) + ":" +
                     std::to_string(f.info.majorVersion) + "." +
                     std::to_string(f.info.minorVersion));
        EXPECT_EQ(isWin9x(system), f.win9x);
        EXPECT_EQ(isWin95(system), f.win95);
        EXPECT_EQ(isWinNT(system), f.winNT);
        EXPECT_EQ(isWin2000(system), f.win2000);
        EXPECT_EQ(isWinXP(system), f.winXP);
    }
}

TEST(WinVersion, EveryCallAsksTheSystemAgain) {
    FixedVersionSystem system;
    system.record = record(2, 5, 1);
    EXPECT_TRUE(isWinXP(system));
    system.record = record(1, 4, 10);
    EXPECT_FALSE(isWinXP(system));
    EXPECT_TRUE(isWin9x(system));
    EXPECT_EQ(system.queries, 3);
}

}  // namespace
}  // namespace tamux
