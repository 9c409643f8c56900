#include "registry/join_reg_strings.h"

#include <cstring>

namespace tamux {

std::string joinRegStrings(std::span<const std::uint8_t> data) {
    // Copied a run of non-zero bytes at a time: hardware id lists run to hundreds of bytes in a
    // few strings each, and a device walk joins thousands of them.
    std::string text;
    text.reserve(data.size());
    const std::uint8_t* bytes = data.data();
    const std::size_t size = data.size();
    std::size_t at = 0;
    while (at < size) {
        const void* zero = std::memchr(bytes + at, 0, size - at);
        const std::size_t end =
            zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes) : size;
        text.append(reinterpret_cast<const char*>(bytes + at), end - at);
        if (end + 1 >= size || bytes[end + 1] == 0) break;
        at = end + 1;
    }
    return text;
}

}  // namespace tamux
