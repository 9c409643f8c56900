// The developer's report tool as its command line drives it: entries ticked by the text the report
// window shows, every entry, the format, and the entry that is not there.
#include "tools/tamux_report/report_run.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "tests/support/test_paths.h"
#include "tests/support/text_lines.h"

namespace tamux::test {
namespace {

tools::ReportRun runOn(const std::string& machine) {
    tools::ReportRun run;
    run.machine = sourceDir() / "samples" / "machines" / machine;
    run.suite = TAMUX_SUITE_DIR;
    return run;
}

// The report's headings of ticked entries ("Input devices - Keyboard:"), in order.
std::vector<std::string> headings(const std::string& report) {
    std::vector<std::string> found;
    for (const std::string& line : splitCrLf(report)) {
        if (line.size() > 1 && line.back() == ':' && line.find(" - ") != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

TEST(ReportRun, TicksTheNamedEntriesAndSavesThemInTheReportWindowsOrder) {
    tools::ReportRun run = runOn("winxp");
    run.entries = {"Fax", "Keyboard"};
    const tools::ReportResult result = tools::runReport(run);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.content.rfind("Zorv Info Report\r\n", 0), 0u) << result.content.substr(0, 40);
    EXPECT_EQ(headings(result.content),
              (std::vector<std::string>{"Input devices - Keyboard:", "Printers - Fax:"}));
}

TEST(ReportRun, AllTicksEveryEntryAndHtmlWritesTheTable) {
    tools::ReportRun run = runOn("winxp");
    run.all = true;
    EXPECT_EQ(headings(tools::runReport(run).content),
              (std::vector<std::string>{"Input devices - Mouse:", "Input devices - Keyboard:",
                                        "Printers - HP LaserJet P2015DN:", "Printers - Fax:"}));

    run.format = ReportFileFormat::Html;
    const std::string html = tools::runReport(run).content;
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\r\n", 0), 0u) << html.substr(0, 40);
    EXPECT_NE(html.find("HP LaserJet P2015DN"), std::string::npos);
}

TEST(ReportRun, AnEntryTheWindowDoesNotListIsNamedWithThoseItLists) {
    tools::ReportRun run = runOn("winxp");
    run.entries = {"Keyboard", "Scanner"};
    try {
        tools::runReport(run);
        FAIL() << "no error for an entry that is not listed";
    } catch (const Error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("\"Scanner\""), std::string::npos) << message;
        EXPECT_NE(message.find("\"Mouse\", \"Keyboard\", \"HP LaserJet P2015DN\", \"Fax\""),
                  std::string::npos)
            << message;
    }
}

TEST(ReportRun, APrinterIsTickedByItsNameAsTheSystemStoresIt) {
    // The report window holds the escaped name; the tool takes the name as written.
    TempDir folder;
    std::ofstream(folder.path() / "machine.json")
        << R"({"printers": [{"printerName": "<b>Lab & \"Main\"</b>", "portName": "LPT1:"}]})";
    tools::ReportRun run;
    run.machine = folder.path();
    run.suite = TAMUX_SUITE_DIR;
    run.entries = {"<b>Lab & \"Main\"</b>"};
    EXPECT_EQ(headings(tools::runReport(run).content),
              std::vector<std::string>{"Printers - <b>Lab & \"Main\"</b>:"});
}

TEST(ReportRun, ADistributionOfEitherArchitectureGivesTheSameReport) {
    // The suite of the 64-bit program: its language module is a PE32+ file.
    TempDir suite64;
    std::filesystem::create_directories(suite64.path() / "Tamux");
    std::filesystem::copy_file(TAMUX_EN_MODULE_X64, suite64.path() / "Tamux" / "tamuxEN.dll");
    std::filesystem::copy(std::filesystem::path(TAMUX_SUITE_DIR) / "SHARED",
                          suite64.path() / "SHARED", std::filesystem::copy_options::recursive);

    tools::ReportRun run = runOn("winxp");
    run.all = true;
    const tools::ReportResult from32 = tools::runReport(run);
    run.suite = suite64.path();
    const tools::ReportResult from64 = tools::runReport(run);
    EXPECT_EQ(from64.messages, from32.messages);
    EXPECT_EQ(from64.content, from32.content);
}

}  // namespace
}  // namespace tamux::test
