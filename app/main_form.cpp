#include "app/main_form.h"

#include <utility>

#include "app/exception_report.h"
#include "devices/keyboard/keyboard_collector.h"
#include "devices/keyboard/lock_key_handlers.h"
#include "devices/mouse/mouse_collector.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "report/report_assembly.h"

namespace tamux {

MainForm::MainForm(AppState& state, Application& application, SectionList& leftPane,
                   SectionList& rightPane, AboutViewFactory aboutViews)
    : state_(state),
      left_(leftPane),
      right_(rightPane),
      aboutViews_(std::move(aboutViews)),
      keyState_(application, state.platform.keyboard, state.platform.system),
      printers_(state.platform.spooler, printerListingOf(state.platform.system)),
      printerCaps_(state.platform.spooler) {
    // The two categories exist before any text is known; formCreate captions them.
    left_.clearSections();
    left_.addSection().setImageIndex(kInputDevicesHeadingImage);
    left_.addSection().setImageIndex(kPrinterHeadingImage);

    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto b = static_cast<FormButton>(i);
        ExplorerButtonModel& model = button(b);
        model.noFocusBitmap = buttonColourPicture(b);
        model.disabledBitmap = buttonGreyPicture(b);
        model.bitmap = model.disabledBitmap;
    }

    keyState_.onCapsLock = [this](KeyState&) { capsLockChanged(); };
    keyState_.onNumLock = [this](KeyState&) { numLockChanged(); };
    keyState_.onScrollLock = [this](KeyState&) { scrollLockChanged(); };
    keyState_.onInsert = [this](KeyState&) { insertChanged(); };
    connectPanes();
}

MainForm::~MainForm() {
    left_.onExpandSection = nullptr;
    left_.onContractSection = nullptr;
    left_.onSubItemClick = nullptr;
    right_.onSectionClick = nullptr;
    right_.onSubItemClick = nullptr;
}

template <typename Work>
void MainForm::reportingErrors(Work&& work) {
    runReportingErrors(state_.platform.dialogs, std::forward<Work>(work));
}

void MainForm::connectPanes() {
    left_.onExpandSection = [this](int category) {
        reportingErrors([&] { leftCategoryExpanded(category); });
    };
    left_.onContractSection = [this](int category) {
        reportingErrors([&] { leftCategoryContracted(category); });
    };
    left_.onSubItemClick = [this](int category, int item) {
        reportingErrors([&] { leftEntryClicked(category, item); });
    };
    right_.onSectionClick = [this](int section) {
        reportingErrors([&] { rightSectionClicked(section); });
    };
    right_.onSubItemClick = [this](int section, int item) {
        reportingErrors([&] { rightEntryClicked(section, item); });
    };
}

void MainForm::formCreate() {
    // Each step on its own: a step that fails (a registry value of an unexpected type, a
    // damaged database) costs only what it gathers, and the user is told why.
    auto step = [this](auto&& work) { reportingErrors(work); };
    step([this] { loadLanguage(); });
    {
        // Both lookups read other.txt after their own file: it is deciphered once for the two,
        // on a second thread while the device table is read, and overwritten once the second
        // lookup is done.
        DeviceDatabaseLookups lookups(state_.platform.registry, state_.platform.system,
                                      state_.platform.files, {"Keyboard", "Mouse"}, "",
                                      &state_.platform.parallel);
        step([&] { enumerateDevices(lookups); });
        step([&] { lookUpDevices(lookups, "Keyboard"); });
        step([&] { lookUpDevices(lookups, "Mouse"); });
    }
    step([this] { gatherKeyboardFacts(); });
    step([this] { gatherMouseFacts(); });
    step([this] { setCaptions(); });
    step([this] { setCategoryCaptions(); });
    step([this] { addInputDevices(); });
    step([this] { addPrinters(); });
}

void MainForm::loadLanguage() {
    state_.lang.loadLangModule();
}

void MainForm::enumerateDevices(DeviceDatabaseLookups& lookups) {
    DeviceTableReading reading(state_.platform.registry, state_.platform.system, state_.devices);
    lookups.readBeside(reading);
    reading.finish();
}

void MainForm::lookUpDevices(DeviceDatabaseLookups& lookups, const char* className) {
    lookups.lookUp(state_.devices, className);
}

void MainForm::gatherKeyboardFacts() {
    readKeyboardFacts(state_.platform, state_.devices, state_.lang, state_.keyboard);
}

void MainForm::gatherMouseFacts() {
    readMouseFacts(state_.platform, state_.devices, state_.lang, state_.mouse);
}

void MainForm::setCaptions() {
    constexpr TextId kCaptions[kFormButtonCount] = {kReportButtonText, kAboutButtonText,
                                                    kLanguageButtonText, kMinimizeButtonText,
                                                    kCloseButtonText};
    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto b = static_cast<FormButton>(i);
        button(b).caption = text(kCaptions[i]);
        if (view_) view_->buttonChanged(b);
    }
    captionLabel_ = text(kWindowTitleText);
    if (view_) view_->labelChanged();
}

void MainForm::setCategoryCaptions() {
    left_.section(kInputDevicesCategory).setCaption(markup(kInputDevicesText));
    left_.section(kPrintersCategory).setCaption(markup(kPrintersText));
}

void MainForm::addInputDevices() {
    SubItems& entries = left_.section(kInputDevicesCategory).subItems();
    entries.add(markup(kMouseText));
    entries.add(markup(kKeyboardText));
    entries.setImageIndex(0, kMouseImage);
    entries.setImageIndex(1, kKeyboardImage);
}

void MainForm::addPrinters() {
    readPrinters(printers_, left_);
    SubItems& entries = left_.section(kPrintersCategory).subItems();
    for (int i = 0; i < entries.count(); ++i) entries.setImageIndex(i, kPrinterImage);
}

void MainForm::capsLockChanged() {
    refreshIndicators();
}

void MainForm::numLockChanged() {
    refreshIndicators();
}

void MainForm::scrollLockChanged() {
    refreshIndicators();
}

void MainForm::insertChanged() {
    refreshIndicators();
}

void MainForm::buttonClick(FormButton b) {
    reportingErrors([&] {
        switch (b) {
            case ReportButton:
                reportButtonClick();
                break;
            case AboutButton:
                aboutButtonClick();
                break;
            case LanguageButton:
                languageButtonClick();
                break;
            case MinimizeButton:
                minimizeButtonClick();
                break;
            case CloseButton:
                closeButtonClick();
                break;
        }
    });
}

void MainForm::reportButtonClick() {
    runReport(state_.reportDialog, left_,
              {state_.mouse, state_.keyboard, keyState_, printers_, printerCaps_, state_.lang});
}

void MainForm::aboutButtonClick() {
    showAboutDialog(state_.platform, aboutViews_);
}

void MainForm::languageButtonClick() {
    // A language chosen there applies from the next start; the running window keeps its texts.
    showLanguageDialog(state_.languageDialog);
}

void MainForm::minimizeButtonClick() {
    if (view_) view_->minimizeApplication();
}

void MainForm::closeButtonClick() {
    if (view_) view_->closeForm();
}

void MainForm::buttonMouseMove(FormButton b) {
    setButtonBitmap(b, button(b).noFocusBitmap);
}

void MainForm::buttonExit(FormButton b) {
    setButtonBitmap(b, button(b).disabledBitmap);
}

void MainForm::setButtonBitmap(FormButton b, int picture) {
    ExplorerButtonModel& model = button(b);
    if (model.bitmap == picture) return;  // every pointer move lands here
    model.bitmap = picture;
    if (view_) view_->buttonChanged(b);
}

}  // namespace tamux
