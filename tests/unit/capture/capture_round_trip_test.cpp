// A capture of each sample machine, taken through the simulated platform, replays into the same
// report: what the program reads is all the folder needs.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_resource_modules.h"
#include "tests/support/test_paths.h"
#include "tools/capture/capture_run.h"
#include "tools/sim_suite/install_suite.h"
#include "tools/tamux_report/report_run.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;

std::string reportOf(const fs::path& machine) {
    tools::ReportRun run;
    run.machine = machine;
    run.suite = TAMUX_SUITE_DIR;
    run.all = true;
    return tools::runReport(run).content;
}

capture::CaptureResult captureOf(const fs::path& machineDir, const fs::path& drive) {
    auto machine = sim::Machine::load(machineDir, drive);
    machine->modules().setModuleLoad(sim::ModuleLoad::AsData);
    installSuite(*machine, TAMUX_SUITE_DIR, "EN");
    const sim::ClockSettings& clock = machine->clock().settings();
    return capture::captureMachine(
        machine->platform(),
        capture::ClockPictures{clock.shortDate, clock.longTime, clock.am, clock.pm});
}

void writeFolder(const fs::path& folder, const capture::MachineFiles& files) {
    for (const auto& [relative, content] : files) {
        fs::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative, std::ios::binary) << content;
    }
}

class CaptureRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(CaptureRoundTrip, TheCapturedFolderReportsAsTheMachineItself) {
    const fs::path sample = test::sourceDir() / "samples" / "machines" / GetParam();
    test::TempDir temp;
    const capture::CaptureResult captured = captureOf(sample, temp.path() / "c");
    EXPECT_TRUE(captured.warnings.empty()) << captured.warnings.front();

    const std::string expected = reportOf(sample);
    // The run that recorded is the program's own report.
    EXPECT_EQ(captured.report, expected);
    writeFolder(temp.path() / "captured", captured.files);
    EXPECT_EQ(reportOf(temp.path() / "captured"), expected);
}

INSTANTIATE_TEST_SUITE_P(SampleMachines, CaptureRoundTrip,
                         ::testing::Values("winxp", "winxp-user", "win95", "win98se", "winme",
                                           "nt4", "win2000", "vista", "empty"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, '-');
                             return name;
                         });

TEST(Capture, HoldsOnlyWhatTheProgramReads) {
    test::TempDir temp;
    const capture::CaptureResult captured =
        captureOf(test::sourceDir() / "samples/machines/winxp", temp.path() / "c");
    const std::string& reg = captured.files.at(1).second;
    // The device tree is read; the machine's unrelated keys (Wine's or Windows' own software
    // settings) are not, and neither is a value no section shows.
    EXPECT_NE(reg.find("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum"), std::string::npos);
    EXPECT_EQ(reg.find("\\Software\\Microsoft"), std::string::npos);
    EXPECT_EQ(reg.find("ControlSet001\\Services"), std::string::npos);
}

}  // namespace
}  // namespace tamux
