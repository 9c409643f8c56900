// How a menu item is described to InsertMenuItemA. Windows 95 and NT 4 know only the first
// MENUITEMINFOA record (without hbmpItem) and the type flags MIIM_TYPE with MFT_STRING; they
// refuse the larger record of Windows 98 and 2000 and its MIIM_STRING and MIIM_BITMAP, which the
// pop-up menu's pictures need.
#pragma once

#include "platform/system.h"

namespace tamux {

enum class MenuItemForm {
    TextOnly,        // the first record, MIIM_TYPE and MFT_STRING: no picture
    TextAndPicture,  // the full record, MIIM_STRING and MIIM_BITMAP
};

// The form the system takes: the full one from Windows 98 and 2000 on; the first where the
// version cannot be read.
MenuItemForm menuItemFormOf(platform::System& system);

}  // namespace tamux
