// A System that answers as another one, except for the running program's path: the program's
// logic runs on behalf of a tamux.exe that lies elsewhere (a copy of the suite, a test's folder).
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/system.h"

namespace tamux::platform {

class RelocatedSystem : public System {
  public:
    // `executable` empty: the inner system's own program.
    RelocatedSystem(System& inner, std::string executable)
        : inner_(inner), executable_(std::move(executable)) {}

    bool getVersionEx(OsVersionInfo& info) override { return inner_.getVersionEx(info); }
    std::uint32_t getVersion() override { return inner_.getVersion(); }
    std::uint16_t systemDefaultLangId() override { return inner_.systemDefaultLangId(); }
    int keyboardType(int which) override { return inner_.keyboardType(which); }
    std::string executablePath() override {
        return executable_.empty() ? inner_.executablePath() : executable_;
    }
    std::string currentDirectory() override { return inner_.currentDirectory(); }
    int screenDpiX() override { return inner_.screenDpiX(); }
    int screenDpiY() override { return inner_.screenDpiY(); }
    unsigned ansiCodePage() override { return inner_.ansiCodePage(); }
    bool hasFunction(OptionalFunction function) override { return inner_.hasFunction(function); }

  private:
    System& inner_;
    std::string executable_;
};

}  // namespace tamux::platform
