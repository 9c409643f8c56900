// The report from the Report button on: the lines of the ticked entries, the frame, and the
// saved, printed and sent outputs on simulated machines.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/keyboard/keyboard_section.h"
#include "platform/errors.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_spooler.h"
#include "report/report_assembly.h"
#include "report/text_report.h"
#include "tests/support/text_only_printer.h"
#include "tests/unit/report/report_harness.h"

namespace tamux::test {
namespace {

const std::string kCreatedLine = "Created on 1/15/2026  9:30:00 AM";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A machine with extra printers after the sample's own.
std::function<void(sim::Machine&)> withPrinters(std::vector<std::string> names) {
    return [names](sim::Machine& machine) {
        for (const std::string& name : names) machine.spooler().addPrinter(textOnlyPrinter(name));
    };
}

// Saves the report of `entries` as `path` and returns the file's lines.
std::vector<std::string> saveReport(ReportHarness& h, std::vector<Entry> entries,
                                    const std::string& path) {
    h.choose(std::move(entries), ReportAction::Save);
    h.dialogs().queueSavePath(path);
    h.report();
    return h.fileLines(path);
}

TEST(SaveAsText, LabelsAndValuesInColumnsAndLockKeysInWords) {
    ReportHarness h;
    const std::vector<std::string> lines = saveReport(h, {{0, 0}, {0, 1}}, "C:\\r.txt");

    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 4),
        (std::vector<std::string>{"Zorv Info Report", kCreatedLine, "Input devices - Mouse:", ""}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"", "", "Created by Zorv Info Tamux"}));
    auto find = [&](const std::string& start) {
        const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(start, 0) == 0;
        });
        return at == lines.end() ? std::string() : *at;
    };
    // Each section's values start in one column; the keyboard's labels are longer.
    const std::string mouseDriver = find("Description  ");
    const std::string caps = find("CAPS ");
    const std::string num = find("NUM ");
    ASSERT_FALSE(mouseDriver.empty());
    EXPECT_EQ(caps.substr(caps.find_first_not_of(' ', 4)), "Off");
    const std::string numState = num.substr(num.find_first_not_of(' ', 3));
    EXPECT_TRUE(numState == "On" || numState == "Off") << num;
    EXPECT_EQ(caps.find_first_not_of(' ', 4), num.find_first_not_of(' ', 3));
    EXPECT_EQ(find("Repeat delay").substr(caps.find_first_not_of(' ', 4)).back(), 's');
    for (const std::string& line : lines) EXPECT_FALSE(contains(line, "<")) << line;

    const std::string content = h.fileContent("C:\\r.txt");
    EXPECT_EQ(content.substr(0, 18), "Zorv Info Report\r\n");
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'),
              std::count(content.begin(), content.end(), '\r'));
}

TEST(SaveAsHtml, ADocumentWithItsCharsetOneTableAndLabelAndValueInCellsOfTheirOwn) {
    ReportHarness h;
    const std::vector<std::string> lines = saveReport(h, {{0, 1}}, "C:\\r.htm");
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
              (std::vector<std::string>{
                  "<!DOCTYPE html>", "<html>", "<head>", "<meta charset=\"windows-1252\">",
                  "<title>Zorv Info Report</title>", "</head>", "<body>", "<table>"}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"</table>", "</body>", "</html>"}));
    EXPECT_EQ(lines[8],
              "<tr><td colspan=\"2\" style=\"color:#000080;font-size:large\">Zorv Info "
              "Report</td></tr>");
    const std::string html = h.fileContent("C:\\r.htm");
    EXPECT_TRUE(contains(html,
                         "<tr><td style=\"color:#0000ff;font-size:medium\">Repeat "
                         "delay</td><td style=\"color:#800000;font-size:medium\">"));
    EXPECT_TRUE(contains(html,
                         "<tr><td style=\"color:#000000;font-size:medium\">CAPS</td><td "
                         "style=\"color:#000000;font-size:medium\">Off</td></tr>"));
    EXPECT_FALSE(contains(html, "<IMG"));
    EXPECT_FALSE(contains(html, "<img"));
    EXPECT_FALSE(contains(html, "\"cl"));
    // One row per line of the text report.
    const std::vector<std::string> text = saveReport(h, {{0, 1}}, "C:\\r.txt");
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string& line) { return line.rfind("<tr>", 0) == 0; })),
              text.size());
}

