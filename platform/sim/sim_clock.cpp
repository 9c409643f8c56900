#include "platform/sim/sim_clock.h"

#include "platform/sim/date_picture.h"

namespace tamux::sim {

platform::SystemTime ClockSettings::defaultNow() {
    return makeTime(2026, 1, 15, 9, 30, 0);
}

platform::SystemTime makeTime(int year, int month, int day, int hour, int minute, int second) {
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek(year, month, day));
    return t;
}

SimClock::SimClock(ClockSettings settings) : settings_(std::move(settings)) {}

std::string SimClock::formatShortDate(const platform::SystemTime& time) {
    return formatDatePicture(settings_.shortDate, time);
}

std::string SimClock::formatLongTime(const platform::SystemTime& time) {
    return formatTimePicture(settings_.longTime, time, settings_.am, settings_.pm);
}

void SimClock::setTimeMarkers(std::string am, std::string pm) {
    settings_.am = std::move(am);
    settings_.pm = std::move(pm);
}

}  // namespace tamux::sim
