// The printer list, the capability query and the section text over the real spooler and printer
// drivers: the CUPS-PDF queue that the lane's private CUPS server offers (tests/wine/cups.sh).
// The details and capabilities must be what GetDeviceCaps answers when asked directly, the paper
// forms what CUPS lists for the queue's PPD.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The SDK first: the printer headers undo its GetPrinter macro.
#include "platform/win32/windows_support.h"

#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "devices/printers/printer_section.h"
#include "lang/lang_module.h"
#include "platform/win32/real_platform.h"
#include "tests/wine/lane_environment.h"
#include "ui/section_list.h"
#include "ui/section_markup.h"

namespace tamux::wine_test {
namespace {

// The queue's name (TAMUX_CUPS_QUEUE, set by cups.sh); the tests skip without it.
std::string queueName() {
    return environment("TAMUX_CUPS_QUEUE");
}

#define TAMUX_REQUIRE_CUPS_QUEUE()                                                            \
    do {                                                                                      \
        if (queueName().empty())                                                              \
            GTEST_SKIP() << "no CUPS queue: run under tests/wine/cups.sh (TAMUX_CUPS_QUEUE)"; \
    } while (0)

// The paper forms CUPS lists for the queue, one per line, in the file that
// TAMUX_CUPS_PAPER_NAMES names (the lane writes it from lpoptions and the PPD); empty when unset.
std::vector<std::string> expectedPaperNames() {
    std::vector<std::string> names;
    const std::string file = environment("TAMUX_CUPS_PAPER_NAMES");
    if (file.empty()) return names;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) names.push_back(line);
    }
    return names;
}

// The record of the queue in the program's printer list; fails the test when it is not there.
bool findQueue(const TPrintersInfo& printers, TPrinterInfo& queue, int& index) {
    for (int i = 0; i < printers.Count(); ++i) {
        TPrinterInfo info;
        printers.GetPrinter(i, info);
        if (info.PrinterName == queueName()) {
            queue = info;
            index = i;
            return true;
        }
    }
    ADD_FAILURE() << "the printer list of " << printers.Count() << " printers lacks "
                  << queueName();
    return false;
}

// A device context of the queue made here with CreateDCA, past the code under test.
class DirectContext {
  public:
    explicit DirectContext(const std::string& printer)
        : dc_(CreateDCA(nullptr, printer.c_str(), nullptr, nullptr)) {}
    ~DirectContext() {
        if (dc_) DeleteDC(dc_);
    }
    DirectContext(const DirectContext&) = delete;
    DirectContext& operator=(const DirectContext&) = delete;
    int caps(int index) const { return GetDeviceCaps(dc_, index); }
    bool valid() const { return dc_ != nullptr; }

  private:
    HDC dc_;
};

class PrintersOnWine : public ::testing::Test {
  protected:
    win32::RealPlatform real;
    platform::Spooler& spooler = real.platform().spooler;
};

TEST_F(PrintersOnWine, TheListHoldsTheCupsQueueAsALocalPrinter) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    TPrintersInfo printers(spooler);
    TPrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    EXPECT_EQ(queue.ServerName, "") << "a local printer names no server";
    EXPECT_FALSE(queue.PortName.empty());
    EXPECT_FALSE(queue.DriverName.empty());
    EXPECT_EQ(queue.Jobs, 0u);

    // getprinters gives the queue its entry, and the entry leads back to it.
    SectionList pane;
    pane.addSection();
    pane.addSection();
    getprinters(printers, pane);
    const auto entries = pane.section(1).subItems().lines();
    ASSERT_EQ(static_cast<int>(entries.size()), printers.Count());
    EXPECT_EQ(entries[static_cast<std::size_t>(index)], queueName());
    EXPECT_EQ(PrinterIndicesForCaption(printers, queueName()), std::vector<int>{index});

    TPrinterInfo untouched;
    untouched.PrinterName = "sentinel";
    EXPECT_THROW(printers.GetPrinter(printers.Count(), untouched), EInvalidIndex);
    EXPECT_EQ(untouched.PrinterName, "sentinel");
}

