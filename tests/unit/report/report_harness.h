// The report on a simulated machine: the main window's logic started on a sample machine with the
// shipped language modules and databases beside the program, and a report window whose user is a
// script - it ticks entries and presses a button when the window is shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/main_form.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_shell.h"
#include "report/report_assembly.h"
#include "report/report_dialog.h"
#include "tests/support/test_paths.h"
#include "tests/support/text_lines.h"
#include "ui/application.h"
#include "ui/section_list.h"
#include "ui/section_list_style.h"

namespace tamux::test {

// What happened to the report windows of a harness.
struct ReportWindowLog {
    int made = 0;
    int shown = 0;
    int closed = 0;
    std::vector<ScreenPoint> popups;
};

// A report window on no screen: showing it runs the script, which plays the user.
class ScriptedReportView : public ReportDialogView {
  public:
    using Script = std::function<void(ReportDialog& form, SectionList& list)>;
    ScriptedReportView(ReportDialog& form, Script script, ReportWindowLog& log)
        : form_(form), script_(std::move(script)), log_(log) {
        ++log_.made;
    }

    SectionList& reportSectionListBox() override { return list_; }
    void showModal() override;
    void close() override { ++log_.closed; }
    ScreenPoint windowOrigin() override { return kOrigin; }
    void popupMenu(ScreenPoint at) override { log_.popups.push_back(at); }

    static constexpr ScreenPoint kOrigin{300, 200};

  private:
    ReportDialog& form_;
    Script script_;
    ReportWindowLog& log_;
    SectionList list_{reportListStyle().geometry};
};

// An entry of the report window: (section, entry).
using Entry = std::pair<int, int>;

class ReportHarness {
  public:
    // `prepare` changes the machine before the main window starts (printers, clock, version).
    explicit ReportHarness(const std::string& sample = "winxp",
                           const std::function<void(sim::Machine&)>& prepare = {});
    ReportHarness(const ReportHarness&) = delete;
    ReportHarness& operator=(const ReportHarness&) = delete;

    sim::Machine& machine() { return *machine_; }
    sim::SimDialogs& dialogs();
    sim::SimShell& shell();
    AppState& state() { return *state_; }
    MainForm& form() { return *form_; }
    SectionList left{leftPaneStyle().geometry};

    // What the report window's user does when it is shown (nothing: the window stays open until
    // the script closes it).
    void onShow(ScriptedReportView::Script script);
    // The user ticks `entries` and presses the button of `action` (ReportAction::None: Cancel).
    void choose(std::vector<Entry> entries, ReportAction action);
    // The Report button.
    void report() { form_->reportButtonClick(); }

    ReportWindowLog windows;

    // What the report reads, as the main window hands it over (with a capability query of its
    // own).
    ReportSources sources();

    // The sections the builders give now.
    DeviceSection keyboardSection();
    DeviceSection mouseSection();
    DeviceSection printerSection(int printer);

    // A file of the simulated machine, and its lines (split at CR LF; the last CR LF ends the
    // last line). Empty when there is no such file.
    std::string fileContent(const std::string& windowsPath);
    std::vector<std::string> fileLines(const std::string& windowsPath);
    bool fileExists(const std::string& windowsPath);
    // The folder of the mail module, beside the program's folder.
    void makeMailFolder();

  private:
    TempDir drive_;
    std::unique_ptr<sim::Machine> machine_;
    class Queue : public MessageSource {
      public:
        bool takeMessage(AppMessage&) override { return false; }
        void dispatch(const AppMessage&) override {}
    } queue_;
    Application application_{queue_};
    std::unique_ptr<AppState> state_;
    SectionList right_{rightPaneStyle().geometry};
    std::unique_ptr<MainForm> form_;
    ScriptedReportView::Script script_;
    std::unique_ptr<PrinterCaps> caps_;
};

}  // namespace tamux::test
