#include "tests/unit/report/report_harness.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "devices/keyboard/keyboard_section.h"
#include "devices/mouse/mouse_section.h"
#include "devices/printers/printer_section.h"
#include "lang/settings_file.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "tools/sim_suite/install_suite.h"

namespace tamux::test {

namespace fs = std::filesystem;

void ScriptedReportView::showModal() {
    ++log_.shown;
    if (script_) script_(form_, list_);
}

ReportHarness::ReportHarness(const std::string& sample,
                             const std::function<void(sim::Machine&)>& prepare)
    : machine_(sample.empty() ? sim::Machine::blank(drive_.path())
                              : sim::Machine::load(sourceDir() / "samples" / "machines" / sample,
                                                   drive_.path())) {
    installSuite(*machine_, TAMUX_SUITE_DIR, "EN");

    if (prepare) prepare(*machine_);

    state_ = std::make_unique<AppState>(machine_->platform());
    state_->reportDialog.views = [this](ReportDialog& form) {
        return std::make_unique<ScriptedReportView>(form, script_, windows);
    };
    form_ = std::make_unique<MainForm>(*state_, application_, left, right_,
                                       [](AboutDialog&) { return nullptr; });
    form_->formCreate();
}

sim::SimDialogs& ReportHarness::dialogs() {
    return machine_->dialogs();
}

sim::SimShell& ReportHarness::shell() {
    return machine_->shell();
}

void ReportHarness::onShow(ScriptedReportView::Script script) {
    script_ = std::move(script);
}

void ReportHarness::choose(std::vector<Entry> entries, ReportAction action) {
    onShow([entries, action](ReportDialog& form, SectionList& list) {
        for (const auto& [section, item] : entries) {
            list.section(section).subItems().setTicked(item, true);
        }
        switch (action) {
            case ReportAction::Print:
                form.printButtonClick();
                break;
            case ReportAction::Send:
                form.sendButtonClick();
                break;
            case ReportAction::Save:
                form.saveButtonClick();
                break;
            case ReportAction::None:
                form.closeButtonClick();
                break;
        }
    });
}

ReportSources ReportHarness::sources() {
    if (!caps_) caps_ = std::make_unique<PrinterCaps>(machine_->spooler());
    return {state_->mouse,     state_->keyboard, form_->keyState(),
            form_->printers(), *caps_,           state_->lang};
}

DeviceSection ReportHarness::keyboardSection() {
    return tamux::keyboardSection(state_->keyboard, form_->keyState(), state_->lang);
}

DeviceSection ReportHarness::mouseSection() {
    return tamux::mouseSection(state_->mouse, state_->lang);
}

DeviceSection ReportHarness::printerSection(int printer) {
    PrinterCaps caps(machine_->spooler());
    return tamux::printerSection(form_->printers(), printer, caps, state_->lang);
}

std::string ReportHarness::fileContent(const std::string& windowsPath) {
    std::ifstream in(machine_->hostPath(windowsPath), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> ReportHarness::fileLines(const std::string& windowsPath) {
    return splitCrLf(fileContent(windowsPath));
}

bool ReportHarness::fileExists(const std::string& windowsPath) {
    return fs::exists(machine_->hostPath(windowsPath));
}

void ReportHarness::makeMailFolder() {
    fs::create_directories(machine_->hostPath("..\\Zmail"));
}

}  // namespace tamux::test
