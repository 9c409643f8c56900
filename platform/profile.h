// Settings profile service: GetPrivateProfileStringA / WritePrivateProfileStringA.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tamux::platform {

class Profile {
  public:
    virtual ~Profile() = default;

    // GetPrivateProfileStringA(section, key, defaultValue, buffer, bufferSize, file): the value
    // of `key` in `section` (names compared without regard to case), or `defaultValue` when the
    // file, the section or the key is missing; either is cut to bufferSize - 1 characters.
    virtual std::string getString(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view defaultValue,
                                  std::size_t bufferSize) = 0;

    // WritePrivateProfileStringA(section, key, value, file): creates the file and the section
    // when needed. Returns false when the file cannot be written; nothing is changed then.
    virtual bool writeString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

}  // namespace tamux::platform
