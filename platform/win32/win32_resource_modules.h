// The ResourceModules service over the real module loader and version-resource functions.
#pragma once

#include "platform/resource_modules.h"

namespace tamux::win32 {

class Win32ResourceModules final : public platform::ResourceModules {
  public:
    Win32ResourceModules() = default;

    Module loadLibrary(std::string_view path) override;
    void freeLibrary(Module module) override;
    int loadString(Module module, std::uint32_t id, std::string& text, int bufferSize) override;
    std::uint32_t fileVersionInfoSize(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> fileVersionInfo(std::string_view path) override;
    std::optional<std::vector<std::uint8_t>> queryVersionValue(
        const std::vector<std::uint8_t>& block, std::string_view subBlock) override;
};

}  // namespace tamux::win32
