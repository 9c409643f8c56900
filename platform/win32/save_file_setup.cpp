#include "platform/win32/save_file_setup.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tamux::win32 {

static_assert(sizeof(OPENFILENAMEA) == kExtendedOpenFileNameSize);
static_assert(offsetof(OPENFILENAMEA, pvReserved) == kPlainOpenFileNameSize);

std::string dialogFilter(std::string_view filter) {
    if (filter.empty()) return {};
    std::string converted(filter);
    std::replace(converted.begin(), converted.end(), '|', '\0');
    converted.push_back('\0');
    converted.push_back('\0');
    return converted;
}

SaveFileSetup::SaveFileSetup(const platform::SaveDialogRequest& request, HWND owner)
    : filter_(dialogFilter(request.filter)), defaultExtension_(request.defaultExtension) {
    // Room for any path the dialog may return, and never less than the proposed name.
    file_.assign(std::max<std::size_t>(MAX_PATH, request.initialFileName.size() + 1), '\0');
    std::memcpy(file_.data(), request.initialFileName.data(), request.initialFileName.size());

    structure_.lStructSize =
        request.extendedStructure ? kExtendedOpenFileNameSize : kPlainOpenFileNameSize;
    structure_.hwndOwner = owner;
    structure_.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    structure_.nFilterIndex = static_cast<DWORD>(std::max(request.filterIndex, 0));
    structure_.lpstrFile = file_.data();
    structure_.nMaxFile = static_cast<DWORD>(file_.size());
    structure_.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    // The program reads and writes files relative to its current directory (the mail module's
    // folder, the databases); browsing in the dialog must not move it.
    structure_.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (request.overwritePrompt) structure_.Flags |= OFN_OVERWRITEPROMPT;
    structure_.pvReserved = nullptr;
    structure_.dwReserved = 0;
    structure_.FlagsEx =
        request.extendedStructure && !request.showPlacesBar ? OFN_EX_NOPLACESBAR : 0;
}

std::string SaveFileSetup::chosenPath() const {
    auto end = std::find(file_.begin(), file_.end(), '\0');
    return std::string(file_.begin(), end);
}

}  // namespace tamux::win32
