// Date and time pictures as GetDateFormatA and GetTimeFormatA expand them.
#include "platform/sim/sim_clock.h"

#include <gtest/gtest.h>

#include "platform/sim/date_picture.h"

namespace tamux::sim {
namespace {

TEST(DatePicture, EveryToken) {
    const auto t = makeTime(2005, 3, 7);  // a Monday
    EXPECT_EQ(formatDatePicture("d dd ddd dddd", t), "7 07 Mon Monday");
    EXPECT_EQ(formatDatePicture("M MM MMM MMMM", t), "3 03 Mar March");
    EXPECT_EQ(formatDatePicture("y yy yyyy", t), "5 05 2005");
    EXPECT_EQ(formatDatePicture("dd.MM.yyyy", makeTime(2026, 12, 31)), "31.12.2026");
    EXPECT_EQ(formatDatePicture("gg", t), "A.D.");
}

TEST(DatePicture, QuotesLiteralsAndLettersOfTheOtherKind) {
    const auto t = makeTime(2026, 1, 15, 9, 5, 7);
    EXPECT_EQ(formatDatePicture("'Day' d 'of' MMMM", t), "Day 15 of January");
    EXPECT_EQ(formatDatePicture("'it''s' d", t), "it's 15");
    EXPECT_EQ(formatDatePicture("'open", t), "open");  // an unterminated quote runs to the end
    // Time letters are plain text in a date picture, and date letters in a time picture.
    EXPECT_EQ(formatDatePicture("d h:mm", t), "15 h:mm");
    EXPECT_EQ(formatTimePicture("H:mm d", t), "9:05 d");
    // More letters than a token has count as its longest form.
    EXPECT_EQ(formatDatePicture("ddddd MMMMM yyyyy", t), "Thursday January 2026");
}

TEST(DatePicture, DayNameFollowsTheDateNotTheRecord) {
    platform::SystemTime t = makeTime(2024, 2, 29);  // a Thursday
    t.dayOfWeek = 0;                                 // a record with a wrong day of the week
    EXPECT_EQ(formatDatePicture("dddd", t), "Thursday");
    EXPECT_EQ(dayOfWeek(2000, 1, 1), 6);
    EXPECT_EQ(dayOfWeek(2026, 1, 15), 4);
}

TEST(TimePicture, TwelveAndTwentyFourHours) {
    EXPECT_EQ(formatTimePicture("h:mm:ss tt", makeTime(2026, 1, 1, 0, 5, 9)), "12:05:09 AM");
    EXPECT_EQ(formatTimePicture("h:mm:ss tt", makeTime(2026, 1, 1, 12, 0, 0)), "12:00:00 PM");
    EXPECT_EQ(formatTimePicture("hh:m:s t", makeTime(2026, 1, 1, 23, 7, 3)), "11:7:3 P");
    EXPECT_EQ(formatTimePicture("HH:mm H", makeTime(2026, 1, 1, 7, 30, 0)), "07:30 7");
    EXPECT_EQ(formatTimePicture("hhh", makeTime(2026, 1, 1, 7, 30, 0)), "07");
    EXPECT_EQ(formatTimePicture("tt", makeTime(2026, 1, 1, 7, 0, 0), "dop.", "odp."), "dop.");
}

TEST(SimClock, FixedTimeAndTheLocaleFormats) {
    SimClock clock;
    const auto now = clock.localTime();
    EXPECT_EQ(now.year, 2026);
    EXPECT_EQ(now.dayOfWeek, 4);
    EXPECT_EQ(clock.formatShortDate(now), "1/15/2026");
    EXPECT_EQ(clock.formatLongTime(now), "9:30:00 AM");

    clock.setShortDateFormat("d.M.yyyy");
    clock.setLongTimeFormat("H:mm:ss");
    clock.setNow(makeTime(2026, 6, 1, 18, 4, 0));
    EXPECT_EQ(clock.formatShortDate(clock.localTime()), "1.6.2026");
    EXPECT_EQ(clock.formatLongTime(clock.localTime()), "18:04:00");
}

}  // namespace
}  // namespace tamux::sim
