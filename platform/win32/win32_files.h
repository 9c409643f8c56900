// The Files service over the real file functions.
#pragma once

#include "platform/files.h"

namespace tamux::win32 {

class Win32Files final : public platform::Files {
  public:
    bool fileExists(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path) override;
    bool readFilePieces(std::string_view path,
                        const std::function<void(std::string_view)>& take) override;
    void writeFile(std::string_view path, std::string_view content) override;
    std::optional<std::uint64_t> lastWriteTime(std::string_view path) override;
};

}  // namespace tamux::win32
