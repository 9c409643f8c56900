// Turns the raw data of a multi-string or a UTF-16 text into one 8-bit text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tamux {

// Appends each non-zero byte as one character, in order, skipping zero bytes, and stops at the
// second zero byte in a row or at the end of the data. A multi-string "A", "B" becomes "AB" (no
// separator); a UTF-16 text of ASCII letters becomes the same letters.
std::string joinRegStrings(std::span<const std::uint8_t> data);

}  // namespace tamux
