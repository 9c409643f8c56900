// The report window (ReportDialog): the left pane's two categories again, every entry with a tick
// box, and the Print, Send, Save and Cancel buttons. The window only records the user's choice in
// the report request and closes; the report assembly does the rest, and borrows the window's save
// and print dialogs for it. The window on screen is a view made by a factory, so the whole flow
// runs on a simulated machine.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "lang/lang_module.h"
#include "platform/platform.h"
#include "report/extended_save_dialog.h"
#include "report/report_request.h"
#include "ui/section_list.h"

namespace tamux {

// Text ids of the window.
inline constexpr TextId kPrintButtonText = 50100;
inline constexpr TextId kSaveButtonText = 50101;
inline constexpr TextId kSendButtonText = 50102;
inline constexpr TextId kSelAllText = 50103;
inline constexpr TextId kUnselAllText = 50104;
inline constexpr TextId kReportFormText = 50200;
inline constexpr TextId kReportCloseButtonText = 52;  // the main window's Close text

// The save dialog's settings.
inline constexpr std::string_view kReportSaveFilter =
    "Text files|*.txt|HTML files|*.htm|All files|*.*";
inline constexpr std::string_view kReportDefaultExt = "txt";

// Where the pop-up menu opens, relative to the release point in the list.
inline constexpr int kPopupMenuOffset = 10;

struct ScreenPoint {
    int x = 0, y = 0;
};

class ReportDialog;

// The window of an opening.
class ReportDialogView {
  public:
    virtual ~ReportDialogView() = default;
    // The window's list of entries (reportSectionListBox); it lives as long as the view.
    virtual SectionList& reportSectionListBox() = 0;
    // Shows the window modally; returns once it has closed.
    virtual void showModal() = 0;
    // Closes the window: showModal returns.
    virtual void close() = 0;
    // The window's outer top-left corner on the screen.
    virtual ScreenPoint windowOrigin() = 0;
    // Opens the popup menu at a screen point; a chosen item calls selectAllClick or
    // unselectAllClick.
    virtual void popupMenu(ScreenPoint at) = 0;
};

// Creates the window of an opening, once the form has its texts. May raise an error.
using ReportViewFactory = std::function<std::unique_ptr<ReportDialogView>(ReportDialog& form)>;

// What the report needs from the application, the report request the window writes, and the
// process-wide reference to the open report window. The application keeps one for its whole run;
// tests make a fresh one per case.
struct ReportDialogHost {
    platform::Platform platform;
    const LangModule& lang;
    // The request of the last opening: written by the window, read by the report assembly.
    ReportRequest& sel;
    // The program's title, which the report's last line names.
    std::string applicationTitle;
    ReportViewFactory views;

    // The open report window, or none; a second opening is refused while there is one.
    ReportDialog* current = nullptr;
};

class ReportDialog {
  public:
    // A window that is never shown has no view: the report assembly makes one for its save
    // and print dialogs.
    explicit ReportDialog(ReportDialogHost& host);
    ~ReportDialog();
    ReportDialog(const ReportDialog&) = delete;
    ReportDialog& operator=(const ReportDialog&) = delete;

    void setView(ReportDialogView* view);
    ReportDialogView* view() const { return view_; }

    // Sets the texts of the window, its buttons and its menu.
    void formCreate();

    // The texts the window shows.
    std::string caption;
    std::string printButtonCaption;
    std::string sendButtonCaption;
    std::string saveButtonCaption;
    std::string closeButtonCaption;
    std::string selectAllCaption;
    std::string unselectAllCaption;

    ExtendedSaveDialog saveDialog;

    // The list of the view. Raises Error without a view.
    SectionList& reportSectionListBox();

    // Copies the main window's left-pane sections (captions, images, entries with their images),
    // all contracted and unticked, the first row current, every entry with a tick box.
    void fillSections(const SectionList& leftPane);

    // A report request from the current ticks: every ticked entry, section by section.
    void getSelection(ReportAction action, ReportRequest& sel);

    // The buttons: the request of the ticks with the button's action, or ReportAction::None for
    // Cancel, becomes the host's request, and the window closes.
    void printButtonClick();
    void sendButtonClick();
    void saveButtonClick();
    void closeButtonClick();
    // The pop-up menu: ticks, or unticks, every entry of the section holding the current row.
    void selectAllClick();
    void unselectAllClick();
    // The release of a mouse button over the list, in the list's coordinates: the right button
    // opens the pop-up menu beside the pointer.
    void reportSectionListBoxMouseUp(MouseButton button, int x, int y);
    // Every way of closing the window ends here.
    void formClose();

    // The system the window runs on, for how it builds its menu.
    platform::System& system() { return host_.platform.system; }

  private:
    void buttonClick(ReportAction action);
    void tickCurrentSection(bool ticked);
    std::string text(TextId id) const { return host_.lang.getLangText(id); }

    ReportDialogHost& host_;
    ReportDialogView* view_ = nullptr;
};

// Opens the report window modally with the left pane's entries, unless one is open, and returns
// once it has closed; the host's request then holds the user's choice. The request is reset to
// ReportAction::None with no items first. Errors while the window is made, filled or shown are
// swallowed, and the request is then ReportAction::None.
void showReportDialog(ReportDialogHost& host, const SectionList& leftPane);

// Closes the open report window, if any, and forgets it.
void closeReportDialog(ReportDialogHost& host);

}  // namespace tamux
