// The Win32 window of the report window: a tiled background, the list of entries on its panel,
// and the orange right panel with the Print, Send, Save and Cancel buttons. It shows the form's
// texts and list, and hands every click, the close box and the pop-up menu to the form.
#pragma once

#include "platform/win32/windows_support.h"
#include "report/report_dialog.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

// Makes the windows of report openings, owned by `owner` (the main window; may be null). The
// list draws its headings and entries with the main window's image lists, which must outlive
// the windows. The buttons' and the menu's pictures come from the program's SILK_SUBITEMS
// resource; without it they show none.
ReportViewFactory reportWindowFactory(HWND owner, const ImageStrip* sectionImages,
                                      const ImageStrip* subItemImages);

}  // namespace tamux::win32
