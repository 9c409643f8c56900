#include "tests/wine/lane_environment.h"

#include <cstdlib>
#include <system_error>

#include "tests/support/test_paths.h"

namespace tamux::wine_test {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

fs::path fixturesDir() {
    std::string configured = environment("TAMUX_FIXTURES_DIR");
    if (configured.empty()) return test::fixturesDir();
    std::error_code ec;
    return fs::is_directory(configured, ec) ? fs::path(configured) : fs::path();
}

fs::path dataDir() {
    std::string configured = environment("TAMUX_WINE_DATA_DIR");
    if (!configured.empty()) return fs::path(configured);
    return test::sourceDir() / "tests" / "wine" / "data";
}

bool prefixPrepared() {
    return environment("TAMUX_WINE_LANE_PREPARED") == "1";
}

}  // namespace tamux::wine_test
