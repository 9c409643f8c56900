// MainForm, the main window, as the program's logic sees it: the start-up sequence that gathers
// the facts and fills the left pane, the right pane built from the line builders when a category
// opens, the device sections opened from either pane, the lock-key answers, and the five top-bar
// buttons. The Win32 window is a thin view over this: it draws the two section list models and
// the buttons' models, and hands every event to the handler of the same name.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "devices/keyboard/key_state.h"
#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_markup.h"
#include "lang/lang_module.h"
#include "lang/window_text_ids.h"
#include "ui/application.h"
#include "ui/device_section.h"
#include "ui/pane_layout.h"
#include "ui/section_list.h"

namespace tamux {

class DeviceDatabaseLookups;

// The left pane's category heading pictures.
inline constexpr int kPrinterHeadingImage = 0;
inline constexpr int kInputDevicesHeadingImage = 1;

// The pictures of the device entries in both panes: the same list as the device lines'.
inline constexpr int kMouseImage = static_cast<int>(LineIcon::Mouse);
inline constexpr int kKeyboardImage = static_cast<int>(LineIcon::Keyboard);
inline constexpr int kPrinterImage = static_cast<int>(LineIcon::Printer);

// The top-bar buttons, left to right.
enum FormButton { ReportButton, AboutButton, LanguageButton, MinimizeButton, CloseButton };
inline constexpr int kFormButtonCount = 5;

// An explorer-style button: its caption and its three pictures (indexes into the window's button
// pictures). Bitmap is the one shown; the other two are what the pointer and the focus switch it
// to.
struct ExplorerButtonModel {
    std::string caption;
    int bitmap = -1;
    int noFocusBitmap = -1;
    int disabledBitmap = -1;
};

// The pictures a button starts with: its own picture in colour for NoFocusBitmap (under the
// pointer), in grey for DisabledBitmap, which it shows until the pointer comes.
inline constexpr int buttonColourPicture(FormButton button) {
    return static_cast<int>(button);
}
inline constexpr int buttonGreyPicture(FormButton button) {
    return kFormButtonCount + static_cast<int>(button);
}

// Where a request to open a device section comes from.
enum class PaneRequest { LeftPane, RightPane };

// What the logic asks of the window.
class MainFormView {
  public:
    virtual ~MainFormView() = default;
    // The button's caption or Bitmap changed.
    virtual void buttonChanged(FormButton button) = 0;
    // captionLabel's text changed.
    virtual void labelChanged() = 0;
    // Minimises the application.
    virtual void minimizeApplication() = 0;
    // Closes the main window, which ends the program.
    virtual void closeForm() = 0;
};

class MainForm {
  public:
    // The two panes are the models of the window's section lists (leftSections left,
    // rightSections right); the left one is given its two contracted categories with their
    // heading images here. keyState hooks into `application` for the form's lifetime, and
    // printers asks the spooler at once.
    MainForm(AppState& state, Application& application, SectionList& leftPane,
             SectionList& rightPane, AboutViewFactory aboutViews);
    // Disconnects the panes' events.
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    void setView(MainFormView* view) { view_ = view; }

    // The start-up sequence, once, when the window has been created: the language module, the
    // device table, the database lookups, the keyboard and mouse facts, the captions, the
    // input-device entries and the printer entries. An error in one step is shown in a message
    // box, and the later steps still run, so that only what that step gathers is missing.
    void formCreate();

    // The panes' events reach the handlers below by themselves (connected at construction); an
    // error a handler raises ends there and is shown in a message box.

    // The left pane.
    void leftCategoryExpanded(int category);
    void leftCategoryContracted(int category);
    void leftEntryClicked(int category, int item);
    // The right pane.
    void rightSectionClicked(int section);
    void rightEntryClicked(int section, int item);

    // Rebuilds the right pane for a category of the left pane: its heading, then one section per
    // entry holding that device's lines, all contracted. The wait dialog is shown meanwhile for
    // the printers. A failing builder leaves the sections added so far, and the error
    // propagates; the wait dialog is hidden and the pane redrawn whatever happens.
    void showCategory(int category);
    // Opens right-pane section `section` (a click on its heading in the right pane toggles it
    // instead) and scrolls it to the top. Errors are swallowed.
    void openDeviceSection(PaneRequest from, int section);

    // The lock keys: each refreshes the keyboard section's indicator lines.
    void capsLockChanged();
    void numLockChanged();
    void scrollLockChanged();
    void insertChanged();

    // A click on a button, as the window reports it: the button's handler, with an error it
    // raises shown in a message box.
    void buttonClick(FormButton button);

    // The buttons.
    void reportButtonClick();
    void aboutButtonClick();
    void languageButtonClick();
    void minimizeButtonClick();
    void closeButtonClick();
    // The pointer moved over a button: it shows its NoFocusBitmap.
    void buttonMouseMove(FormButton button);
    // A button lost the focus: it shows its DisabledBitmap.
    void buttonExit(FormButton button);

    // What the window shows.
    const ExplorerButtonModel& Button(FormButton button) const {
        return buttons_[static_cast<std::size_t>(button)];
    }
    const std::string& captionLabel() const { return captionLabel_; }
    SectionList& leftSections() { return left_; }
    SectionList& rightSections() { return right_; }
    KeyState& keyState() { return keyState_; }
    const PrinterList& printers() const { return printers_; }

  private:
    // The steps of formCreate.
    void loadLanguage();
    // The device table, read by two threads beside the deciphering of the lookups' database.
    void enumerateDevices(DeviceDatabaseLookups& lookups);
    void lookUpDevices(DeviceDatabaseLookups& lookups, const char* className);
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
    // The section of entry `entry` (0-based) of the category, whose caption is `caption`.
    DeviceSection deviceSection(int category, int entry, const std::string& caption);
    // The device shown in right-pane section `section`; null for the heading or past the end.
    const DeviceSection* shownSection(int section) const;
    void clearRightPane();
    // Brings the keyboard section's indicators up to the keys' states.
    void refreshIndicators();
    ExplorerButtonModel& button(FormButton b) { return buttons_[static_cast<std::size_t>(b)]; }
    void setButtonBitmap(FormButton b, int picture);
    std::string text(TextId id) const { return state_.lang.getLangText(id); }
    // The same text as a heading or a pane entry, which are markup.
    std::string markup(TextId id) const { return langMarkup(state_.lang, id); }

    AppState& state_;
    SectionList& left_;
    SectionList& right_;
    AboutViewFactory aboutViews_;
    MainFormView* view_ = nullptr;
    KeyState keyState_;
    PrinterList printers_;
    // The last printer queried for its section.
    PrinterCaps printerCaps_;
    // What the right pane's device sections show, in the pane's order after its heading.
    std::vector<DeviceSection> shownSections_;
    std::array<ExplorerButtonModel, kFormButtonCount> buttons_;
    std::string captionLabel_;
};

}  // namespace tamux
