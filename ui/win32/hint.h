// The hint of a control: a small tooltip-coloured box under the pointer while it rests over the
// control. One hint shows at a time.
#pragma once

#include <string>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Shows `text` below the pointer; an empty text hides the hint.
void showHint(const std::string& text);
void hideHint();

}  // namespace tamux::win32
