#include "tests/unit/sim_registry/test_helpers.h"

#include <cstdio>

namespace tamux::test {

using platform::KeyAccess;
using platform::Registry;
namespace status = platform::status;

std::string utf16File(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

std::vector<std::uint8_t> bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

namespace {

void dumpKey(Registry& registry, platform::RootKey root, const std::string& path,
             std::string& out) {
    Registry::Key key = 0;
    long result = registry.openKey(root, path, KeyAccess::Read, key);
    if (result != status::kSuccess) {
        out += "[" + path + "] open failed " + std::to_string(result) + "\n";
        return;
    }
    out += "[" + path + "]\n";
    std::vector<std::string> names;
    if (registry.valueNames(key, names) != status::kSuccess) out += "  value listing failed\n";
    for (const auto& name : names) {
        std::uint32_t type = 0xDEADBEEF;
        std::vector<std::uint8_t> data;
        long q = registry.queryValue(key, name, type, data);
        char head[32];
        std::snprintf(head, sizeof head, "%x:", static_cast<unsigned>(type));
        out += "  \"" + name + "\"=" + (q == status::kSuccess ? std::string(head) : "failed ");
        for (std::uint8_t b : data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", b);
            out += hex;
        }
        out += "\n";
    }
    std::vector<std::string> subkeys;
    if (registry.subkeyNames(key, subkeys) != status::kSuccess) out += "  subkey listing failed\n";
    registry.closeKey(key);
    for (const auto& subkey : subkeys) {
        dumpKey(registry, root, path.empty() ? subkey : path + "\\" + subkey, out);
    }
}

}  // namespace

std::string dumpTree(Registry& registry, platform::RootKey root, const std::string& path) {
    std::string out;
    dumpKey(registry, root, path, out);
    return out;
}

}  // namespace tamux::test
