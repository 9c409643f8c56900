#include "tests/wine/service_sides.h"

#include "tests/wine/conformance_support.h"
#include "tests/wine/registry_sides.h"

namespace tamux::wine_test {

std::string Win32Sides::path(std::string_view name) const {
    std::string folder = scratch_.path().string();
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + std::string(name);
}

SimSides::SimSides()
    : map_(drive_.path(), hostCodePage()),
      files_([this](std::string_view path) { return map_.hostPath(path, "C:\\"); }),
      profile_([this](std::string_view path) { return map_.hostPath(path, "C:\\"); },
               hostCodePage()),
      spooler_({}, 1252, true, kThisProgram) {}

std::filesystem::path SimSides::hostPath(std::string_view name) const {
    return map_.hostPath(path(name), "C:\\");
}

}  // namespace tamux::wine_test
