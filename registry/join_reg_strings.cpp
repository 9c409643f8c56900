#include "registry/join_reg_strings.h"

namespace tamux {

std::string joinRegStrings(std::span<const std::uint8_t> data) {
    // Written through a pointer into room for every byte, then cut: hardware id lists run to
    // hundreds of bytes, and a device walk joins thousands of them.
    std::string text(data.size(), '\0');
    char* out = text.data();
    std::size_t length = 0;
    bool previousWasZero = false;
    for (std::uint8_t byte : data) {
        if (byte == 0) {
            if (previousWasZero) break;
            previousWasZero = true;
            continue;
        }
        previousWasZero = false;
        out[length++] = static_cast<char>(byte);
    }
    text.resize(length);
    return text;
}

}  // namespace tamux
