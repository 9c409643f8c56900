// A report of 5,000 lines saved as HTML -- produceReport with the Save action: the frame, every
// line's image element removed, its font sizes mapped and its table row made, and the file written
// -- against the same report saved as plain text (tags stripped), in turn, round by round. The
// lines are what the line builders give for the entries of a started main window with twenty
// printers, taken again and again until there are 5,000.
//
//   bench_report [--rounds N] [--lines N]
//   bench_report --once   one HTML report, nothing else
//
// Exit status 0 when every report was written whole without an error message; 1 otherwise.
#include <filesystem>
#include <iostream>

#include "bench/bench_machine.h"
#include "bench/id_picks.h"
#include "bench/measure.h"
#include "devices/printers/printer_caps.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_spooler.h"
#include "report/report_assembly.h"

namespace {

using namespace tamux;
using namespace tamux::bench;

constexpr int kPrinters = 20;

// Every entry of the left pane, as the report window lists them when all are ticked.
ReportRequest everyEntry(MainForm& form) {
    ReportRequest request;
    request.action = ReportAction::Save;
    for (int section = 0; section < form.leftSections().sectionCount(); ++section) {
        const ListSection& category = form.leftSections().section(section);
        for (int item = 0; item < category.subItems().count(); ++item) {
            request.items.push_back({section, item, true,
                                     category.subItems().lines()[static_cast<std::size_t>(item)],
                                     category.caption()});
        }
    }
    return request;
}

std::size_t countLines(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) count += c == '\n' ? 1 : 0;
    return count;
}

}  // namespace

int main(int argc, char** argv) try {
    const int rounds = std::max(1, intOption(argc, argv, "--rounds", 15));
    const auto lineCount =
        static_cast<std::size_t>(std::max(1, intOption(argc, argv, "--lines", 5000)));

    auto bench = smallMachine();
    bench->growPrinters(kPrinters);
    MainWindow window(*bench);
    window.form().formCreate();
    AppState& state = window.state();
    PrinterCaps caps(bench->machine().spooler());
    const ReportSources sources{
        state.mouse, state.keyboard, window.form().keyState(), window.form().printers(),
        caps,        state.lang};
    const ReportRequest request = everyEntry(window.form());
    // The entries again and again, until their lines (heading, gaps and device lines) reach the
    // count asked for.
    std::vector<ReportEntry> entries;
    std::size_t lineTotal = 0;
    while (lineTotal < lineCount) {
        std::vector<ReportEntry> more = reportEntries(request, sources);
        if (more.empty()) throw std::runtime_error("the request gives no entries");
        for (ReportEntry& entry : more) {
            lineTotal += 3;
            for (const DeviceSection& section : entry.sections) lineTotal += section.lines.size();
            entries.push_back(std::move(entry));
        }
    }

    ReportDialogHost& host = state.reportDialog;
    sim::SimDialogs& dialogs = bench->machine().dialogs();
    auto save = [&](const std::string& path) {
        std::vector<ReportEntry> report = entries;
        dialogs.queueSavePath(path);
        return measureWork([&] { carryOutReport(host, ReportAction::Save, std::move(report)); });
    };
    const std::string htmlPath = "C:\\report.htm", textPath = "C:\\report.txt";
    if (flagOption(argc, argv, "--once")) {
        save(htmlPath);
        return messageBoxCount(bench->machine()) == 0 ? 0 : 1;
    }

    std::cout << "a report of " << lineTotal << " lines: " << request.items.size()
              << " entries (the mouse, the keyboard, " << kPrinters
              << " printers) taken again and again; rounds: " << rounds << ", in turn\n\n";
    Series htmlMs, htmlKib, textMs, textKib;
    for (int round = 0; round < rounds; ++round) {
        const WorkFigures html = save(htmlPath);
        htmlMs.add(html.ms);
        htmlKib.add(static_cast<double>(html.addedKib));
        const WorkFigures text = save(textPath);
        textMs.add(text.ms);
        textKib.add(static_cast<double>(text.addedKib));
    }
    const std::string htmlFile = readEntireFile(bench->machine().hostPath(htmlPath));
    const std::string textFile = readEntireFile(bench->machine().hostPath(textPath));
    std::cout << "saved as HTML:            " << formatMs(htmlMs) << ", " << countLines(htmlFile)
              << " lines, " << htmlFile.size() / 1024 << " KiB\n"
              << "saved as text:            " << formatMs(textMs) << ", " << countLines(textFile)
              << " lines, " << textFile.size() / 1024 << " KiB\n"
              << "time ratio HTML / text:   " << formatRatio(pairwiseRatios(htmlMs, textMs)) << "\n"
              << "peak memory, HTML:        " << formatMib(htmlKib)
              << " above what the process held before\n"
              << "peak memory, text:        " << formatMib(textKib) << " above the same\n";
    // The frame adds five lines, the HTML table's opening one more.
    const bool whole =
        countLines(htmlFile) >= lineTotal + 6 && countLines(textFile) >= lineTotal + 5;
    if (messageBoxCount(bench->machine()) != 0) {
        std::cerr << "the report reported errors:\n" << messageBoxTexts(bench->machine());
        return 1;
    }
    return whole ? 0 : 1;
} catch (const std::exception& error) {
    std::cerr << "bench_report: " << error.what() << "\n";
    return 2;
}
