// Golden outputs: everything a user sees of every sample machine - both panes with every category
// opened, in every language, and the saved, printed and sent report with every entry ticked -
// made afresh and compared byte for byte with the files under tests/golden/. A change of any
// output byte fails here, naming the file and line; an intended change is recorded by running
// this program with TAMUX_UPDATE_GOLDEN=1 and committing the rewritten files with the change.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "lang/language_dialog.h"
#include "platform/sim/recording_canvas.h"
#include "platform/sim/sim_dialogs.h"
#include "tests/support/test_paths.h"
#include "tests/unit/app/form_harness.h"
#include "tests/unit/report/report_harness.h"
#include "tools/sim_suite/install_suite.h"
#include "tools/tamux_report/report_run.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;

// Relative path under tests/golden/ -> the bytes that belong there.
using Outputs = std::map<std::string, std::string>;

fs::path machinesDir() {
    return sourceDir() / "samples" / "machines";
}

fs::path goldenDir() {
    return sourceDir() / "tests" / "golden";
}

// The folders each machine's outputs live in; whatever else is in them is stale.
std::vector<std::string> outputFolders(const std::string& machine) {
    return {"panes/" + machine, "reports/" + machine};
}

std::vector<std::string> sampleMachines() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(machinesDir())) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> languages() {
    return {kLanguageCodeOrder.begin(), kLanguageCodeOrder.end()};
}

// The separators start with characters no markup line starts with, so that a line moving from
// one section to the next shows as a difference.
void writeSection(std::string& out, const char* pane, const ListSection& section) {
    out += "==== " + std::string(pane) + " section: " + section.caption() + " [image " +
           std::to_string(section.imageIndex()) + "]\n";
    for (const std::string& line : section.subItems().lines()) out += line + "\n";
}

void writeMessageBoxes(std::string& out, const sim::SimDialogs& dialogs) {
    for (const sim::MessageBoxCall& box : dialogs.messageBoxes()) {
        out += "==== message box: " + box.caption + "\n" + box.text + "\n";
    }
}

// Both panes as the window has them after start-up and after each category is opened, with the
// pane lines exactly as the panes hold them (the machine's code page; nothing re-encoded).
std::string panes(const std::string& machine, const std::string& language) {
    FormHarness h(
        {.sample = machine, .modules = languages(), .language = language, .databases = true});
    h.start();
    std::string out;
    for (int c = 0; c < h.left.sectionCount(); ++c) writeSection(out, "left", h.left.section(c));
    for (int c = 0; c < h.left.sectionCount(); ++c) {
        out += "#### category " + std::to_string(c) + " opened\n";
        h.left.onExpandSection(c);
        for (int s = 0; s < h.right.sectionCount(); ++s) {
            writeSection(out, "right", h.right.section(s));
        }
    }
    writeMessageBoxes(out, h.dialogs());
    return out;
}

std::string savedReport(const std::string& machine, const std::string& language,
                        ReportFileFormat format) {
    tools::ReportRun run;
    run.machine = machinesDir() / machine;
    run.suite = TAMUX_SUITE_DIR;
    run.language = language;
    run.all = true;
    run.format = format;
    return tools::runReport(run).content;
}

// The report window's user ticks every entry and presses the button of `action`.
void tickAllAndPress(ReportHarness& h, ReportAction action) {
    h.onShow([action](ReportDialog& form, SectionList& list) {
        for (int s = 0; s < list.sectionCount(); ++s) {
            SubItems& entries = list.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) entries.setTicked(i, true);
        }
        if (action == ReportAction::Print) form.printButtonClick();
        if (action == ReportAction::Send) form.sendButtonClick();
    });
    h.report();
}

std::string printLog(const sim::PrintLog& log) {
    std::string out;
    for (const sim::PrintedDocument& document : log.documents) {
        out += "document: " + document.title + "\n";
        for (std::size_t p = 0; p < document.pages.size(); ++p) {
            out += "page " + std::to_string(p + 1) + "\n";
            for (const sim::PrintedText& text : document.pages[p].texts) {
                out += std::to_string(text.x) + "," + std::to_string(text.y) + " size " +
                       std::to_string(text.fontSize) + ": " + text.text + "\n";
            }
        }
        out += document.ended ? "ended\n" : "not ended\n";
    }
    for (const std::string& mistake : log.mistakes) out += "mistake: " + mistake + "\n";
    return out;
}

