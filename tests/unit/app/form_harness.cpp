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
    int showModal() override { return kModalCancel; }
};

class ClosedLanguageView : public LanguageDialogView {
  public:
    void showModal() override {}
    void close() override {}
};

class RecordingWaitView : public WaitDialogView {
  public:
    RecordingWaitView(const WaitDialog& dialog, FormHarness& harness)
        : dialog_(dialog), harness_(harness) {
        harness_.log.push_back("wait:create");
    }
    ~RecordingWaitView() override { harness_.log.push_back("wait:destroy"); }
    void show() override {
        harness_.waitCaption = dialog_.caption;
        harness_.waitText = dialog_.labelWait;
        harness_.log.push_back("wait:show");
    }
    void captionChanged() override {
        harness_.waitCaption = dialog_.caption;
        harness_.log.push_back("wait:caption");
    }
    void textChanged() override {
        harness_.waitText = dialog_.labelWait;
        harness_.log.push_back("wait:text");
    }
    void hide() override { harness_.log.push_back("wait:hide"); }

  private:
    const WaitDialog& dialog_;
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

void RecordingFormView::buttonChanged(FormButton button) {
    log_.push_back("button " + std::to_string(static_cast<int>(button)));
}

FormHarness::FormHarness(const FormOptions& options)
    : machine_(loadMachine(options.sample, drive_.path())), queue_(*machine_) {
    const std::string exe = machine_->system().executablePath();
    for (const std::string& code : options.modules) {
        const fs::path module = machine_->hostPath(langModuleFileName(exe, code));
        fs::create_directories(module.parent_path());
        fs::copy_file(fs::path(TAMUX_LANG_MODULE_DIR) / ("tamux" + code + ".dll"), module);
    }
    if (!options.language.empty()) {
        machine_->profile().writeString(settingsFilePath(exe), kOptionsSection, kLanguageKey,
                                        options.language);
    }
    if (options.databases) {
        // The suite's layout: SHARED\DATABASES beside the program's folder.
        const fs::path folder = machine_->hostPath(pathWithoutExtension(exe)).parent_path();
        const fs::path databases = folder.parent_path() / "SHARED" / "DATABASES";
        fs::create_directories(databases);
        for (const char* name : {"Keyboard.txt", "Mouse.txt", "other.txt"}) {
            fs::copy_file(fs::path(TAMUX_DATABASE_DIR) / name, databases / name);
        }
    }
    state_ = std::make_unique<AppState>(machine_->platform());
    state_->waitSet.setViews([this](const WaitDialog& dialog) {
        return std::make_unique<RecordingWaitView>(dialog, *this);
    });
    state_->waitSet.setCursor(
        [this](bool hourglass) { log.push_back(hourglass ? "cursor:wait" : "cursor:default"); });
    state_->languageDialog.views = [this](LanguageDialog&) {
        ++languageViews;
        return std::make_unique<ClosedLanguageView>();
    };
    left.setViewportHeight(415);
    right.setViewportHeight(329);
    right.setView(&rightView_);
}

MainForm& FormHarness::makeForm() {
    form_ = std::make_unique<MainForm>(*state_, application_, left, right, [this](AboutDialog&) {
        ++aboutViews;
        return std::make_unique<ClosedAboutView>();
    });
    form_->setView(&formView_);
    return *form_;
}

MainForm& FormHarness::start() {
    makeForm().formCreate();
    return *form_;
}

sim::SimDialogs& FormHarness::dialogs() {
    return machine_->dialogs();
}

DeviceSection FormHarness::mouseSection() {
    return tamux::mouseSection(state_->mouse, state_->lang);
}

DeviceSection FormHarness::keyboardSection() {
    return tamux::keyboardSection(state_->keyboard, form_->keyState(), state_->lang);
}

std::vector<std::string> FormHarness::printerLines(int printer) {
    PrinterCaps caps(machine_->spooler());
    return sectionMarkup(printerSection(form_->printers(), printer, caps, state_->lang));
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
