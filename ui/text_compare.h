// Letter-case-insensitive comparison of 8-bit strings. Only the ASCII letters are folded: the
// markup's names are ASCII, and the code page of the other bytes is not known here.
#pragma once

#include <string>
#include <string_view>

namespace tamux {

char AsciiUpper(char c);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tamux