TEST(SaveAsHtml, TheCharsetIsTheSystemsCodePage) {
    for (const auto& [machine, charset] : std::vector<std::pair<std::string, std::string>>{
             {"win2000", "windows-1250"}, {"winme", "windows-1251"}, {"winxp", "windows-1252"}}) {
        ReportHarness h(machine);
        EXPECT_EQ(saveReport(h, {{0, 0}}, "C:\\r.htm").at(3), "<meta charset=\"" + charset + "\">")
            << machine;
    }
}

TEST(Save, TheFormatFollowsTheExtensionInAnyLetterCase) {
    struct Case {
        std::string path;
        bool html;
    };
    const std::vector<Case> cases = {
        {"C:\\r.Txt", false},           {"C:\\R.HTM", true},     {"C:\\r.html", true},
        {"C:\\r.HtMl", true},           {"C:\\r.doc", false},    {"C:\\report", false},
        {"C:\\web.htm\\report", false}, {"C:\\r.txt.htm", true},
    };
    ReportHarness h;
    std::filesystem::create_directories(h.machine().hostPath("C:\\web.htm"));
    for (const Case& c : cases) {
        const std::vector<std::string> lines = saveReport(h, {{0, 1}}, c.path);
        ASSERT_FALSE(lines.empty()) << c.path << " was not written";
        EXPECT_EQ(lines[0], c.html ? "<!DOCTYPE html>" : "Zorv Info Report") << c.path;
    }
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
}

TEST(Save, AnExistingFileIsOverwrittenAndACancelledDialogWritesNothing) {
    ReportHarness h;
    h.machine().files().writeFile("C:\\r.txt", "old content that is longer than nothing\r\n");
    const std::vector<std::string> lines = saveReport(h, {{0, 0}}, "C:\\r.txt");
    EXPECT_EQ(lines.front(), "Zorv Info Report");
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());

    h.choose({{0, 0}}, ReportAction::Save);  // no answer queued: the dialog is cancelled
    h.report();
    EXPECT_EQ(h.dialogs().saveRequests().size(), 2u);
    EXPECT_EQ(h.fileLines("C:\\r.txt"), lines);
}

TEST(Save, AFileThatCannotBeCreatedEndsTheReportInAnError) {
    ReportHarness h;
    h.machine().files().lockFile("C:\\r.txt");
    h.choose({{0, 1}}, ReportAction::Save);
    h.dialogs().queueSavePath("C:\\r.txt");
    try {
        h.report();
        FAIL() << "no error";
    } catch (const FileCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file C:\\r.txt");
    }
    // From the button, the error reaches the user.
    h.dialogs().queueSavePath("C:\\r.txt");
    h.form().buttonClick(ReportButton);
    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(h.dialogs().messageBoxes()[0].text, "Cannot create file C:\\r.txt");
}

TEST(NothingTicked, NoActionShowsADialogWritesAFileOrStartsAProgram) {
    ReportHarness h;
    h.makeMailFolder();
    for (ReportAction action : {ReportAction::Save, ReportAction::Print, ReportAction::Send}) {
        h.choose({}, action);
        h.report();
    }
    h.choose({{0, 1}}, ReportAction::None);  // ticked, then Cancel
    h.report();
    EXPECT_TRUE(h.dialogs().saveRequests().empty());
    EXPECT_EQ(h.dialogs().printDialogCount(), 0);
    EXPECT_TRUE(h.shell().calls().empty());
    EXPECT_FALSE(h.fileExists("..\\Zmail\\report.htm"));
    EXPECT_FALSE(h.fileExists("..\\Zmail\\report.txt"));
}

TEST(reportEntries, APrinterGivesTheSectionsOfEveryPrinterOfItsNameOncePerTickedEntry) {
    ReportHarness h("winxp", withPrinters({"Twin", "Twin"}));
    const ReportRequest sel = {
        ReportAction::Save, {{1, 2, true, "Twin", "Printers"}, {1, 3, true, "Twin", "Printers"}}};
    const ReportEntry twins{"Printers", "Twin", {h.printerSection(2), h.printerSection(3)}};
    EXPECT_EQ(reportEntries(sel, h.sources()), (std::vector<ReportEntry>{twins, twins}));
}

