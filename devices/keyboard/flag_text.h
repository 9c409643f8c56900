// Reading the on/off flags of the accessibility settings, which both Windows families store as
// decimal text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamux {

// The value of a decimal integer written as an optional sign and at least one digit, nothing
// else (no blanks, no hexadecimal), within the 32-bit signed range; nullopt for any other text.
std::optional<std::int32_t> parseDecimalInteger(std::string_view text);

}  // namespace tamux
