// The Profile service over the real private-profile (INI file) functions.
#pragma once

#include "platform/profile.h"

namespace tamux::win32 {

class Win32Profile final : public platform::Profile {
  public:
    std::string getString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override;
};

}  // namespace tamux::win32
