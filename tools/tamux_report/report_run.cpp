#include "tools/tamux_report/report_run.h"

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "lang/settings_file.h"
#include "platform/errors.h"
#include "platform/sim/machine.h"
#include "platform/sim/path_map.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "tools/report_driver/report_driver.h"
#include "tools/sim_suite/install_suite.h"

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

    // The file is chosen on a drive of its own that stands for the output folder.
    machine->paths().mapDrive('R', output);
    const std::string chosen =
        run.format == ReportFileFormat::Html ? "R:\\report.htm" : "R:\\report.txt";
    machine->dialogs().queueSavePath(chosen);
    saveReport(machine->platform(), ReportChoice{run.entries, run.all});

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
