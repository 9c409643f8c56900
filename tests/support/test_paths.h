// Where tests find the shared fixtures, the project's samples and the build's products.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace tamux::test {

// ../shared/fixtures of the project, or an empty path when that folder is absent.
std::filesystem::path fixturesDir();
// The project's source tree.
std::filesystem::path sourceDir();
// The build tree of this test program.
std::filesystem::path binaryDir();

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tamux::test

// Skips the current test, with the reason, when the shared fixtures are not there.
#define TAMUX_REQUIRE_FIXTURES()                                                            \
    do {                                                                                    \
        if (::tamux::test::fixturesDir().empty())                                           \
            GTEST_SKIP() << "../shared/fixtures is absent (a clone outside the workplace)"; \
    } while (0)
