// TImputFrm, the main window, as the program's logic sees it: the start-up sequence that gathers
// the facts and fills the left pane, the right pane built from the line builders when a category
// opens, the device sections opened from either pane, the lock-key answers, and the five top-bar
// buttons. The Win32 window is a thin view over this: it draws the two section list models and
// the buttons' models, and hands every event to the handler of the same name.
#pragma once

#include <array>
#include <string>

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "devices/keyboard/key_state.h"
#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_markup.h"
#include "lang/lang_module.h"
#include "ui/application.h"
#include "ui/section_list.h"

namespace tamux {

// The left pane's two categories (section indexes).
inline constexpr int kInputDevicesCategory = 0;
inline constexpr int kPrintersCategory = 1;

// Images of ImageList1, the left pane's heading images.
inline constexpr int kPrinterHeadingImage = 0;
inline constexpr int kInputDevicesHeadingImage = 1;

// Images of Subitems1Images, the device images of both panes.
inline constexpr int kMouseImage = 0;
inline constexpr int kKeyboardImage = 1;
inline constexpr int kPrinterImage = 2;

// Text ids of the window's captions.
inline constexpr TextId kLabel1Text = 1;
inline constexpr TextId kReportBtnText = 10;
inline constexpr TextId kAboutBtnText = 11;
inline constexpr TextId kLangBtnText = 12;
inline constexpr TextId kMinimizeBtnText = 13;
inline constexpr TextId kCloseBtnText = 52;
inline constexpr TextId kWaitCaptionText = 409;
inline constexpr TextId kWaitMessageText = 410;
inline constexpr TextId kKeyboardText = 601;
inline constexpr TextId kMouseText = 602;
inline constexpr TextId kInputDevicesText = 5590;
inline constexpr TextId kPrintersText = 5591;

// The top-bar buttons, left to right.
enum FormButton { ReportBtn, AboutBtn, LangBtn, minimizeBtn, CloseBtn };
inline constexpr int kFormButtonCount = 5;

// A TExplBtn: its caption and its three pictures (indexes into the window's button pictures).
// Bitmap is the one shown; the other two are what the pointer and the focus switch it to.
struct TExplBtnModel {
    std::string Caption;
    int Bitmap = -1;
    int NoFocusBitmap = -1;
    int DisabledBitmap = -1;
};

// The pictures a button starts with: its own picture in colour for NoFocusBitmap (under the
// pointer), in grey for DisabledBitmap, which it shows until the pointer comes.
inline constexpr int ButtonColourPicture(FormButton button) {
    return static_cast<int>(button);
}
inline constexpr int ButtonGreyPicture(FormButton button) {
    return kFormButtonCount + static_cast<int>(button);
}

// Where a request to open a device section comes from.
enum class PaneRequest { LeftPane, RightPane };

// What the logic asks of the window.
class ImputFormView {
  public:
    virtual ~ImputFormView() = default;
    // The button's caption or Bitmap changed.
    virtual void ButtonChanged(FormButton button) = 0;
    // Label1's text changed.
    virtual void LabelChanged() = 0;
    // Minimises the application.
    virtual void MinimizeApplication() = 0;
    // Closes the main window, which ends the program.
    virtual void CloseForm() = 0;
};

class TImputFrm {
  public:
    // The two panes are the models of the window's section lists (SectionListBox1 left,
    // SectionListBox2 right); the left one is given its two contracted categories with their
    // heading images here. KeyState1 hooks into `application` for the form's lifetime, and
    // PrintersInfo1 asks the spooler at once.
    TImputFrm(AppState& state, Application& application, SectionList& leftPane,
              SectionList& rightPane, AboutViewFactory aboutViews);
    // Disconnects the panes' events.
    ~TImputFrm();
    TImputFrm(const TImputFrm&) = delete;
    TImputFrm& operator=(const TImputFrm&) = delete;

