// The Win32 window of the wait dialog (WaitDialog): a small white box, always on top and centred
// on the main window, with the hourglass picture and the message, and the hourglass cursor over
// it.
#pragma once

#include "app/wait_set.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Makes the windows of wait dialogs, owned by `owner` (the main window). The picture is image
// `hourglass` of the TAMUX_FORM_PICTURES strip of the program's resources.
WaitViewFactory waitWindowFactory(HWND owner, int hourglass);

}  // namespace tamux::win32
