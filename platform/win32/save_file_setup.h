// What GetSaveFileNameA is handed for a save request: the OPENFILENAMEA structure together with
// the texts and the file-name buffer it points into, kept alive as one object.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// The size of the structure before the reserved fields and FlagsEx were added (what systems
// before Windows 2000 accept), and the full one. Its pointers and handles take 8 bytes in a
// 64-bit program, so the sizes are those of the architecture the program is built for.
#ifdef _WIN64
constexpr DWORD kPlainOpenFileNameSize = 136;
constexpr DWORD kExtendedOpenFileNameSize = 152;
#else
constexpr DWORD kPlainOpenFileNameSize = 76;
constexpr DWORD kExtendedOpenFileNameSize = 88;
#endif

// "Text files|*.txt|All files|*.*" in the dialog's own form: every "|" a NUL, and the list ended
// by a second NUL. An empty filter stays empty (no filter at all).
std::string dialogFilter(std::string_view filter);

class SaveFileSetup {
  public:
    SaveFileSetup(const platform::SaveDialogRequest& request, HWND owner);
    SaveFileSetup(const SaveFileSetup&) = delete;
    SaveFileSetup& operator=(const SaveFileSetup&) = delete;

    OPENFILENAMEA& structure() { return structure_; }
    const OPENFILENAMEA& structure() const { return structure_; }

    // The file name the dialog left in the buffer.
    std::string chosenPath() const;

  private:
    std::string filter_;
    std::string defaultExtension_;
    std::vector<char> file_;
    OPENFILENAMEA structure_{};
};

}  // namespace tamux::win32
