// The main window's panes: the right pane rebuilt for a category, device sections opened from
// either pane, and the lock-key lines of the right pane.
#include <exception>
#include <vector>

#include "app/main_form.h"
#include "devices/keyboard/keyboard_text.h"
#include "devices/keyboard/lock_key_handlers.h"
#include "devices/mouse/mouse_text.h"
#include "devices/printers/printer_text.h"

namespace tamux {

namespace {

// Runs its action when the scope ends, however it ends; an error there is swallowed, since it
// may end the scope while another error is on its way out.
template <typename Action>
class AtScopeEnd {
  public:
    explicit AtScopeEnd(Action action) : action_(std::move(action)) {}
    ~AtScopeEnd() {
        try {
            action_();
        } catch (const std::exception&) {
        }
    }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

  private:
    Action action_;
};

}  // namespace

void TImputFrm::SectionListBox1ExpandSection(int category) {
    ShowCategory(category);
}

void TImputFrm::SectionListBox1ContractSection(int) {
    // Whichever category closed, the right pane no longer follows an open one.
    right_.clearSections();
}

void TImputFrm::SectionListBox1SubItemClick(int category, int item) {
    ShowCategory(category);
    OpenDeviceSection(PaneRequest::LeftPane, item + 1);
}

void TImputFrm::SectionListBox2SectionClick(int section) {
    OpenDeviceSection(PaneRequest::RightPane, section);
}

void TImputFrm::SectionListBox2SubItemClick(int section, int item) {
    ToggleLockKeyOfLine(right_, section, item, keyState1_);
}

void TImputFrm::ShowCategory(int category) {
    bool suspended = false;
    AtScopeEnd atEnd([&] {
        state_.waitSet.HideWaitDialog();
        if (suspended) right_.resumeRedraw();
    });

    if (category == kPrintersCategory) announcePrinterQueries();
    right_.suspendRedraw();
    suspended = true;

    const TListSection& source = left_.section(category);
    right_.clearSections();
    right_.addSection().setCaption(source.caption());
    const TSubItems& entries = source.subItems();
    for (int i = 0; i < entries.count(); ++i) {
        TListSection& section = right_.addSection();
        section.setCaption(entries[i]);
        fillDeviceSection(category, i, section);
    }
    for (int i = 0; i < entries.count(); ++i) {
        right_.section(i + 1).setImageIndex(entries.imageIndex(i));
    }
}

void TImputFrm::announcePrinterQueries() {
    // The dialog only tells the user to wait; the category is shown without it too.
    try {
        state_.waitSet.ShowWaitDialog();
        state_.waitSet.SetWaitCaption(text(kWaitCaptionText));
        state_.waitSet.SetWaitText(text(kWaitMessageText));
    } catch (const std::exception&) {
    }
}

void TImputFrm::fillDeviceSection(int category, int entry, TListSection& section) {
    const std::string& caption = section.caption();
    // The builders are chosen by the entry's caption within its own category: a printer that
    // happens to be named like the keyboard text must not give the keyboard entry its lines.
    if (category == kInputDevicesCategory) {
        // Where the mouse and keyboard texts read alike (a language module without them gives
        // both the fallback text), the entry's place tells them apart: the mouse comes first.
        const std::string mouseText = markup(kMouseText);
        const std::string keyboardText = markup(kKeyboardText);
        const bool alike = mouseText == keyboardText;
        if (caption == mouseText && (!alike || entry == 0)) {
            section.subItems().assign(MouseTextLines(state_.mouse, state_.lang));
        } else if (caption == keyboardText && (!alike || entry == 1)) {
            section.subItems().assign(KeyboardTextLines(state_.keyboard, keyState1_, state_.lang));
        }
    } else if (category == kPrintersCategory) {
        for (int printer : PrinterIndicesForCaption(printersInfo1_, caption)) {
            section.subItems().assign(
                printerstostringlst(printersInfo1_, printer, printerCaps_, state_.lang));
        }
    }
}

void TImputFrm::OpenDeviceSection(PaneRequest from, int section) {
    right_.suspendRedraw();
    try {
        TListSection& target = right_.section(section);
        const bool open = !target.expanded() || from == PaneRequest::LeftPane;
        target.setState(open ? lssExpanded : lssContracted);
        right_.scrollSectionToTop(section);
    } catch (const std::exception&) {
        // A section that is not there (the pane was emptied meanwhile) is nothing to open.
    }
    right_.resumeRedraw();
}

}  // namespace tamux
