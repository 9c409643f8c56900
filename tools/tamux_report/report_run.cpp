#include "tools/tamux_report/report_run.h"

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/app_state.h"
#include "app/main_form.h"
#include "lang/settings_file.h"
#include "platform/errors.h"
#include "platform/sim/machine.h"
#include "platform/sim/path_map.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "tools/sim_suite/install_suite.h"
#include "ui/application.h"
#include "ui/markup_text.h"
#include "ui/section_list_style.h"

namespace tamux::tools {

namespace fs = std::filesystem;

namespace {

// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tamux-report-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw Error("Cannot create a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

class NoMessages : public MessageSource {
  public:
    bool takeMessage(AppMessage&) override { return false; }
    void dispatch(const AppMessage&) override {}
};

bool names(const std::string& entry, const std::string& wanted) {
    return entry == wanted || decodeMarkupEntities(entry) == wanted;
}

// The report window's user: ticks the entries asked for and presses Save.
class TickingView : public ReportDialogView {
  public:
    TickingView(ReportDialog& form, const ReportRun& run, std::string& error)
        : form_(form), run_(run), error_(error) {}

    SectionList& reportSectionListBox() override { return list_; }
    void close() override {}
    ScreenPoint windowOrigin() override { return {}; }
    void popupMenu(ScreenPoint) override {}

    void showModal() override {
        std::vector<bool> found(run_.entries.size(), false);
        for (int s = 0; s < list_.sectionCount(); ++s) {
            SubItems& entries = list_.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) {
                for (std::size_t w = 0; w < run_.entries.size(); ++w) {
                    if (!names(entries[i], run_.entries[w])) continue;
                    entries.setTicked(i, true);
                    found[w] = true;
                }
                if (run_.all) entries.setTicked(i, true);
            }
        }
        for (std::size_t w = 0; w < found.size(); ++w) {
            if (!found[w]) {
                error_ =
                    "No entry \"" + run_.entries[w] + "\"; the report window lists: " + listed();
                form_.closeButtonClick();
                return;
            }
        }
        form_.saveButtonClick();
    }

  private:
    std::string listed() {
        std::string all;
        for (int s = 0; s < list_.sectionCount(); ++s) {
            const SubItems& entries = list_.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) {
                if (!all.empty()) all += ", ";
                all += "\"" + decodeMarkupEntities(entries[i]) + "\"";
            }
        }
        return all.empty() ? "nothing" : all;
    }

    ReportDialog& form_;
    const ReportRun& run_;
    std::string& error_;
    SectionList list_{reportListStyle().geometry};
};

}  // namespace

ReportResult runReport(const ReportRun& run) {
    ScratchFolder scratch;
    const fs::path drive = scratch.path() / "c";
    const fs::path output = scratch.path() / "out";
    fs::create_directories(drive);
    fs::create_directories(output);
    std::unique_ptr<sim::Machine> machine = sim::Machine::load(run.machine, drive);
    // The tool reads the texts of a distribution built for either architecture.
    machine->modules().setModuleLoad(sim::ModuleLoad::AsData);

    installSuite(*machine, run.suite, run.language);

    NoMessages queue;
    Application application(queue);
    AppState state(machine->platform());
    SectionList left{leftPaneStyle().geometry};
    SectionList right{rightPaneStyle().geometry};
    MainForm form(state, application, left, right, [](AboutDialog&) { return nullptr; });
    form.formCreate();

    std::string error;
    state.reportDialog.views = [&](ReportDialog& window) {
        return std::make_unique<TickingView>(window, run, error);
    };
    // The file is chosen on a drive of its own that stands for the output folder.
    machine->paths().mapDrive('R', output);
    const std::string chosen =
        run.format == ReportFileFormat::Html ? "R:\\report.htm" : "R:\\report.txt";
    machine->dialogs().queueSavePath(chosen);
    form.reportButtonClick();
    if (!error.empty()) throw Error(error);

    ReportResult result;
    for (const sim::MessageBoxCall& box : machine->dialogs().messageBoxes()) {
        result.messages.push_back(box.text);
    }
    std::ifstream in(machine->hostPath(chosen), std::ios::binary);
    if (!in) throw Error("The report wrote no file: nothing was ticked");
    std::ostringstream content;
    content << in.rdbuf();
    result.content = content.str();
    return result;
}

}  // namespace tamux::tools
