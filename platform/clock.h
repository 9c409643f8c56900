// Clock and the locale's date and time formats.
#pragma once

#include <cstdint>
#include <string>

namespace tamux::platform {

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
                  milliseconds = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;

    // GetLocalTime.
    virtual SystemTime localTime() = 0;

    // GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, time, no picture).
    virtual std::string formatShortDate(const SystemTime& time) = 0;

    // GetTimeFormatA(LOCALE_USER_DEFAULT, 0, time, no picture): the long time format.
    virtual std::string formatLongTime(const SystemTime& time) = 0;
};

}  // namespace tamux::platform
