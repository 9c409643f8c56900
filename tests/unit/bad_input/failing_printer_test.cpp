// A printer whose driver fails every query (no device context, no paper names), and a spooler
// that cannot be asked at all. Nothing is reported: the failing printer's section shows what the
// spooler knows, empty device details, no paper sizes and every capability absent; the other
// printers and the input devices are as on the same machine without it.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_spooler.h"
#include "tests/unit/bad_input/program_view.h"

namespace tamux::test {
namespace {

sim::SimPrinter failingPrinter() {
    sim::SimPrinter printer;
    printer.info.printerName = "Broken Driver";
    printer.info.portName = "LPT2:";
    printer.info.driverName = "Vendor PCL 9";
    printer.info.comment = "needs a new driver";
    printer.createDcFails = true;
    printer.paperNames = std::nullopt;  // DC_PAPERNAMES answers -1
    return printer;
}

// The lines between `heading` and the next spacer line.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& heading) {
    auto at = std::find(lines.begin(), lines.end(), heading);
    if (at == lines.end()) return {};
    auto end = std::find(at + 1, lines.end(), " ");
    return std::vector<std::string>(at + 1, end);
}

TEST(FailingPrinter, ShowsTheSpoolersFactsAndNothingTheDriverWouldTell) {
    FormHarness sound({.databases = true});
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.databases = true});
    h.machine().spooler().addPrinter(failingPrinter());
    h.start();
    const Seen seen = look(h);

    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    ASSERT_EQ(seen.entries.size(), expected.entries.size() + 1);
    EXPECT_EQ(seen.entries.back(), "Broken Driver");
    ASSERT_EQ(seen.printers.size(), 4u);
    const std::vector<std::string>& lines = seen.printers[3].lines;

    EXPECT_EQ(lines[0], " Printer name  Broken Driver ");
    EXPECT_EQ(lines[3], " Port  LPT2: ");
    EXPECT_EQ(lines[4], " Driver  Vendor PCL 9 ");
    EXPECT_EQ(lines[5], " Comment  needs a new driver ");
    EXPECT_EQ(block(lines, "Device details"),
              (std::vector<std::string>{" Printable area  ", " Resolution  ", " Color format  ",
                                        " Pens  ", " Fonts  ", " Colors  "}))
        << "no details, so no units either";
    EXPECT_TRUE(block(lines, "Paper sizes").empty());
    // Every capability of the five groups, each marked absent.
    int capabilities = 0;
    for (auto line = std::find(lines.begin(), lines.end(), "Curve Capabilities");
         line != lines.end(); ++line) {
        if (*line == " " || line->find("Capabilities") != std::string::npos) continue;
        ++capabilities;
        EXPECT_EQ(line->substr(line->rfind(": ")), ": No") << *line;
    }
    EXPECT_EQ(capabilities, 9 + 7 + 8 + 11 + 16);

    // Every context the queries made is released again.
    EXPECT_GT(h.machine().spooler().createDcCount(), 0);
    EXPECT_EQ(h.machine().spooler().openDcCount(), 0u);

    // The other printers and the input devices are untouched.
    EXPECT_EQ(seen.printers[1], expected.printers[1]);
    EXPECT_EQ(seen.printers[2], expected.printers[2]);
    EXPECT_EQ(seen.inputDevices, expected.inputDevices);
    EXPECT_EQ(seen.captions, expected.captions);

    // The report shows it as the window does, ">" of the labels included.
    const auto report = saveEverything(h, "C:\\report.txt");
    ASSERT_TRUE(report.has_value());
    auto reportLine = [&](const std::string& label) {
        // The failing printer is the last.
        const auto at =
            std::find_if(report->rbegin(), report->rend(),
                         [&](const std::string& line) { return line.rfind(label + "  ", 0) == 0; });
        return at == report->rend() ? std::string() : *at;
    };
    const std::string name = reportLine("Printer name");
    EXPECT_EQ(name.substr(name.find_first_not_of(' ', 12)), "Broken Driver ");
    const std::string bitmaps = reportLine("Supports Bitmaps > 64K");
    EXPECT_EQ(bitmaps.substr(bitmaps.find_first_not_of(' ', 22)), "No");
}

TEST(FailingPrinter, ASpoolerThatCannotBeAskedLeavesAnEmptyPrintersCategory) {
    FormHarness sound({.databases = true});
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.databases = true});
    h.machine().spooler().setEnumFails(true);
    h.start();
    const Seen seen = look(h);

    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.entries, (std::vector<std::string>{"Mouse", "Keyboard"}));
    ASSERT_EQ(seen.printers.size(), 1u) << "the heading alone";
    EXPECT_EQ(seen.printers[0].caption, "Printers");
    EXPECT_EQ(seen.inputDevices, expected.inputDevices);
    EXPECT_EQ(seen.captions, expected.captions);
}

}  // namespace
}  // namespace tamux::test