TEST(reportEntries, EntriesGiveTheirOwnDevicesSectionsOnly) {
    // Printers named like the mouse and the keyboard entries.
    ReportHarness h("winxp", withPrinters({"Mouse", "Keyboard"}));
    EXPECT_EQ(
        reportEntries({ReportAction::Save, {{0, 0, true, "Mouse", "Input devices"}}}, h.sources()),
        (std::vector<ReportEntry>{{"Input devices", "Mouse", {h.mouseSection()}}}));
    EXPECT_EQ(
        reportEntries({ReportAction::Save, {{1, 3, true, "Keyboard", "Printers"}}}, h.sources()),
        (std::vector<ReportEntry>{{"Printers", "Keyboard", {h.printerSection(3)}}}));
}

TEST(Send, WritesTheHtmlAndTextFilesThenStartsTheMailModule) {
    ReportHarness h;
    h.makeMailFolder();
    h.choose({{0, 1}, {1, 0}}, ReportAction::Send);
    h.report();

    const std::vector<std::string> html = h.fileLines("..\\Zmail\\report.htm");
    const std::vector<std::string> text = h.fileLines("..\\Zmail\\report.txt");
    const std::vector<std::string> saved = saveReport(h, {{0, 1}, {1, 0}}, "C:\\r.txt");
    const std::vector<std::string> savedHtml = saveReport(h, {{0, 1}, {1, 0}}, "C:\\r.htm");
    EXPECT_EQ(html, savedHtml);
    EXPECT_EQ(text, saved);

    ASSERT_EQ(h.shell().calls().size(), 1u);
    const sim::ShellExecuteCall& call = h.shell().calls()[0];
    EXPECT_EQ(call.verb, "");
    EXPECT_EQ(call.file, "..\\Zmail\\ZoIMail.exe");
    EXPECT_EQ(call.parameters, "\" \" \"..\\Zmail\\report.txt\" \"..\\Zmail\\report.htm\"");
    EXPECT_EQ(call.directory, "..\\Zmail");
    EXPECT_EQ(call.show, platform::kSwShowNormal);
}

TEST(Send, WithoutTheMailFolderTheErrorStopsItBeforeTheMailModule) {
    ReportHarness h;
    h.choose({{0, 1}}, ReportAction::Send);
    h.form().buttonClick(ReportButton);
    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(h.dialogs().messageBoxes()[0].text, "Cannot create file ..\\Zmail\\report.htm");
    EXPECT_TRUE(h.shell().calls().empty());
}

TEST(Send, AFailingMailModuleIsNotTheReportsConcern) {
    ReportHarness h;
    h.makeMailFolder();
    h.shell().queueResult(2);  // file not found
    h.choose({{0, 0}}, ReportAction::Send);
    h.form().buttonClick(ReportButton);
    EXPECT_EQ(h.shell().calls().size(), 1u);
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
    EXPECT_TRUE(h.fileExists("..\\Zmail\\report.txt"));
}

TEST(Values, AQuotedNumberInAValueStaysInEveryOutput) {
    ReportHarness h("winxp", withPrinters({"Laser \"10\""}));
    h.makeMailFolder();
    const std::string heading = "Printers - Laser \"10\":";
    EXPECT_EQ(saveReport(h, {{1, 2}}, "C:\\r.txt").at(2), heading);
    saveReport(h, {{1, 2}}, "C:\\r.htm");
    EXPECT_TRUE(contains(h.fileContent("C:\\r.htm"), "Laser &quot;10&quot;:"));
    h.choose({{1, 2}}, ReportAction::Send);
    h.report();
    EXPECT_EQ(h.fileLines("..\\Zmail\\report.txt").at(2), heading);
}

