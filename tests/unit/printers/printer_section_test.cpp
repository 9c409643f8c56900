// A printer's section lines with the shipped English texts: the record lines, the details, the
// paper forms and the five capability groups, on built printers and the sample machines.
#include "devices/printers/printer_section.h"
#include "ui/section_markup.h"

#include <gtest/gtest.h>

#include "tests/unit/printers/printer_fixtures.h"
#include "ui/markup_text.h"

namespace tamux::test {
namespace {

namespace dc = devicecaps;

const std::string L = R"(<IMG src="idx:2"></IMG> <FONT size="10" color="clblue">)";
const std::string M = R"( <IND x="200"><FONT color="clmaroon"> )";
const std::string H = R"(<IND x="50"><FONT color="clgreen" size="10">)";
const std::string kTick = R"(<IMG src="idx:4"></IMG><FONT color="clblue" size="10">)";
const std::string kCross = R"(<IMG src="idx:5"></IMG><FONT color="clblue" size="10">)";
const std::string kMark = R"(: <IND x="250"><FONT color="clmaroon">)";

// Line positions in a section without paper forms.
constexpr std::size_t kDetailsHeading = 20, kPaperHeading = 28, kCurveSpacer = 29;

class PrinterTextTest : public ::testing::Test {
  protected:
    std::vector<std::string> section(const std::string& name) {
        PrinterList printers(english.spooler());
        const auto found = printerIndicesForCaption(printers, printerEntryCaption(name));
        EXPECT_EQ(found.size(), 1u) << name;
        return found.empty()
                   ? std::vector<std::string>{}
                   : sectionMarkup(printerSection(printers, found[0], caps, english.lang()));
    }

    EnglishMachine english;
    PrinterCaps caps{english.spooler()};
};

TEST_F(PrinterTextTest, RecordLinesComeInLabelOrderWithThePrinterNameFirst) {
    sim::SimPrinter p = simPrinter("Office <Laser>");
    p.info.serverName = "\\\\PRINTSRV";
    p.info.shareName.reset();
    p.info.comment = "Tom & Jerry";
    p.info.attributes = 0x240;
    p.info.priority = 1;
    p.info.defaultPriority = 0;
    p.info.startTime = 480;
    p.info.untilTime = 1439;
    p.info.status = 0x80000000u;
    p.info.jobs = 0;
    p.info.averagePpm = 4294967295u;
    english.spooler().addPrinter(p);

    const auto lines = section("Office <Laser>");
    ASSERT_GE(lines.size(), 19u);
    const std::vector<std::string> expected = {
        L + "Printer name" + M + "Office &lt;Laser&gt; </FONT>",
        L + "Server name" + M + "\\\\PRINTSRV </FONT>",
        L + "Share name" + M + " </FONT>",
        L + "Port" + M + "LPT1: </FONT>",
        L + "Driver" + M + "Office &lt;Laser&gt; Driver </FONT>",
        L + "Comment" + M + "Tom &amp; Jerry </FONT>",
        L + "Location" + M + " </FONT>",
        L + "Separator page" + M + " </FONT>",
        L + "Print processor" + M + "WinPrint </FONT>",
        L + "Data type" + M + "RAW </FONT>",
        L + "Parameters" + M + " </FONT>",
        L + "Attributes" + M + "576 </FONT>",
        L + "Priority" + M + "1 </FONT>",
        L + "Default priority" + M + "0 </FONT>",
        L + "Available from" + M + "480 </FONT>",
        L + "Available until" + M + "1439 </FONT>",
        L + "Status" + M + "2147483648 </FONT>",
        L + "Jobs in queue" + M + "0 </FONT>",
        L + "Average pages per minute" + M + "4294967295 </FONT>",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 19), expected);
    // What a plain-text report makes of a record line: label, value, nothing of the markup.
    EXPECT_EQ(markupToPlainText(lines[0]), " Printer name  Office <Laser> ");
}

TEST_F(PrinterTextTest, DetailsAndPaperFormsFollowTheRecord) {
    english.spooler().addPrinter(simPrinter("P",
                                            {{dc::kHorzSize, 203},
                                             {dc::kVertSize, 289},
                                             {dc::kLogPixelsX, 600},
                                             {dc::kLogPixelsY, 600},
                                             {dc::kBitsPixel, 1},
                                             {dc::kPlanes, 1},
                                             {dc::kNumPens, 80},
                                             {dc::kNumFonts, 45},
                                             {dc::kNumColors, 2}},
                                            {"Letter", "Legal", "A4", "A5", "<B5>"}));
    const auto lines = section("P");
    ASSERT_EQ(lines.size(), 95u);
    const std::vector<std::string> expected = {
        " ",
        H + "Device details</FONT>",
        L + "Printable area" + M + "203 X 289 mm</FONT>",
        L + "Resolution" + M + "600 X 600 dpi</FONT>",
        L + "Color format" + M + "1 / 1 (bits/pixel / planes)</FONT>",
        L + "Pens" + M + "80</FONT>",
        L + "Fonts" + M + "45</FONT>",
        L + "Colors" + M + "2</FONT>",
        " ",
        H + "Paper sizes</FONT>",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 19, lines.begin() + 29), expected);
    const std::string paper =
        R"(<IMG src="idx:6"></IMG><IND x="70"><FONT color="clmaroon" size="10">)";
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[29 + i], paper + escapeMarkup(caps.details().paperNames[i]) + "</FONT>");
    }
    EXPECT_TRUE(lines[33].find("&lt;B5&gt;") != std::string::npos);
    EXPECT_EQ(lines[34], " ");
    EXPECT_EQ(lines[35], H + "Curve Capabilities</FONT>");
}

