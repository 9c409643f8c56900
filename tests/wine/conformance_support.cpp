#include "tests/wine/conformance_support.h"

#include <cstdio>

namespace tamux::wine_test {

std::vector<std::uint8_t> bytesOf(std::string_view text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul) bytes.push_back(0);
    return bytes;
}

std::string describe(const std::vector<std::uint8_t>& data) {
    // Built by appending only: GCC 12 misreads "text" + std::string at -O3 (-Wrestrict).
    std::string out;
    auto hex = [&out](std::uint8_t byte) {
        char text[4];
        std::snprintf(text, sizeof(text), "%02x", byte);
        out.append(text);
    };
    if (data.size() <= 48) {
        out.push_back('[');
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (i) out.push_back(' ');
            hex(data[i]);
        }
        out.push_back(']');
        return out;
    }
    out.append(std::to_string(data.size())).append(" bytes [");
    for (std::size_t i = 0; i < 8; ++i) {
        hex(data[i]);
        out.push_back(' ');
    }
    out.append("...");
    for (std::size_t i = data.size() - 8; i < data.size(); ++i) {
        out.push_back(' ');
        hex(data[i]);
    }
    out.push_back(']');
    return out;
}

}  // namespace tamux::wine_test
