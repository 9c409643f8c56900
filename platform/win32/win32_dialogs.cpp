#include "platform/win32/win32_dialogs.h"

#include "platform/win32/optional_function.h"
#include "platform/win32/save_file_setup.h"
#include "platform/win32/win32_print_canvas.h"

namespace tamux::win32 {

int Win32Dialogs::messageBox(std::string_view text, std::string_view caption, std::uint32_t type) {
    const std::string body(text), title(caption);
    return MessageBoxA(owner_, body.c_str(), title.c_str(), type);
}

std::optional<std::string> Win32Dialogs::saveFile(const platform::SaveDialogRequest& request) {
    // COMDLG32 is loaded when a dialog of its is first shown, not at start; without it there is
    // no dialog, as when the user cancels one.
    static const auto getSaveFileNameA =
        libraryFunctionAs<decltype(&::GetSaveFileNameA)>("COMDLG32.DLL", "GetSaveFileNameA");
    if (!getSaveFileNameA) return std::nullopt;
    SaveFileSetup setup(request, owner_);
    if (!getSaveFileNameA(&setup.structure())) return std::nullopt;
    return setup.chosenPath();
}

std::unique_ptr<platform::PrintCanvas> Win32Dialogs::printDialog() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    // The report prints whole: no page range, no selection; copies are left to the driver.
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    static const auto printDlgA =
        libraryFunctionAs<decltype(&::PrintDlgA)>("COMDLG32.DLL", "PrintDlgA");
    if (!printDlgA) return nullptr;
    BOOL confirmed = printDlgA(&dialog);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    if (!confirmed || !dialog.hDC) {
        if (dialog.hDC) DeleteDC(dialog.hDC);
        return nullptr;
    }
    return std::make_unique<Win32PrintCanvas>(dialog.hDC);
}

}  // namespace tamux::win32
