// Message boxes and the common save and print dialogs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tamux::platform {

class PrintCanvas;

// MessageBox type flags and results that the program uses.
namespace mb {
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kIconError = 0x10;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

// What the save dialog is asked to show (GetSaveFileNameA).
struct SaveDialogRequest {
    std::string filter;            // "Text files|*.txt|..." pairs, "|"-separated
    int filterIndex = 1;           // 1-based, as in OPENFILENAME
    std::string defaultExtension;  // without the dot
    std::string initialFileName;
    bool overwritePrompt = false;
    // The extended OPENFILENAME (NT 5 and later; 88 bytes in a 32-bit program, 152 in a 64-bit
    // one) or the plain one that ends before its reserved fields (76 bytes, or 136).
    bool extendedStructure = false;
    bool showPlacesBar = true;  // only meaningful with the extended structure
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // MessageBoxA(owner window, text, caption, type). Returns the button pressed (mb::kIdOk ...).
    virtual int messageBox(std::string_view text, std::string_view caption, std::uint32_t type) = 0;

    // The common save dialog. Returns the chosen full path, or nullopt when cancelled.
    virtual std::optional<std::string> saveFile(const SaveDialogRequest& request) = 0;

    // The common print dialog with default options. Returns a canvas on the chosen printer, or
    // nullptr when cancelled.
    virtual std::unique_ptr<PrintCanvas> printDialog() = 0;
};

}  // namespace tamux::platform
