// The language selection dialog (LanguageDialog): seven flag buttons, one per language the
// program knows, enabled where the language's module lies beside the executable, with the
// language of the settings file down; OK stores the chosen code as "Language" and offers to
// restart the program in it. The window is a view made by a factory, so that the whole flow runs
// on a simulated machine.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/exclusive_group.h"

namespace tamux {

// One flag button of the language dialog: its label, its language code and its top edge.
struct FlagButton {
    std::string_view label;
    std::string_view code;
    int top;
};

// The buttons from top to bottom; the model's button indexes follow this order. Two labels
// differ from their codes: "CZ" selects "CSY" and "RU" selects "RUS".
inline constexpr int kLanguageButtonCount = 7;
inline constexpr std::array<FlagButton, kLanguageButtonCount> kLanguageButtons = {{
    {"CZ", "CSY", 8},
    {"DE", "DE", 32},
    {"EN", "EN", 56},
    {"ES", "ES", 80},
    {"FR", "FR", 104},
    {"IT", "IT", 128},
    {"RU", "RUS", 152},
}};

// The order in which the buttons are enabled and read when storing.
inline constexpr std::array<std::string_view, kLanguageButtonCount> kLanguageCodeOrder = {
    "EN", "ES", "DE", "FR", "IT", "RUS", "CSY"};

// The language marked when the settings file names none; it is written there at once.
inline constexpr std::string_view kDefaultDialogLanguage = "EN";

// Fixed texts of the dialog: none is looked up by text id.
inline constexpr std::string_view kLanguageDialogTitle = "Languagesettings";
inline constexpr std::string_view kOkCaption = "Ok";
inline constexpr std::string_view kCancelCaption = "Cancel";
inline constexpr std::string_view kRestartQuestion =
    "Changing language will take effect after you restart the application.Would You like to "
    "exit?";
inline constexpr std::string_view kRestartQuestionCaption = "Information";

// The button of a language code, compared exactly; -1 for a code that is none of the seven.
int languageButtonOf(std::string_view code);

class LanguageDialog;

// The window of the dialog.
class LanguageDialogView {
  public:
    virtual ~LanguageDialogView() = default;
    // Shows the window modally; returns once it has closed.
    virtual void showModal() = 0;
    // Closes the window: showModal returns.
    virtual void close() = 0;
};

// Creates the window of a dialog. May raise an error.
using LanguageViewFactory =
    std::function<std::unique_ptr<LanguageDialogView>(LanguageDialog& dialog)>;

// Everything the dialog needs from the application, and the two process-wide values it keeps:
// the open dialog and the restart flag. The application keeps one for its whole run; tests make
// a fresh one per case.
struct LanguageDialogHost {
    platform::Platform platform;
    LanguageViewFactory views;
    // Ends the application (after a restart was started).
    std::function<void()> terminateApplication;

    // The open dialog, or none; a second opening is refused while there is one.
    LanguageDialog* current = nullptr;
    // Set when the user accepted to restart.
    bool restart = false;
};

class LanguageDialog {
  public:
    explicit LanguageDialog(LanguageDialogHost& host);
    LanguageDialog(const LanguageDialog&) = delete;
    LanguageDialog& operator=(const LanguageDialog&) = delete;

    // The seven language buttons (indexes as in kLanguageButtons): enabled and down states. The
    // view follows its changes (onChange) and hands the user's clicks to languageButtonClick.
    ExclusiveGroup& buttons() { return buttons_; }
    const ExclusiveGroup& buttons() const { return buttons_; }

    void setView(LanguageDialogView* view) { view_ = view; }
    LanguageDialogView* view() const { return view_; }

    // Enables exactly the buttons whose module exists beside the executable.
    void enableLanguages();
    // Puts the button of the stored "Language" down; a missing value marks and writes "EN".
    void markCurrentLanguage();
    // Writes the code of the button that is down as "Language"; false, writing nothing, when
    // none is down.
    bool storeLanguage();

    // The user clicks a flag button (disabled buttons ignore it).
    void languageButtonClick(int button);
    // OK: store, close, and offer the restart.
    void okClick();
    // Cancel: close without writing.
    void cancelClick();
    // Closed by the close box, the system menu or the Escape key: as Cancel.
    void formClose();

  private:
    std::string settingsFile() const;

    LanguageDialogHost& host_;
    ExclusiveGroup buttons_;
    LanguageDialogView* view_ = nullptr;
};

// Opens the dialog modally unless one is open, and returns the restart flag once it has closed
// (at once when one is open). Errors while creating or showing it are swallowed.
bool showLanguageDialog(LanguageDialogHost& host);

// Closes the open dialog, if any, and forgets it.
void closeLanguageDialog(LanguageDialogHost& host);

}  // namespace tamux
