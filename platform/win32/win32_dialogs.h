// The Dialogs service over MessageBoxA and the common save and print dialogs.
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

class Win32Dialogs final : public platform::Dialogs {
  public:
    // The window that owns the message boxes and dialogs (none until the program sets it).
    void setOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    int messageBox(std::string_view text, std::string_view caption, std::uint32_t type) override;
    std::optional<std::string> saveFile(const platform::SaveDialogRequest& request) override;
    std::unique_ptr<platform::PrintCanvas> printDialog() override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace tamux::win32
