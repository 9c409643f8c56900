// The simulated machine's settings files: GetPrivateProfileStringA and WritePrivateProfileStringA
// over real host files.
//
// Reading: section and key names are compared without regard to case and with surrounding blanks
// ignored; the first section of that name is the only one searched, and its first key of that
// name wins. The value is trimmed of blanks, and one pair of matching surrounding quotes (" or ')
// is removed. The default stands in when the file, the section or the key is missing (or the key
// line has no "="); like Windows, trailing blanks of the default are dropped. An empty key name
// yields "". Whatever is returned is cut to bufferSize - 1 bytes.
//
// Writing: the file and the section are created when missing; an existing key's line is replaced
// in place, a new key goes after the last line of its section; every line ends in CRLF. Leading
// blanks of the value are dropped. The file is replaced whole or not at all: when it cannot be
// written the call returns false and the old content stays.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "platform/sim/host_path_mapper.h"

namespace tamux::sim {

class SimProfile : public platform::Profile {
  public:
    SimProfile(HostPathMapper mapper, unsigned codePage = 1252);

    // platform::Profile
    std::string getString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Test hook: every write fails (a read-only medium), and the number of writes attempted.
    void setWritesFail(bool fail) { writesFail_ = fail; }
    int writeCount() const { return writeCount_; }

  private:
    HostPathMapper mapper_;
    unsigned codePage_;
    bool writesFail_ = false;
    int writeCount_ = 0;
};

}  // namespace tamux::sim
