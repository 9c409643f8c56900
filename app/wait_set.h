// The small "please wait" dialog shown while the printers category is built: a caption, an
// hourglass picture and a message. At most one exists at a time; the WaitSet holds it from
// showWaitDialog to hideWaitDialog. The window itself is a view made by a factory, so that the
// operations run without a window in the tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tamux {

// The texts a new dialog shows until the caller sets its own, in code page 1250 (0xC8 C with
// caron, 0xE8 c with caron, 0xED i with acute accent).
inline constexpr std::string_view kInitialWaitCaption =
    "\xC8"
    "ekejte pros\xEDm....";
inline constexpr std::string_view kInitialWaitText =
    "Aktualizuji seznam hardwaru, po\xE8kejte pros\xEDm...";

// What the dialog shows.
struct WaitDialog {
    std::string caption = std::string(kInitialWaitCaption);
    std::string labelWait = std::string(kInitialWaitText);
};

// The dialog's window. Each call may raise an error.
class WaitDialogView {
  public:
    virtual ~WaitDialogView() = default;
    // Shows the window and paints it at once (no message is processed meanwhile).
    virtual void show() = 0;
    // The dialog's Caption changed.
    virtual void captionChanged() = 0;
    // LabelWait changed: the label is painted again at once.
    virtual void textChanged() = 0;
    // Hides the window and paints what it covered at once.
    virtual void hide() = 0;
};

// Makes the window of a new dialog (it reads the dialog's texts). May raise an error.
using WaitViewFactory = std::function<std::unique_ptr<WaitDialogView>(const WaitDialog& dialog)>;

// Sets the application-wide cursor: the hourglass (true) or the default one (false).
using BusyCursor = std::function<void(bool hourglass)>;

class WaitSet {
  public:
    WaitSet() = default;
    WaitSet(const WaitSet&) = delete;
    WaitSet& operator=(const WaitSet&) = delete;
    ~WaitSet();

    // Without a factory a dialog has no window; without a cursor setter the cursor stays.
    void setViews(WaitViewFactory views) { views_ = std::move(views); }
    void setCursor(BusyCursor cursor) { cursor_ = std::move(cursor); }

    // Unless a dialog exists: creates one, shows it, paints it at once and sets the hourglass.
    // An error while creating or showing it is swallowed: whatever asked for it goes on.
    void showWaitDialog();
    // Set the dialog's caption and message. Without a dialog (its creation failed) they do
    // nothing rather than fail the work the dialog was only to announce.
    void setWaitCaption(std::string_view caption);
    void setWaitText(std::string_view text);
    // If a dialog exists: hides and destroys it, sets the default cursor and forgets it, also
    // when hiding it fails. Otherwise nothing.
    void hideWaitDialog();

    // The dialog that exists, or null.
    const WaitDialog* dlgWaitSet() const { return dialog_ ? &dialog_->texts : nullptr; }

  private:
    struct Dialog {
        WaitDialog texts;
        std::unique_ptr<WaitDialogView> view;  // after the texts: destroyed before them
    };

    void setCursor(bool hourglass);

    WaitViewFactory views_;
    BusyCursor cursor_;
    std::unique_ptr<Dialog> dialog_;
};

}  // namespace tamux
