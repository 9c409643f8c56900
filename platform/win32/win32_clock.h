// The Clock service over the real local time and the user's locale formats.
#pragma once

#include "platform/clock.h"

namespace tamux::win32 {

class Win32Clock final : public platform::Clock {
  public:
    platform::SystemTime localTime() override;
    std::string formatShortDate(const platform::SystemTime& time) override;
    std::string formatLongTime(const platform::SystemTime& time) override;
};

}  // namespace tamux::win32