    void setView(ImputFormView* view) { view_ = view; }

    // The start-up sequence, once, when the window has been created: the language module, the
    // device table, the database lookups, the keyboard and mouse facts, the captions, the
    // input-device entries and the printer entries. An error in one step is shown in a message
    // box, and the later steps still run, so that only what that step gathers is missing.
    void FormCreate();

    // The panes' events reach the handlers below by themselves (connected at construction); an
    // error a handler raises ends there and is shown in a message box.

    // The left pane.
    void SectionListBox1ExpandSection(int category);
    void SectionListBox1ContractSection(int category);
    void SectionListBox1SubItemClick(int category, int item);
    // The right pane.
    void SectionListBox2SectionClick(int section);
    void SectionListBox2SubItemClick(int section, int item);

    // Rebuilds the right pane for a category of the left pane: its heading, then one section per
    // entry holding that device's lines, all contracted. The wait dialog is shown meanwhile for
    // the printers. A failing builder leaves the sections added so far, and the error
    // propagates; the wait dialog is hidden and the pane redrawn whatever happens.
    void ShowCategory(int category);
    // Opens right-pane section `section` (a click on its heading in the right pane toggles it
    // instead) and scrolls it to the top. Errors are swallowed.
    void OpenDeviceSection(PaneRequest from, int section);

    // The lock keys: each refreshes the keyboard section's indicator lines.
    void KeyState1CapsLock();
    void KeyState1NumLock();
    void KeyState1ScrollLock();
    void KeyState1Insert();

    // A click on a button, as the window reports it: the button's handler, with an error it
    // raises shown in a message box.
    void ButtonClick(FormButton button);

    // The buttons.
    void ReportBtnClick();
    void AboutBtnClick();
    void LangBtnClick();
    void MinimizeBtnClick();
    void CloseBtnClick();
    // The pointer moved over a button: it shows its NoFocusBitmap.
    void ButtonMouseMove(FormButton button);
    // A button lost the focus: it shows its DisabledBitmap.
    void ButtonExit(FormButton button);

    // What the window shows.
    const TExplBtnModel& Button(FormButton button) const {
        return buttons_[static_cast<std::size_t>(button)];
    }
    const std::string& Label1() const { return label1_; }
    SectionList& SectionListBox1() { return left_; }
    SectionList& SectionListBox2() { return right_; }
    TKeyState& KeyState1() { return keyState1_; }
    const TPrintersInfo& PrintersInfo1() const { return printersInfo1_; }

  private:
    // The steps of FormCreate.
    void loadLanguage();
    void enumerateDevices();
    void lookUpDevices(const char* className);
    void gatherKeyboardFacts();
    void gatherMouseFacts();
    void setCaptions();
    void setCategoryCaptions();
    void addInputDevices();
    void addPrinters();

    void connectPanes();
    template <typename Work>
    void reportingErrors(Work&& work);
    void announcePrinterQueries();
    // Fills the section of entry `entry` (0-based) of the category with that device's lines.
    void fillDeviceSection(int category, int entry, TListSection& section);
    void refreshIndicators();
    TExplBtnModel& button(FormButton b) { return buttons_[static_cast<std::size_t>(b)]; }
    void setButtonBitmap(FormButton b, int picture);
    std::string text(TextId id) const { return state_.lang.GetLangText(id); }
    // The same text as a heading or a pane entry, which are markup.
    std::string markup(TextId id) const { return LangMarkup(state_.lang, id); }

    AppState& state_;
    SectionList& left_;
    SectionList& right_;
    AboutViewFactory aboutViews_;
    ImputFormView* view_ = nullptr;
    TKeyState keyState1_;
    TPrintersInfo printersInfo1_;
    // The last printer queried for its section.
    PrinterCaps printerCaps_;
    std::array<TExplBtnModel, kFormButtonCount> buttons_;
    std::string label1_;
};

}  // namespace tamux