TEST_F(PrinterTextTest, CapabilityGroupsGiveTicksAndCrossesUnderFixedHeadings) {
    english.spooler().addPrinter(simPrinter(
        "P", {{dc::kCurveCaps, 0x0001}, {dc::kRasterCaps, 0x0001}, {dc::kTextCaps, 0x10000}}));
    const auto lines = section("P");
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[kPaperHeading], H + "Paper sizes</FONT>");
    EXPECT_EQ(lines[kCurveSpacer], " ") << "no paper forms: the curve group follows directly";

    // Each group: a blank line, its heading, then its capability lines.
    const std::pair<const char*, std::size_t> groups[] = {{"Curve Capabilities", 9},
                                                          {"Line Capabilities", 7},
                                                          {"Polygon Capabilities", 8},
                                                          {"Raster Capabilities", 11},
                                                          {"Text Capabilities", 16}};
    std::size_t at = kCurveSpacer;
    std::vector<std::size_t> firstLine;
    for (const auto& [heading, count] : groups) {
        EXPECT_EQ(lines[at], " ") << heading;
        EXPECT_EQ(lines[at + 1], H + heading + "</FONT>");
        firstLine.push_back(at + 2);
        at += 2 + count;
    }
    EXPECT_EQ(at, lines.size());

    EXPECT_EQ(lines[firstLine[0]], kTick + "Circles" + kMark + "Yes</FONT>");
    EXPECT_EQ(lines[firstLine[0] + 1], kCross + "Pie Wedges" + kMark + "No</FONT>");
    EXPECT_EQ(lines[firstLine[1]], kCross + "Polylines" + kMark + "No</FONT>");
    EXPECT_EQ(lines[firstLine[3]], kCross + "Requires Banding" + kMark + "No</FONT>");
    EXPECT_EQ(lines[firstLine[3] + 1], kTick + "Can Transer Bitmaps" + kMark + "Yes</FONT>");
    EXPECT_EQ(lines[firstLine[3] + 2], kCross + "Supports Bitmaps &gt; 64K" + kMark + "No</FONT>");
    EXPECT_EQ(lines.back(), kTick + "Cannot Scroll Using Blts" + kMark + "Yes</FONT>");
    int ticks = 0;
    for (const std::string& line : lines) ticks += line.starts_with(kTick);
    EXPECT_EQ(ticks, 3);
}

