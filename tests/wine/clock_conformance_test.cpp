// The Clock service: local time and the en-US short date and long time formats, on the prefix and
// on the simulated machine (both English, United States).
#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

template <typename Side>
class ClockConformance : public ::testing::Test {
  protected:
    platform::Clock& clock() { return side_.clock(); }
    Side side_;
};

using ClockSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(ClockConformance, ClockSides, SideName);

platform::SystemTime at(int year, int month, int day, int hour, int minute, int second) {
    platform::SystemTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    return time;
}

// 0 = Sunday, by Sakamoto's method.
int dayOfWeek(int year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

TYPED_TEST(ClockConformance, LocalTimeIsAConsistentCalendarDate) {
    const platform::SystemTime now = this->clock().localTime();
    EXPECT_GE(now.year, 2020);
    ASSERT_GE(now.month, 1);
    ASSERT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.minute, 59);
    EXPECT_LE(now.second, 59);
    EXPECT_LE(now.milliseconds, 999);
    EXPECT_EQ(now.dayOfWeek, dayOfWeek(now.year, now.month, now.day))
        << now.year << "-" << now.month << "-" << now.day;
}

TYPED_TEST(ClockConformance, ShortDatesAreMonthDayYear) {
    EXPECT_EQ(this->clock().formatShortDate(at(2026, 1, 15, 9, 30, 0)), "1/15/2026");
    EXPECT_EQ(this->clock().formatShortDate(at(1999, 12, 31, 23, 59, 59)), "12/31/1999");
}

TYPED_TEST(ClockConformance, LongTimesHaveHoursWithoutZeroAndAMarker) {
    EXPECT_EQ(this->clock().formatLongTime(at(2026, 1, 15, 9, 30, 5)), "9:30:05 AM");
    EXPECT_EQ(this->clock().formatLongTime(at(2026, 1, 15, 21, 7, 0)), "9:07:00 PM");
    EXPECT_EQ(this->clock().formatLongTime(at(2026, 1, 15, 0, 5, 0)), "12:05:00 AM");
    EXPECT_EQ(this->clock().formatLongTime(at(2026, 1, 15, 12, 0, 0)), "12:00:00 PM");
}

}  // namespace
}  // namespace tamux::wine_test
