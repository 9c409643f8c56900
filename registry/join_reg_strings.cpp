#include "registry/join_reg_strings.h"

namespace tamux {

std::string JoinRegStrings(std::span<const std::uint8_t> data) {
    std::string text;
    bool previousWasZero = false;
    for (std::uint8_t byte : data) {
        if (byte == 0) {
            if (previousWasZero) break;
            previousWasZero = true;
            continue;
        }
        previousWasZero = false;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

}  // namespace tamux
