#include "tests/unit/app/form_harness.h"

#include <filesystem>

#include "devices/keyboard/keyboard_section.h"
#include "devices/mouse/mouse_section.h"
#include "devices/printers/printer_section.h"
#include "lang/settings_file.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "ui/section_markup.h"

namespace tamux::test {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<sim::Machine> loadMachine(const std::string& sample, const fs::path& drive) {
    if (sample.empty()) return sim::Machine::blank(drive);
    return sim::Machine::load(sourceDir() / "samples" / "machines" / sample, drive);
}

// A window that is shown and closed at once.
class ClosedAboutView : public AboutDialogView {
  public:
    int ShowModal() override { return kModalCancel; }
};

class ClosedLanguageView : public LanguageDialogView {
  public:
    void ShowModal() override {}
    void Close() override {}
};

class RecordingWaitView : public WaitDialogView {
  public:
    RecordingWaitView(const TDlgWaitSet& dialog, FormHarness& harness)
        : dialog_(dialog), harness_(harness) {
        harness_.log.push_back("wait:create");
    }
    ~RecordingWaitView() override { harness_.log.push_back("wait:destroy"); }
    void Show() override {
        harness_.waitCaption = dialog_.Caption;
        harness_.waitText = dialog_.LabelWait;
        harness_.log.push_back("wait:show");
    }
    void CaptionChanged() override {
        harness_.waitCaption = dialog_.Caption;
        harness_.log.push_back("wait:caption");
    }
    void TextChanged() override {
        harness_.waitText = dialog_.LabelWait;
        harness_.log.push_back("wait:text");
    }
    void Hide() override { harness_.log.push_back("wait:hide"); }

  private:
    const TDlgWaitSet& dialog_;
    FormHarness& harness_;
};

}  // namespace

bool SimMessageQueue::takeMessage(AppMessage& message) {
    for (const sim::KeyMessage& key : machine_.keyboard().takePendingMessages()) {
        pending_.push_back({0, key.message, key.virtualKey, 0});
    }
    if (pending_.empty()) return false;
    message = pending_.front();
    pending_.erase(pending_.begin());
    return true;
}

void RecordingFormView::ButtonChanged(FormButton button) {
    log_.push_back("button " + std::to_string(static_cast<int>(button)));
}

FormHarness::FormHarness(const FormOptions& options)
    : machine_(loadMachine(options.sample, drive_.path())), queue_(*machine_) {
    const std::string exe = machine_->system().executablePath();
    for (const std::string& code : options.modules) {
        const fs::path module = machine_->hostPath(LangModuleFileName(exe, code));
        fs::create_directories(module.parent_path());
        fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / ("tamux" + code + ".dll"), module);
    }
    if (!options.language.empty()) {
        machine_->profile().writeString(SettingsFilePath(exe), kOptionsSection, kLanguageKey,
                                        options.language);
    }
    if (options.databases) {
        // The suite's layout: SHARED\DATABASES beside the program's folder.
        const fs::path folder = machine_->hostPath(PathWithoutExtension(exe)).parent_path();
        const fs::path databases = folder.parent_path() / "SHARED" / "DATABASES";
        fs::create_directories(databases);
        for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
            fs::copy_file(fs::path(TAMUX_DATABASE_DIR) / name, databases / name);
        }
    }
    state_ = std::make_unique<AppState>(machine_->platform());
    state_->waitSet.setViews([this](const TDlgWaitSet& dialog) {
        return std::make_unique<RecordingWaitView>(dialog, *this);
    });
    state_->waitSet.setCursor(
        [this](bool hourglass) { log.push_back(hourglass ? "cursor:wait" : "cursor:default"); });
    state_->languageDialog.views = [this](TLanguagesettings&) {
        ++languageViews;
        return std::make_unique<ClosedLanguageView>();
    };
    left.setViewportHeight(415);
    right.setViewportHeight(329);
    right.setView(&rightView_);
}

TImputFrm& FormHarness::makeForm() {
    form_ = std::make_unique<TImputFrm>(*state_, application_, left, right, [this](TDlgAbout&) {
        ++aboutViews;
        return std::make_unique<ClosedAboutView>();
    });
    form_->setView(&formView_);
    return *form_;
}

TImputFrm& FormHarness::start() {
    makeForm().FormCreate();
    return *form_;
}

sim::SimDialogs& FormHarness::dialogs() {
    return machine_->dialogs();
}

DeviceSection FormHarness::mouseSection() {
    return MouseSection(state_->mouse, state_->lang);
}

DeviceSection FormHarness::keyboardSection() {
    return KeyboardSection(state_->keyboard, form_->KeyState1(), state_->lang);
}

std::vector<std::string> FormHarness::printerLines(int printer) {
    PrinterCaps caps(machine_->spooler());
    return SectionMarkup(PrinterSection(form_->PrintersInfo1(), printer, caps, state_->lang));
}

std::vector<std::string> FormHarness::rightLines(int section) {
    return right.section(section).subItems().lines();
}

std::vector<std::string> FormHarness::rightCaptions() {
    std::vector<std::string> captions;
    for (int i = 0; i < right.sectionCount(); ++i) captions.push_back(right.section(i).caption());
    return captions;
}

}  // namespace tamux::test