TEST_F(PrinterTextTest, APrinterWithoutDeviceContextShowsEmptyDetailsAndOnlyCrosses) {
    sim::SimPrinter p =
        simPrinter("Offline", {{dc::kHorzSize, 203}, {dc::kCurveCaps, 0x1FF}}, {"A4"});
    p.createDcFails = true;
    english.spooler().addPrinter(p);
    const auto lines = section("Offline");
    ASSERT_EQ(lines.size(), 91u);
    EXPECT_EQ(lines[21], L + "Printable area" + M + "</FONT>");
    EXPECT_EQ(lines[23], L + "Color format" + M + "</FONT>");
    EXPECT_EQ(lines[26], L + "Colors" + M + "</FONT>");
    EXPECT_NE(lines[29].find("A4"), std::string::npos) << "paper names do not need the context";
    for (std::size_t i = 30; i < lines.size(); ++i) EXPECT_FALSE(lines[i].starts_with(kTick)) << i;
    EXPECT_EQ(english.spooler().openDcCount(), 0u);
}

TEST_F(PrinterTextTest, EverySectionQueriesItsOwnPrinterAgain) {
    english.spooler().addPrinter(simPrinter("A", {{dc::kNumFonts, 11}}, {"A4", "A5", "A6"}));
    english.spooler().addPrinter(simPrinter("B", {{dc::kNumFonts, 22}}, {"Legal"}));
    PrinterList printers(english.spooler());
    const auto a = sectionMarkup(printerSection(printers, 0, caps, english.lang()));
    const auto b = sectionMarkup(printerSection(printers, 1, caps, english.lang()));
    EXPECT_EQ(a.size(), 93u);
    EXPECT_EQ(b.size(), 91u);
    EXPECT_EQ(b[25], L + "Fonts" + M + "22</FONT>");
    EXPECT_EQ(caps.details().paperNames.size(), 1u);
    // The driver's current answers, not a cached copy.
    english.spooler().printers()[0].deviceCaps[dc::kNumFonts] = 33;
    EXPECT_EQ(sectionMarkup(printerSection(printers, 0, caps, english.lang()))[25],
              L + "Fonts" + M + "33</FONT>");
    EXPECT_EQ(english.spooler().createDcCount(), 3);
}

TEST(SamplePrinterSections, CountsFollowThePaperFormsOfEachSamplePrinter) {
    struct Case {
        const char* machine;
        const char* printer;
        std::size_t lines;
    };
    for (const Case& c : {Case{"winxp", "HP LaserJet P2015DN", 90 + 24},
                          Case{"win95", "Epson LQ-570", 90}, Case{"nt4", "Accounts LaserJet", 0}}) {
        SCOPED_TRACE(c.printer);
        EnglishMachine sample(c.machine);
        PrinterList printers(sample.spooler());
        PrinterCaps caps(sample.spooler());
        const auto found = printerIndicesForCaption(printers, c.printer);
        ASSERT_EQ(found.size(), 1u);
        const auto lines = sectionMarkup(printerSection(printers, found[0], caps, sample.lang()));
        if (c.lines) {
            EXPECT_EQ(lines.size(), c.lines);
        }
        EXPECT_EQ(lines[0], L + "Printer name" + M + c.printer + " </FONT>");
        EXPECT_EQ(sample.spooler().openDcCount(), 0u);
        if (std::string(c.machine) == "nt4") {
            // The unreachable network printer: no context, so no details.
            EXPECT_EQ(lines[21], L + "Printable area" + M + "</FONT>");
        }
    }
}

}  // namespace
}  // namespace tamux::test
