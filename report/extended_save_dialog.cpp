#include "report/extended_save_dialog.h"

namespace tamux {

namespace {

// GetVersion: the major version in the low byte, bit 31 set on the Windows 9x platform.
bool hasExtendedSaveDialog(platform::System& system) {
    const std::uint32_t version = system.getVersion();
    const bool nt = (version & 0x80000000u) == 0;
    const std::uint32_t major = version & 0xFFu;
    return nt && major >= 5;
}

}  // namespace

platform::SaveDialogRequest ExtendedSaveDialog::request() {
    platform::SaveDialogRequest request;
    request.filter = filter;
    request.filterIndex = filterIndex;
    request.defaultExtension = defaultExt;
    request.initialFileName = fileName;
    request.overwritePrompt = overwritePrompt;
    request.extendedStructure = hasExtendedSaveDialog(system_);
    request.showPlacesBar = request.extendedStructure && showPlacesBar;
    return request;
}

bool ExtendedSaveDialog::execute() {
    const std::optional<std::string> chosen = dialogs_.saveFile(request());
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

}  // namespace tamux
