#include "report/save_dialog_ex.h"

namespace tamux {

namespace {

// GetVersion: the major version in the low byte, bit 31 set on the Windows 9x platform.
bool HasExtendedSaveDialog(platform::System& system) {
    const std::uint32_t version = system.getVersion();
    const bool nt = (version & 0x80000000u) == 0;
    const std::uint32_t major = version & 0xFFu;
    return nt && major >= 5;
}

}  // namespace

platform::SaveDialogRequest TSaveDialogEx::Request() {
    platform::SaveDialogRequest request;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExtension = DefaultExt;
    request.initialFileName = FileName;
    request.overwritePrompt = OverwritePrompt;
    request.extendedStructure = HasExtendedSaveDialog(system_);
    request.showPlacesBar = request.extendedStructure && ShowPlacesBar;
    return request;
}

bool TSaveDialogEx::Execute() {
    const std::optional<std::string> chosen = dialogs_.saveFile(Request());
    if (!chosen) return false;
    FileName = *chosen;
    return true;
}

}  // namespace tamux
