// The main window's panes: the right pane rebuilt for a category, device sections opened from
// either pane, and the lock-key lines of the right pane.
#include <exception>
#include <vector>

#include "app/main_form.h"
#include "devices/keyboard/keyboard_section.h"
#include "devices/keyboard/lock_key_handlers.h"
#include "devices/mouse/mouse_section.h"
#include "devices/printers/printer_section.h"
#include "ui/section_markup.h"

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

void MainForm::leftCategoryExpanded(int category) {
    showCategory(category);
}

void MainForm::leftCategoryContracted(int) {
    // Whichever category closed, the right pane no longer follows an open one.
    clearRightPane();
}

void MainForm::leftEntryClicked(int category, int item) {
    showCategory(category);
    openDeviceSection(PaneRequest::LeftPane, item + 1);
}

void MainForm::rightSectionClicked(int section) {
    openDeviceSection(PaneRequest::RightPane, section);
}

void MainForm::rightEntryClicked(int section, int item) {
    if (const DeviceSection* shown = shownSection(section)) {
        toggleLockKeyOfLine(*shown, item, keyState_);
    }
}

const DeviceSection* MainForm::shownSection(int section) const {
    // Section 0 is the category's heading; the devices follow it.
    if (section < 1 || section > static_cast<int>(shownSections_.size())) return nullptr;
    return &shownSections_[static_cast<std::size_t>(section - 1)];
}

void MainForm::clearRightPane() {
    right_.clearSections();
    shownSections_.clear();
}

void MainForm::refreshIndicators() {
    for (std::size_t i = 0; i < shownSections_.size(); ++i) {
        DeviceSection& shown = shownSections_[i];
        if (shown.kind != DeviceKind::Keyboard) continue;
        SubItems& lines = right_.section(static_cast<int>(i) + 1).subItems();
        for (int line : updateIndicators(shown, keyState_)) {
            lines.set(line,
                      sectionLineMarkup(shown.kind, shown.lines[static_cast<std::size_t>(line)]));
        }
    }
}

void MainForm::showCategory(int category) {
    bool suspended = false;
    AtScopeEnd atEnd([&] {
        state_.waitSet.hideWaitDialog();
        if (suspended) right_.resumeRedraw();
    });

    if (category == kPrintersCategory) announcePrinterQueries();
    right_.suspendRedraw();
    suspended = true;

    const ListSection& source = left_.section(category);
    clearRightPane();
    right_.addSection().setCaption(source.caption());
    const SubItems& entries = source.subItems();
    for (int i = 0; i < entries.count(); ++i) {
        ListSection& section = right_.addSection();
        section.setCaption(entries[i]);
        shownSections_.push_back(deviceSection(category, i, entries[i]));
        section.subItems().assign(sectionMarkup(shownSections_.back()));
    }
    for (int i = 0; i < entries.count(); ++i) {
        right_.section(i + 1).setImageIndex(entries.imageIndex(i));
    }
}

void MainForm::announcePrinterQueries() {
    // The dialog only tells the user to wait; the category is shown without it too.
    try {
        state_.waitSet.showWaitDialog();
        state_.waitSet.setWaitCaption(text(kWaitCaptionText));
        state_.waitSet.setWaitText(text(kWaitMessageText));
    } catch (const std::exception&) {
    }
}

DeviceSection MainForm::deviceSection(int category, int entry, const std::string& caption) {
    // The input devices are always the mouse, then the keyboard.
    if (category == kInputDevicesCategory) {
        if (entry == kMouseEntry) return mouseSection(state_.mouse, state_.lang);
        if (entry == kKeyboardEntry) {
            return keyboardSection(state_.keyboard, keyState_, state_.lang);
        }
    }
    // A printer entry stands for the printers of its name, and only among the printers: one named
    // like the keyboard text must not give that entry its lines. Of printers that share a name,
    // the pane shows the last.
    if (category == kPrintersCategory) {
        DeviceSection section{DeviceKind::Printer, caption, {}};
        for (int printer : printerIndicesForCaption(printers_, caption)) {
            section = printerSection(printers_, printer, printerCaps_, state_.lang);
        }
        return section;
    }
    return {};
}

void MainForm::openDeviceSection(PaneRequest from, int section) {
    right_.suspendRedraw();
    try {
        ListSection& target = right_.section(section);
        const bool open = !target.expanded() || from == PaneRequest::LeftPane;
        target.setState(open ? SectionState::Expanded : SectionState::Contracted);
        right_.scrollSectionToTop(section);
    } catch (const std::exception&) {
        // A section that is not there (the pane was emptied meanwhile) is nothing to open.
    }
    right_.resumeRedraw();
}

}  // namespace tamux
