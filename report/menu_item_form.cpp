#include "report/menu_item_form.h"

namespace tamux {

MenuItemForm menuItemFormOf(platform::System& system) {
    platform::OsVersionInfo version;
    if (!system.getVersionEx(version)) return MenuItemForm::TextOnly;
    const std::uint32_t major = version.majorVersion, minor = version.minorVersion;
    bool full = false;
    if (version.platformId == platform::platform_id::kNt) full = major >= 5;
    if (version.platformId == platform::platform_id::kWindows) {
        full = major > 4 || (major == 4 && minor >= 10);
    }
    return full ? MenuItemForm::TextAndPicture : MenuItemForm::TextOnly;
}

}  // namespace tamux
