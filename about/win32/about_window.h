// The Win32 window of the About dialog: the logo with the program's name and version drawn over
// it with their shadows, the flag of the running language, the maker's mark and copyright, and
// the two links.
#pragma once

#include "about/about_dialog.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Makes the windows of About dialogs, owned by `owner` (the main window; may be null). The
// pictures come from the program's resources TAMUX_ABOUT_LOGO, TAMUX_MAKER_MARK and TAMUX_FLAGS.
AboutViewFactory aboutWindowFactory(HWND owner);

// The About button's launcher over the Win32 window: showAboutDialog with
// aboutWindowFactory(owner).
int showAboutDialog(const platform::Platform& platform, HWND owner);

}  // namespace tamux::win32
