// The simulated clock: a fixed local time (it does not move unless a test moves it) and the
// locale's short date and long time formats.
#pragma once

#include <string>

#include "platform/clock.h"

namespace tamux::sim {

struct ClockSettings {
    platform::SystemTime now = defaultNow();
    std::string shortDate = "M/d/yyyy";
    std::string longTime = "h:mm:ss tt";
    std::string am = "AM", pm = "PM";

    // 2026-01-15 09:30:00, a Thursday.
    static platform::SystemTime defaultNow();
};

// A SYSTEMTIME with its day of the week filled in.
platform::SystemTime makeTime(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);

class SimClock : public platform::Clock {
  public:
    explicit SimClock(ClockSettings settings = {});

    // platform::Clock
    platform::SystemTime localTime() override { return settings_.now; }
    std::string formatShortDate(const platform::SystemTime& time) override;
    std::string formatLongTime(const platform::SystemTime& time) override;

    // Test hooks.
    void setNow(const platform::SystemTime& now) { settings_.now = now; }
    void setShortDateFormat(std::string picture) { settings_.shortDate = std::move(picture); }
    void setLongTimeFormat(std::string picture) { settings_.longTime = std::move(picture); }
    void setTimeMarkers(std::string am, std::string pm);

    const ClockSettings& settings() const { return settings_; }

  private:
    ClockSettings settings_;
};

}  // namespace tamux::sim