// English has every report output. The other languages have the text report and the printout:
// between them they hold every translated report text and its layout on the page, and the
// HTML and Send files of every language would more than double the committed set.
void addReports(Outputs& outputs, const std::string& machine, const std::string& language) {
    const bool everyOutput = language == "EN";
    const std::string folder = "reports/" + machine + "/" + language + "/";
    outputs[folder + "report.txt"] = savedReport(machine, language, ReportFileFormat::Text);
    if (everyOutput) {
        outputs[folder + "report.htm"] = savedReport(machine, language, ReportFileFormat::Html);
    }

    ReportHarness h(machine, [&](sim::Machine& m) { installSuite(m, TAMUX_SUITE_DIR, language); });
    h.dialogs().queuePrinter();
    tickAllAndPress(h, ReportAction::Print);
    std::string printout;
    for (const auto& job : h.dialogs().printJobs()) printout += printLog(*job);
    writeMessageBoxes(printout, h.dialogs());
    outputs[folder + "printout.txt"] = printout;

    if (!everyOutput) return;
    h.makeMailFolder();
    tickAllAndPress(h, ReportAction::Send);
    outputs[folder + "send-report.htm"] = h.fileContent("..\\Zmail\\report.htm");
    outputs[folder + "send-report.txt"] = h.fileContent("..\\Zmail\\report.txt");
}

Outputs machineOutputs(const std::string& machine) {
    Outputs outputs;
    for (const std::string& language : languages()) {
        outputs["panes/" + machine + "/" + language + ".txt"] = panes(machine, language);
        addReports(outputs, machine, language);
    }
    return outputs;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    ASSERT_TRUE(out.good()) << "Cannot write " << path;
}

// The files under tests/golden/ in the machine's folders, as relative paths.
std::vector<std::string> goldenFiles(const std::string& machine) {
    std::vector<std::string> files;
    for (const std::string& folder : outputFolders(machine)) {
        if (!fs::exists(goldenDir() / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(goldenDir() / folder)) {
            if (entry.is_regular_file()) {
                files.push_back(fs::relative(entry.path(), goldenDir()).generic_string());
            }
        }
    }
    return files;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (!text.empty() && text.back() != '\n') lines.back() += "<no line end>";
    return lines;
}

// "line N:" with both versions of the first line where the two differ.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> e = splitLines(expected);
    const std::vector<std::string> a = splitLines(actual);
    std::size_t line = 0;
    while (line < e.size() && line < a.size() && e[line] == a[line]) ++line;
    return "line " + std::to_string(line + 1) +
           ":\n  golden: " + (line < e.size() ? e[line] : "<end of file>") +
           "\n  now:    " + (line < a.size() ? a[line] : "<end of file>");
}

bool updating() {
    const char* value = std::getenv("TAMUX_UPDATE_GOLDEN");
    return value && std::string(value) == "1";
}

class GoldenOutputs : public testing::TestWithParam<std::string> {};

TEST_P(GoldenOutputs, MatchTheCommittedFiles) {
    const std::string& machine = GetParam();
    const Outputs outputs = machineOutputs(machine);

    if (updating()) {
        for (const std::string& folder : outputFolders(machine)) {
            fs::remove_all(goldenDir() / folder);
        }
        for (const auto& [path, content] : outputs) writeFile(goldenDir() / path, content);
        return;
    }

    // The outputs of this run, kept beside the build for a diff -r with tests/golden/.
    const fs::path actualDir = binaryDir() / "golden-actual";
    for (const std::string& folder : outputFolders(machine)) fs::remove_all(actualDir / folder);
    for (const auto& [path, content] : outputs) writeFile(actualDir / path, content);
    const std::string hint = "\n(this run's files are in " + actualDir.string() +
                             "; TAMUX_UPDATE_GOLDEN=1 rewrites tests/golden/ when the change "
                             "is intended)";

    for (const auto& [path, content] : outputs) {
        const fs::path golden = goldenDir() / path;
        if (!fs::exists(golden)) {
            ADD_FAILURE() << "No golden file " << path << hint;
            continue;
        }
        const std::string expected = readFile(golden);
        if (expected != content) {
            ADD_FAILURE() << path << " differs at " << firstDifference(expected, content) << hint;
            return;  // the first difference is the one to look at
        }
    }
    for (const std::string& path : goldenFiles(machine)) {
        EXPECT_TRUE(outputs.count(path)) << "Golden file " << path << " is no output any more";
    }
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(SampleMachines, GoldenOutputs, testing::ValuesIn(sampleMachines()),
                         testName);

}  // namespace
}  // namespace tamux::test
