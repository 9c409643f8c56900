// The system's text for an error code, as the About dialog shows it after a failed link.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"

namespace tamux {

// "SysErr: " followed by the system's message text for `code`, without what trails it: line
// breaks, blanks and other control characters, and full stops. Letters of the upper half of
// the code page are text, never trimmed.
std::string sysErrorText(platform::Shell& shell, std::uint32_t code);

// The same for a failure result of ShellExecute: the system's text for the error code the result
// stands for, or the program's own English text where the system has none.
std::string shellFailureText(platform::Shell& shell, std::intptr_t result);

}  // namespace tamux
