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
bool findQueue(const PrinterList& printers, PrinterInfo& queue, int& index) {
    for (int i = 0; i < printers.count(); ++i) {
        PrinterInfo info;
        printers.getPrinter(i, info);
        if (info.printerName == queueName()) {
            queue = info;
            index = i;
            return true;
        }
    }
    ADD_FAILURE() << "the printer list of " << printers.count() << " printers lacks "
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
    PrinterList printers(spooler);
    PrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    EXPECT_EQ(queue.serverName.value_or(""), "") << "a local printer names no server";
    EXPECT_FALSE(queue.portName.value_or("").empty());
    EXPECT_FALSE(queue.driverName.value_or("").empty());
    EXPECT_EQ(queue.jobs, 0u);

    // readPrinters gives the queue its entry, and the entry leads back to it.
    SectionList pane;
    pane.addSection();
    pane.addSection();
    readPrinters(printers, pane);
    const auto entries = pane.section(1).subItems().lines();
    ASSERT_EQ(static_cast<int>(entries.size()), printers.count());
    EXPECT_EQ(entries[static_cast<std::size_t>(index)], queueName());
    EXPECT_EQ(printerIndicesForCaption(printers, queueName()), std::vector<int>{index});

    PrinterInfo untouched;
    untouched.printerName = "sentinel";
    EXPECT_THROW(printers.getPrinter(printers.count(), untouched), EInvalidIndex);
    EXPECT_EQ(untouched.printerName, "sentinel");
}

TEST_F(PrintersOnWine, DetailsAndCapabilitiesAreWhatGetDeviceCapsAnswers) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    PrinterList printers(spooler);
    PrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    DirectContext direct(queue.printerName.value_or(""));
    ASSERT_TRUE(direct.valid()) << "CreateDCA failed for " << queue.printerName.value_or("");

    PrinterCaps caps(spooler);
    caps.queryPrinterCaps(queue.printerName.value_or(""), queue.portName.value_or(""));
    const PrinterDetails& d = caps.details();
    namespace dc = devicecaps;
    auto pair = [&](int a, const char* between, int b) {
        return std::to_string(direct.caps(a)) + between + std::to_string(direct.caps(b));
    };
    EXPECT_EQ(d.size, pair(dc::kHorzSize, " X ", dc::kVertSize));
    EXPECT_EQ(d.resolution, pair(dc::kLogPixelsX, " X ", dc::kLogPixelsY));
    EXPECT_EQ(d.colourFormat, pair(dc::kBitsPixel, " / ", dc::kPlanes));
    EXPECT_EQ(d.pens, std::to_string(direct.caps(dc::kNumPens)));
    EXPECT_EQ(d.fonts, std::to_string(direct.caps(dc::kNumFonts)));
    EXPECT_EQ(d.colours, std::to_string(direct.caps(dc::kNumColors)));
    // A printer context, not the screen's: a page-sized area at a printer's resolution.
    EXPECT_GT(direct.caps(dc::kHorzSize), 100);
    EXPECT_GE(direct.caps(dc::kLogPixelsX), 150);
    std::cout << "[ printer  ] " << queue.printerName.value_or("") << ": " << d.size << " mm, "
              << d.resolution << " dpi, " << d.colourFormat << ", colours " << d.colours << "\n";

    // The index constants agree with the SDK's.
    EXPECT_EQ(dc::kHorzSize, HORZSIZE);
    EXPECT_EQ(dc::kLogPixelsY, LOGPIXELSY);
    EXPECT_EQ(dc::kNumColors, NUMCOLORS);

    for (CapabilitySet set : kCapabilitySets) {
        const auto mask = static_cast<std::uint32_t>(direct.caps(capabilityIndex(set)));
        const auto members = capabilityMembers(set);
        for (std::size_t k = 0; k < members.size(); ++k) {
            EXPECT_EQ(caps.hasCapability(set, k), (mask & members[k].bit) != 0)
                << capabilityTitle(set) << ": " << members[k].label << " (mask 0x" << std::hex
                << mask << std::dec << ")";
        }
    }
    // The bits of the labels are the SDK's.
    EXPECT_EQ(capabilityMembers(CapabilitySet::Raster)[1].bit,
              static_cast<std::uint32_t>(RC_BITBLT));
    EXPECT_EQ(capabilityMembers(CapabilitySet::Text).back().bit,
              static_cast<std::uint32_t>(TC_SCROLLBLT));
    EXPECT_EQ(capabilityMembers(CapabilitySet::Curve).back().bit,
              static_cast<std::uint32_t>(CC_ROUNDRECT));
}

TEST_F(PrintersOnWine, PaperFormsAreThoseCupsListsForTheQueue) {
    TAMUX_REQUIRE_CUPS_QUEUE();
    PrinterList printers(spooler);
    PrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));

    // What the driver hands over, read directly.
    const int count =
        DeviceCapabilitiesA(queue.printerName.value_or("").c_str(),
                            queue.portName.value_or("").c_str(), DC_PAPERNAMES, nullptr, nullptr);
    ASSERT_GT(count, 0);
    std::vector<char> slots(static_cast<std::size_t>(count) * 64);
    ASSERT_EQ(DeviceCapabilitiesA(queue.printerName.value_or("").c_str(),
                                  queue.portName.value_or("").c_str(), DC_PAPERNAMES, slots.data(),
                                  nullptr),
              count);

    PrinterCaps caps(spooler);
    caps.queryPrinterCaps(queue.printerName.value_or(""), queue.portName.value_or(""));
    const auto& lines = caps.details().paperNames;
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
    PrinterList printers(spooler);
    PrinterInfo queue;
    int index = -1;
    ASSERT_TRUE(findQueue(printers, queue, index));
    PrinterCaps caps(spooler);
    // No language module is loaded: every label is the fallback text, escaped as markup.
    LangModule lang(real.platform());
    const auto lines = sectionMarkup(printerSection(printers, index, caps, lang));
    EXPECT_EQ(lines.size(), 90u + caps.details().paperNames.size());
    EXPECT_NE(lines[0].find("&lt;No load message&gt; <IND x=\"200\"><FONT color=\"clmaroon\"> " +
                            queueName() + " </FONT>"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[21].find(caps.details().size + " mm</FONT>"), std::string::npos);
}

TEST_F(PrintersOnWine, APrinterThatDoesNotExistGivesNoDetailsAndNoForms) {
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("Tamux No Such Printer", "LPT1:");
    EXPECT_EQ(caps.details().size, "");
    EXPECT_EQ(caps.details().colours, "");
    EXPECT_TRUE(caps.details().paperNames.empty());
    for (CapabilitySet set : kCapabilitySets) EXPECT_FALSE(caps.hasCapability(set, 0));
}

}  // namespace
}  // namespace tamux::wine_test
