// The Win32 window of the language dialog: a tiled background, a khaki panel with the seven flag
// buttons and their labels, and the Ok and Cancel buttons. It shows the dialog's button model
// and hands every click to the dialog.
#pragma once

#include "lang/language_dialog.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Makes the windows of language dialogs, owned by `owner` (the main window; may be null). The
// pictures come from the program's resources: TAMUX_FLAGS, and SILK_SUBITEMS for the Ok and
// Cancel glyphs; without them the buttons show no picture.
LanguageViewFactory languageWindowFactory(HWND owner);

}  // namespace tamux::win32
