// The .reg loader: any bytes either load into the simulated registry or raise RegFileError at a
// line, and whatever loaded reads back through the Registry service. Loading the same file a
// second time changes nothing: every line sets or deletes what it names, whatever was there.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/sim/sim_registry.h"

namespace {

using tamux::platform::KeyAccess;
using tamux::platform::Registry;
using tamux::platform::RootKey;
using tamux::sim::RegFileError;
using tamux::sim::SimRegistry;

// Bounds the walk of a file that creates a great many keys: both dumps stop at the same point.
constexpr int kKeyBudget = 4000;

// Every key with its values, in the order of a walk that keeps the keys still to visit in a list
// rather than on the call stack: a file may nest keys many thousands deep.
std::string dump(SimRegistry& registry) {
    std::string out;
    int budget = kKeyBudget;
    std::vector<std::pair<RootKey, std::string>> pending = {
        {RootKey::DynData, ""}, {RootKey::LocalMachine, ""}, {RootKey::CurrentUser, ""}};
    while (!pending.empty() && --budget >= 0) {
        const auto [root, path] = std::move(pending.back());
        pending.pop_back();
        Registry::Key key = 0;
        const long opened = registry.openKey(root, path, KeyAccess::Read, key);
        out += std::to_string(static_cast<int>(root)) + ":" + path + " -> " +
               std::to_string(opened) + "\n";
        if (opened != 0) {
            TAMUX_FUZZ_CHECK(key == 0, "a failed open left a key behind");
            continue;
        }
        std::vector<std::string> values, subkeys;
        TAMUX_FUZZ_CHECK(registry.valueNames(key, values) == 0, "value names of an open key");
        TAMUX_FUZZ_CHECK(registry.subkeyNames(key, subkeys) == 0, "subkey names of an open key");
        for (const std::string& name : values) {
            std::uint32_t type = 0xDEADBEEF;
            std::vector<std::uint8_t> data;
            const long queried = registry.queryValue(key, name, type, data);
            out += "  [" + name + "] " + std::to_string(queried) + " " + std::to_string(type) +
                   " " + std::string(data.begin(), data.end()) + "\n";
        }
        registry.closeKey(key);
        for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) {
            pending.emplace_back(root, path.empty() ? *it : path + "\\" + *it);
        }
    }
    TAMUX_FUZZ_CHECK(registry.openKeyCount() == 0, "the walk left keys open");
    return out;
}

void load(SimRegistry& registry, std::string_view bytes) {
    try {
        registry.importText(bytes, "fuzz.reg");
    } catch (const RegFileError& e) {
        TAMUX_FUZZ_CHECK(e.line() >= 1, "an error names a line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = tamux::fuzz::asText(data, size);
    // The code page follows the size, so that the real exports of the corpus stay as they are
    // while every code page gets its turn.
    static constexpr std::array<unsigned, 3> kCodePages = {1252, 1250, 1251};
    SimRegistry registry(kCodePages[size % kCodePages.size()]);
    load(registry, bytes);
    const std::string once = dump(registry);
    load(registry, bytes);
    TAMUX_FUZZ_CHECK(dump(registry) == once, "loading the same file again changed the registry");
    return 0;
}
