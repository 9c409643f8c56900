#include "tests/wine/conformance_support.h"

#include <cstdio>

namespace tamux::wine_test {

std::vector<std::uint8_t> bytesOf(std::string_view text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul) bytes.push_back(0);
    return bytes;
}

std::string describe(const std::vector<std::uint8_t>& data) {
    auto hex = [](std::uint8_t byte) {
        char text[4];
        std::snprintf(text, sizeof(text), "%02x", byte);
        return std::string(text);
    };
    std::string out;
    if (data.size() <= 48) {
        for (std::size_t i = 0; i < data.size(); ++i) out += (i ? " " : "") + hex(data[i]);
        return "[" + out + "]";
    }
    out = std::to_string(data.size()) + " bytes [";
    for (std::size_t i = 0; i < 8; ++i) out += hex(data[i]) + " ";
    out += "...";
    for (std::size_t i = data.size() - 8; i < data.size(); ++i) out += " " + hex(data[i]);
    return out + "]";
}

}  // namespace tamux::wine_test
