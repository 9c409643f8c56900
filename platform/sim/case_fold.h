// Comparing names without regard to case, the way Windows compares file, key and section names:
// letter by letter after mapping each to upper case, for the letters of the Latin, Greek and
// Cyrillic alphabets that the simulated code pages can hold.
#pragma once

#include <string>
#include <string_view>

namespace tamux::sim {

char16_t upperCase(char16_t c);

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b);

// 8-bit texts in `codePage`.
bool equalsIgnoreCase(std::string_view a, std::string_view b, unsigned codePage);

// The text with every letter in upper case, still in `codePage`.
std::string upperCase(std::string_view text, unsigned codePage);

}  // namespace tamux::sim
