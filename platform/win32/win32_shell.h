// The Shell service over ShellExecuteA, GetLastError and FormatMessageA.
#pragma once

#include "platform/shell.h"

namespace tamux::win32 {

class Win32Shell final : public platform::Shell {
  public:
    std::intptr_t shellExecute(std::string_view verb, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int show) override;
    std::uint32_t lastError() override;
    std::string systemMessage(std::uint32_t code) override;
};

}  // namespace tamux::win32
