#include "tests/support/test_paths.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace tamux::test {

namespace fs = std::filesystem;

fs::path fixturesDir() {
    fs::path dir(TAMUX_FIXTURES_DIR);
    std::error_code ec;
    return fs::is_directory(dir, ec) ? dir : fs::path();
}

fs::path sourceDir() {
    return fs::path(TAMUX_SOURCE_DIR);
}

fs::path binaryDir() {
    return fs::path(TAMUX_BINARY_DIR);
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("tamux-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace tamux::test
