// The System service over the real version, locale, keyboard and screen queries.
#pragma once

#include "platform/system.h"

namespace tamux::win32 {

class Win32System final : public platform::System {
  public:
    bool getVersionEx(platform::OsVersionInfo& info) override;
    std::uint32_t getVersion() override;
    std::uint16_t systemDefaultLangId() override;
    int keyboardType(int which) override;
    std::string executablePath() override;
    std::string currentDirectory() override;
    int screenDpiX() override;
    int screenDpiY() override;
    unsigned ansiCodePage() override;
    bool hasFunction(platform::OptionalFunction function) override;
};

}  // namespace tamux::win32
