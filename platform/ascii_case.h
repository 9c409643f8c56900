// Letter case of 8-bit names: hardware ids, class names, database keys, markup tags and colour
// names. Only the ASCII letters are folded, as the runtime's UpperCase does; the bytes of the
// code page's upper half are left as they are, since which letters they hold is not known here.
#pragma once

#include <string>
#include <string_view>

namespace tamux {

constexpr char toAsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string toAsciiUpper(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tamux
