// A sample machine of samples/machines loaded for a test, with the registry reads the sample
// tests make over and over: always with read access, so that a limited account sees the same.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/machine.h"
#include "tests/support/test_paths.h"

namespace tamux::test {

std::filesystem::path samplesDir();

// Every folder of samples/machines, by name.
std::vector<std::string> sampleMachineNames();

// A literal with embedded NULs, all of them kept (the terminating one is not part of it).
template <std::size_t N>
std::string withNuls(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// Key paths joined with a backslash.
std::string joinKey(std::string_view a, std::string_view b);

class SampleMachine {
  public:
    explicit SampleMachine(const std::string& name);

    sim::Machine& machine() { return *machine_; }
    platform::Registry& registry();

    bool keyExists(platform::RootKey root, std::string_view path);
    // Subkey and value names in the registry's order; empty when the key does not open.
    std::vector<std::string> subkeys(platform::RootKey root, std::string_view path);
    std::vector<std::string> valueNames(platform::RootKey root, std::string_view path);
    // The value's type and data as RegQueryValueExA delivers them; nullopt when the key or the
    // value is missing.
    struct Value {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        // REG_SZ / REG_EXPAND_SZ data up to its first NUL.
        std::string text() const;
    };
    std::optional<Value> value(platform::RootKey root, std::string_view path,
                               std::string_view name);
    // The text of a REG_SZ or REG_EXPAND_SZ value; nullopt when missing or of another type.
    std::optional<std::string> text(platform::RootKey root, std::string_view path,
                                    std::string_view name);

  private:
    TempDir drive_;
    std::unique_ptr<sim::Machine> machine_;
};

}  // namespace tamux::test
