#include "tests/wine/reg_file_keys.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "platform/sim/codepage.h"

namespace tamux::wine_test {

namespace {

std::optional<RegFileKey> parseKeyLine(std::string_view line) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']' || line[1] == '-') {
        return std::nullopt;
    }
    std::string_view full = line.substr(1, line.size() - 2);
    std::string_view rootName = full.substr(0, full.find('\\'));
    std::string_view path =
        rootName.size() < full.size() ? full.substr(rootName.size() + 1) : std::string_view();
    std::optional<platform::RootKey> root;
    for (platform::RootKey known : {platform::RootKey::CurrentUser, platform::RootKey::LocalMachine,
                                    platform::RootKey::DynData}) {
        if (rootName == platform::rootKeyName(known)) root = known;
    }
    if (!root) return std::nullopt;
    return RegFileKey{*root, std::string(path)};
}

}  // namespace

std::vector<RegFileKey> regFileKeys(const std::filesystem::path& file, unsigned codePage) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text = sim::narrowUtf16(
            codePage, sim::utf16FromBytes(reinterpret_cast<const unsigned char*>(bytes.data()) + 2,
                                          bytes.size() - 2));
    } else {
        text = std::move(bytes);
    }
    std::vector<RegFileKey> keys;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (auto key = parseKeyLine(line)) keys.push_back(std::move(*key));
        start = end + 1;
    }
    return keys;
}

}  // namespace tamux::wine_test
