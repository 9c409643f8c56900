// The report window (TReportFrm): the left pane's two categories again, every entry with a tick
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
#include "report/report_request.h"
#include "report/save_dialog_ex.h"
#include "ui/section_list.h"

namespace tamux {

// Text ids of the window.
inline constexpr TextId kPrintBtnText = 50100;
inline constexpr TextId kSaveBtnText = 50101;
inline constexpr TextId kSendBtnText = 50102;
inline constexpr TextId kSelAllText = 50103;
inline constexpr TextId kUnselAllText = 50104;
inline constexpr TextId kReportFormText = 50200;
inline constexpr TextId kReportCloseBtnText = 52;  // the main window's Close text

// The save dialog's settings.
inline constexpr std::string_view kReportSaveFilter =
    "Text files|*.txt|HTML files|*.htm|All files|*.*";
inline constexpr std::string_view kReportDefaultExt = "txt";

// Where the pop-up menu opens, relative to the release point in the list.
inline constexpr int kPopupMenuOffset = 10;

struct ScreenPoint {
    int x = 0, y = 0;
};

class TReportFrm;

// The window of an opening.
class ReportDialogView {
  public:
    virtual ~ReportDialogView() = default;
    // The window's list of entries (ReportSectionListBox); it lives as long as the view.
    virtual SectionList& ReportSectionListBox() = 0;
    // Shows the window modally; returns once it has closed.
    virtual void ShowModal() = 0;
    // Closes the window: ShowModal returns.
    virtual void Close() = 0;
    // The window's outer top-left corner on the screen.
    virtual ScreenPoint WindowOrigin() = 0;
    // Opens PopupMenu1 at a screen point; a chosen item calls SelAll1Click or UnselAll1Click.
    virtual void PopupMenu(ScreenPoint at) = 0;
};

// Creates the window of an opening, once the form has its texts. May raise an error.
using ReportViewFactory = std::function<std::unique_ptr<ReportDialogView>(TReportFrm& form)>;

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
    TReportFrm* current = nullptr;
};

class TReportFrm {
  public:
    // A window that is never shown has no view: the report assembly makes one for its save
    // and print dialogs.
    explicit TReportFrm(ReportDialogHost& host);
    ~TReportFrm();
    TReportFrm(const TReportFrm&) = delete;
    TReportFrm& operator=(const TReportFrm&) = delete;

    void setView(ReportDialogView* view);
    ReportDialogView* view() const { return view_; }

    // Sets the texts of the window, its buttons and its menu.
    void FormCreate();

    // The texts the window shows.
    std::string Caption;
    std::string PrintBtnCaption;
    std::string SendBtnCaption;
    std::string SaveBtnCaption;
    std::string CloseBtnCaption;
    std::string SelAll1Caption;
    std::string UnselAll1Caption;

    TSaveDialogEx SaveDialogEx1;

    // The list of the view. Raises Error without a view.
    SectionList& ReportSectionListBox();

    // Copies the main window's left-pane sections (captions, images, entries with their images),
    // all contracted and unticked, the first row current, every entry with a tick box.
    void fillsections(const SectionList& leftPane);

    // A report request from the current ticks: every ticked entry, section by section.
    void getselection(ReportAction action, ReportRequest& sel);

    // The buttons: the request of the ticks with the button's action, or raNone for Cancel,
    // becomes the host's request, and the window closes.
    void PrintBtnClick();
    void SendBtnClick();
    void SaveBtnClick();
    void CloseBtnClick();
    // The pop-up menu: ticks, or unticks, every entry of the section holding the current row.
    void SelAll1Click();
    void UnselAll1Click();
    // The release of a mouse button over the list, in the list's coordinates: the right button
    // opens the pop-up menu beside the pointer.
    void ReportSectionListBoxMouseUp(MouseButton button, int x, int y);
    // Every way of closing the window ends here.
    void FormClose();

    // The system the window runs on, for how it builds its menu.
    platform::System& system() { return host_.platform.system; }

  private:
    void buttonClick(ReportAction action);
    void tickCurrentSection(bool ticked);
    std::string text(TextId id) const { return host_.lang.GetLangText(id); }

    ReportDialogHost& host_;
    ReportDialogView* view_ = nullptr;
};

// Opens the report window modally with the left pane's entries, unless one is open, and returns
// once it has closed; the host's request then holds the user's choice. The request is reset to
// raNone with no items first. Errors while the window is made, filled or shown are swallowed,
// and the request is then raNone.
void showreportdialog(ReportDialogHost& host, const SectionList& leftPane);

// Closes the open report window, if any, and forgets it.
void closereportdialog(ReportDialogHost& host);

}  // namespace tamux
