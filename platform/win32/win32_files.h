// The Files service over the real file functions.
#pragma once

#include "platform/files.h"

namespace tamux::win32 {

class Win32Files final : public platform::Files {
  public:
    bool fileExists(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path) override;
    bool readFileFrom(std::string_view path, std::uint64_t from,
                      const std::function<bool(std::string_view)>& take) override;
    std::optional<std::uint64_t> fileSize(std::string_view path) override;
    void writeFile(std::string_view path, std::string_view content) override;
    std::optional<std::uint64_t> lastWriteTime(std::string_view path) override;
};

}  // namespace tamux::win32