TEST(Values, APrinterNameWithMarkupReadsAsItIsEverywhere) {
    const std::string name = "<b>Lab & \"Main\"</b>";
    ReportHarness h("winxp", withPrinters({name}));
    const std::string heading = "Printers - " + name + ":";

    const std::vector<std::string> text = saveReport(h, {{1, 2}}, "C:\\r.txt");
    EXPECT_EQ(text.at(2), heading);
    // The printer's own lines show the name as well.
    EXPECT_TRUE(std::any_of(text.begin() + 3, text.end(),
                            [&](const std::string& line) { return contains(line, name); }));

    saveReport(h, {{1, 2}}, "C:\\r.htm");
    const std::string html = h.fileContent("C:\\r.htm");
    EXPECT_TRUE(contains(html, "&lt;b&gt;Lab &amp; &quot;Main&quot;&lt;/b&gt;:"));
    EXPECT_FALSE(contains(html, "<b>"));
    EXPECT_FALSE(contains(html, "</b>"));

    h.dialogs().queuePrinter();
    h.choose({{1, 2}}, ReportAction::Print);
    h.report();
    ASSERT_EQ(h.dialogs().printJobs().size(), 1u);
    const auto& texts = h.dialogs().printJobs()[0]->documents.at(0).pages.at(0).texts;
    ASSERT_GT(texts.size(), 4u);
    EXPECT_EQ(texts[3].text, heading);
}

TEST(Print, TheFramedReportOnTheChosenPrinter) {
    ReportHarness h;
    h.choose({{0, 1}}, ReportAction::Print);
    h.report();  // cancelled: nothing printed
    EXPECT_EQ(h.dialogs().printDialogCount(), 1);
    EXPECT_TRUE(h.dialogs().printJobs().empty());

    h.dialogs().queuePrinter();
    h.report();
    ASSERT_EQ(h.dialogs().printJobs().size(), 1u);
    const sim::PrintLog& log = *h.dialogs().printJobs()[0];
    EXPECT_TRUE(log.mistakes.empty());
    ASSERT_EQ(log.documents.size(), 1u);
    EXPECT_TRUE(log.documents[0].ended);
    // Each printed line: its texts at one height, left to right.
    std::vector<std::vector<sim::PrintedText>> printed;
    for (const auto& page : log.documents[0].pages) {
        for (std::size_t i = 0; i < page.texts.size(); ++i) {
            if (i == 0 || page.texts[i].y != page.texts[i - 1].y) printed.emplace_back();
            printed.back().push_back(page.texts[i]);
        }
    }
    const std::vector<std::string> saved = saveReport(h, {{0, 1}}, "C:\\r.txt");
    // The title line, the report's lines and a footer per page.
    ASSERT_EQ(printed.size(), saved.size() + 1 + log.documents[0].pages.size());
    EXPECT_EQ(printed[0].at(0).text, std::string(32, ' ') + "ZorvInfo Report");
    EXPECT_EQ(printed[1].at(0).text, "Zorv Info Report");
    EXPECT_EQ(printed[2].at(0).text, kCreatedLine);
    EXPECT_EQ(printed.back().at(0).text,
              "-" + std::to_string(log.documents[0].pages.size()) + ".-");
    // A lock key's line: the key at the margin, its state in words further right.
    const auto caps = std::find_if(printed.begin(), printed.end(),
                                   [](const auto& line) { return line.at(0).text == "CAPS"; });
    ASSERT_NE(caps, printed.end());
    ASSERT_EQ(caps->size(), 2u);
    EXPECT_EQ((*caps)[1].text, "Off");
    EXPECT_GT((*caps)[1].x, (*caps)[0].x);
}

TEST(Frame, TheDateAndTimeInTheSystemsFormats) {
    ReportHarness h("winxp", [](sim::Machine& machine) {
        machine.clock().setNow(sim::makeTime(2024, 2, 29, 23, 5, 7));
        machine.clock().setShortDateFormat("dd.MM.yyyy");
        machine.clock().setLongTimeFormat("HH:mm:ss");
    });
    const ReportDialogHost& host = h.state().reportDialog;
    EXPECT_EQ(createdText(host.lang, host.platform.clock), "Created on 29.02.2024  23:05:07");
    EXPECT_EQ(footerText(host.lang, host.applicationTitle), "Created by Zorv Info Tamux");
}

}  // namespace
}  // namespace tamux::test
