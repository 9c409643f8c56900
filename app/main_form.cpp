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

TImputFrm::TImputFrm(AppState& state, Application& application, SectionList& leftPane,
                     SectionList& rightPane, AboutViewFactory aboutViews)
    : state_(state),
      left_(leftPane),
      right_(rightPane),
      aboutViews_(std::move(aboutViews)),
      keyState1_(application, state.platform.keyboard, state.platform.system),
      printersInfo1_(state.platform.spooler, PrinterListingOf(state.platform.system)),
      printerCaps_(state.platform.spooler) {
    // The two categories exist before any text is known; FormCreate captions them.
    left_.clearSections();
    left_.addSection().setImageIndex(kInputDevicesHeadingImage);
    left_.addSection().setImageIndex(kPrinterHeadingImage);

    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto b = static_cast<FormButton>(i);
        TExplBtnModel& model = button(b);
        model.NoFocusBitmap = ButtonColourPicture(b);
        model.DisabledBitmap = ButtonGreyPicture(b);
        model.Bitmap = model.DisabledBitmap;
    }

    keyState1_.OnCapsLock = [this](TKeyState&) { KeyState1CapsLock(); };
    keyState1_.OnNumLock = [this](TKeyState&) { KeyState1NumLock(); };
    keyState1_.OnScrollLock = [this](TKeyState&) { KeyState1ScrollLock(); };
    keyState1_.OnInsert = [this](TKeyState&) { KeyState1Insert(); };
    connectPanes();
}

TImputFrm::~TImputFrm() {
    left_.onExpandSection = nullptr;
    left_.onContractSection = nullptr;
    left_.onSubItemClick = nullptr;
    right_.onSectionClick = nullptr;
    right_.onSubItemClick = nullptr;
}

template <typename Work>
void TImputFrm::reportingErrors(Work&& work) {
    RunReportingErrors(state_.platform.dialogs, std::forward<Work>(work));
}

void TImputFrm::connectPanes() {
    left_.onExpandSection = [this](int category) {
        reportingErrors([&] { SectionListBox1ExpandSection(category); });
    };
    left_.onContractSection = [this](int category) {
        reportingErrors([&] { SectionListBox1ContractSection(category); });
    };
    left_.onSubItemClick = [this](int category, int item) {
        reportingErrors([&] { SectionListBox1SubItemClick(category, item); });
    };
    right_.onSectionClick = [this](int section) {
        reportingErrors([&] { SectionListBox2SectionClick(section); });
    };
    right_.onSubItemClick = [this](int section, int item) {
        reportingErrors([&] { SectionListBox2SubItemClick(section, item); });
    };
}

void TImputFrm::FormCreate() {
    // Each step on its own: a step that fails (a registry value of an unexpected type, a
    // damaged database) costs only what it gathers, and the user is told why.
    auto step = [this](auto&& work) { reportingErrors(work); };
    step([this] { loadLanguage(); });
    step([this] { enumerateDevices(); });
    step([this] { lookUpDevices("Keyboard"); });
    step([this] { lookUpDevices("Mouse"); });
    step([this] { gatherKeyboardFacts(); });
    step([this] { gatherMouseFacts(); });
    step([this] { setCaptions(); });
    step([this] { setCategoryCaptions(); });
    step([this] { addInputDevices(); });
    step([this] { addPrinters(); });
}

void TImputFrm::loadLanguage() {
    state_.lang.LoadLangModule();
}

void TImputFrm::enumerateDevices() {
    EnumDevices(state_.platform.registry, state_.platform.system, state_.devices);
}

void TImputFrm::lookUpDevices(const char* className) {
    LookupDeviceDatabase(state_.platform.registry, state_.platform.system, state_.platform.files,
                         state_.devices, className, "");
}

void TImputFrm::gatherKeyboardFacts() {
    getkeyboardInfos(state_.platform, state_.devices, state_.lang, state_.keyboard);
}

void TImputFrm::gatherMouseFacts() {
    getmouseinfos(state_.platform, state_.devices, state_.lang, state_.mouse);
}

void TImputFrm::setCaptions() {
    constexpr TextId kCaptions[kFormButtonCount] = {kReportButtonText, kAboutButtonText,
                                                    kLanguageButtonText, kMinimizeButtonText,
                                                    kCloseButtonText};
    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto b = static_cast<FormButton>(i);
        button(b).Caption = text(kCaptions[i]);
        if (view_) view_->ButtonChanged(b);
    }
    label1_ = text(kWindowTitleText);
    if (view_) view_->LabelChanged();
}

void TImputFrm::setCategoryCaptions() {
    left_.section(kInputDevicesCategory).setCaption(markup(kInputDevicesText));
    left_.section(kPrintersCategory).setCaption(markup(kPrintersText));
}

void TImputFrm::addInputDevices() {
    TSubItems& entries = left_.section(kInputDevicesCategory).subItems();
    entries.add(markup(kMouseText));
    entries.add(markup(kKeyboardText));
    entries.setImageIndex(0, kMouseImage);
    entries.setImageIndex(1, kKeyboardImage);
}

void TImputFrm::addPrinters() {
    getprinters(printersInfo1_, left_);
    TSubItems& entries = left_.section(kPrintersCategory).subItems();
    for (int i = 0; i < entries.count(); ++i) entries.setImageIndex(i, kPrinterImage);
}

void TImputFrm::KeyState1CapsLock() {
    refreshIndicators();
}

void TImputFrm::KeyState1NumLock() {
    refreshIndicators();
}

void TImputFrm::KeyState1ScrollLock() {
    refreshIndicators();
}

void TImputFrm::KeyState1Insert() {
    refreshIndicators();
}

void TImputFrm::ButtonClick(FormButton b) {
    reportingErrors([&] {
        switch (b) {
            case ReportBtn:
                ReportBtnClick();
                break;
            case AboutBtn:
                AboutBtnClick();
                break;
            case LangBtn:
                LangBtnClick();
                break;
            case minimizeBtn:
                MinimizeBtnClick();
                break;
            case CloseBtn:
                CloseBtnClick();
                break;
        }
    });
}

void TImputFrm::ReportBtnClick() {
    RunReport(
        state_.reportDialog, left_,
        {state_.mouse, state_.keyboard, keyState1_, printersInfo1_, printerCaps_, state_.lang});
}

void TImputFrm::AboutBtnClick() {
    ShowAbout(state_.platform, aboutViews_);
}

void TImputFrm::LangBtnClick() {
    // A language chosen there applies from the next start; the running window keeps its texts.
    showlanguagedialog(state_.languageDialog);
}

void TImputFrm::MinimizeBtnClick() {
    if (view_) view_->MinimizeApplication();
}

void TImputFrm::CloseBtnClick() {
    if (view_) view_->CloseForm();
}

void TImputFrm::ButtonMouseMove(FormButton b) {
    setButtonBitmap(b, button(b).NoFocusBitmap);
}

void TImputFrm::ButtonExit(FormButton b) {
    setButtonBitmap(b, button(b).DisabledBitmap);
}

void TImputFrm::setButtonBitmap(FormButton b, int picture) {
    TExplBtnModel& model = button(b);
    if (model.Bitmap == picture) return;  // every pointer move lands here
    model.Bitmap = picture;
    if (view_) view_->ButtonChanged(b);
}

}  // namespace tamux
