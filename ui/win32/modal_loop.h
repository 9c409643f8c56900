// The program's modal message loop, shared by every window that is shown modally: the report
// window and the dialog boxes.
#pragma once

#include <functional>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Shows `window` modally over `owner` (may be null) and runs its messages until a handler sets
// `ended`. The owner takes no input meanwhile, and is enabled again before the window hides so
// that the activation goes back to it; Tab and the other dialog keys move between the window's
// controls; a WM_QUIT ends the loop and is posted again for the program's main loop. `shown`
// runs once the window shows, before the first message.
void runModal(HWND window, HWND owner, const bool& ended, const std::function<void()>& shown = {});

}  // namespace tamux::win32