TEST_F(PrintersOnWine, DetailsAndCapabilitiesAreWhatGetDeviceCapsAnswers) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    TPrintersInfo printers(spooler);
    TPrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    DirectContext direct(queue.PrinterName);
    ASSERT_TRUE(direct.valid()) << "CreateDCA failed for " << queue.PrinterName;

    PrinterCaps caps(spooler);
    caps.QueryPrinterCaps(queue.PrinterName, queue.PortName);
    const TDetaily& d = caps.tdetaily();
    namespace dc = devicecaps;
    auto pair = [&](int a, const char* between, int b) {
        return std::to_string(direct.caps(a)) + between + std::to_string(direct.caps(b));
    };
    EXPECT_EQ(d.Size, pair(dc::kHorzSize, " X ", dc::kVertSize));
    EXPECT_EQ(d.Resolution, pair(dc::kLogPixelsX, " X ", dc::kLogPixelsY));
    EXPECT_EQ(d.ColourFormat, pair(dc::kBitsPixel, " / ", dc::kPlanes));
    EXPECT_EQ(d.Pens, std::to_string(direct.caps(dc::kNumPens)));
    EXPECT_EQ(d.Fonts, std::to_string(direct.caps(dc::kNumFonts)));
    EXPECT_EQ(d.Colours, std::to_string(direct.caps(dc::kNumColors)));
    // A printer context, not the screen's: a page-sized area at a printer's resolution.
    EXPECT_GT(direct.caps(dc::kHorzSize), 100);
    EXPECT_GE(direct.caps(dc::kLogPixelsX), 150);
    std::cout << "[ printer  ] " << queue.PrinterName << ": " << d.Size << " mm, " << d.Resolution
              << " dpi, " << d.ColourFormat << ", colours " << d.Colours << "\n";

    // The index constants agree with the SDK's.
    EXPECT_EQ(dc::kHorzSize, HORZSIZE);
    EXPECT_EQ(dc::kLogPixelsY, LOGPIXELSY);
    EXPECT_EQ(dc::kNumColors, NUMCOLORS);

    for (CapabilitySet set : kCapabilitySets) {
        const auto mask = static_cast<std::uint32_t>(direct.caps(CapabilityIndex(set)));
        const auto members = CapabilityMembers(set);
        for (std::size_t k = 0; k < members.size(); ++k) {
            EXPECT_EQ(caps.HasCapability(set, k), (mask & members[k].bit) != 0)
                << CapabilityTitle(set) << ": " << members[k].label << " (mask 0x" << std::hex
                << mask << std::dec << ")";
        }
    }
    // The bits of the labels are the SDK's.
    EXPECT_EQ(CapabilityMembers(CapabilitySet::Raster)[1].bit,
              static_cast<std::uint32_t>(RC_BITBLT));
    EXPECT_EQ(CapabilityMembers(CapabilitySet::Text).back().bit,
              static_cast<std::uint32_t>(TC_SCROLLBLT));
    EXPECT_EQ(CapabilityMembers(CapabilitySet::Curve).back().bit,
              static_cast<std::uint32_t>(CC_ROUNDRECT));
}

TEST_F(PrintersOnWine, PaperFormsAreThoseCupsListsForTheQueue) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    TPrintersInfo printers(spooler);
    TPrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));

    // What the driver hands over, read directly.
    const int count = DeviceCapabilitiesA(queue.PrinterName.c_str(), queue.PortName.c_str(),
                                          DC_PAPERNAMES, nullptr, nullptr);
    ASSERT_GT(count, 0);
    std::vector<char> slots(static_cast<std::size_t>(count) * 64);
    ASSERT_EQ(DeviceCapabilitiesA(queue.PrinterName.c_str(), queue.PortName.c_str(), DC_PAPERNAMES,
                                  slots.data(), nullptr),
              count);

    PrinterCaps caps(spooler);
    caps.QueryPrinterCaps(queue.PrinterName, queue.PortName);
    const auto& lines = caps.tdetaily().PaperNames;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* slot = slots.data() + i * 64;
        EXPECT_EQ(lines[static_cast<std::size_t>(i)],
                  std::string(slot, std::find(slot, slot + 64, '\0')));
    }

    const std::vector<std::string> expected = expectedPaperNames();
    if (expected.empty()) GTEST_SKIP() << "TAMUX_CUPS_PAPER_NAMES is not set";
    EXPECT_EQ(lines, expected);
}

TEST_F(PrintersOnWine, TheSectionHasNinetyLinesAndOnePerPaperForm) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    TPrintersInfo printers(spooler);
    TPrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    PrinterCaps caps(spooler);
    // No language module is loaded: every label is the fallback text, escaped as markup.
    LangModule lang(real.platform());
    const auto lines = SectionMarkup(PrinterSection(printers, index, caps, lang));
    EXPECT_EQ(lines.size(), 90u + caps.tdetaily().PaperNames.size());
    EXPECT_NE(lines[0].find("&lt;No load message&gt; <IND x=\"200\"><FONT color=\"clmaroon\"> " +
                            queueName() + " </FONT>"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[21].find(caps.tdetaily().Size + " mm</FONT>"), std::string::npos);
}

TEST_F(PrintersOnWine, APrinterThatDoesNotExistGivesNoDetailsAndNoForms) {
    PrinterCaps caps(spooler);
    caps.QueryPrinterCaps("Tamux No Such Printer", "LPT1:");
    EXPECT_EQ(caps.tdetaily().Size, "");
    EXPECT_EQ(caps.tdetaily().Colours, "");
    EXPECT_TRUE(caps.tdetaily().PaperNames.empty());
    for (CapabilitySet set : kCapabilitySets) EXPECT_FALSE(caps.HasCapability(set, 0));
}

}  // namespace
}  // namespace tamux::wine_test
