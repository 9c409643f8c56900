// The samples' printers as the spooler and their drivers answer for them: device contexts, paper
// names in 64-byte slots, and texts in each machine's code page.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_spooler.h"
#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

using platform::PrinterInfo2;

std::vector<PrinterInfo2> localPrinters(sim::Machine& machine) {
    platform::Spooler& spooler = machine.platform().spooler;
    std::uint32_t needed = 0;
    std::vector<PrinterInfo2> printers;
    spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, printers);
    EXPECT_TRUE(spooler.enumPrinters(platform::kPrinterEnumLocal, needed, needed, printers));
    return printers;
}

// The paper names as DeviceCapabilitiesA hands them over: one 64-byte slot each, the name ending
// at its first NUL or filling the slot.
std::vector<std::string> paperNames(platform::Spooler& spooler, const PrinterInfo2& p, int& count) {
    const std::string name = p.printerName.value_or(""), port = p.portName.value_or("");
    count = spooler.deviceCapabilities(name, port, platform::kDcPaperNames, nullptr);
    std::vector<std::string> names;
    if (count <= 0) return names;
    std::vector<char> buffer(static_cast<std::size_t>(count) * platform::kPaperNameSlotSize);
    EXPECT_EQ(spooler.deviceCapabilities(name, port, platform::kDcPaperNames, &buffer), count);
    for (int i = 0; i < count; ++i) {
        const char* slot = buffer.data() + i * platform::kPaperNameSlotSize;
        names.emplace_back(slot, std::find(slot, slot + platform::kPaperNameSlotSize, '\0'));
    }
    return names;
}

TEST(SamplePrinters, EveryPrinterAnswersItsDriverQueries) {
    int printers = 0, withoutDc = 0, withoutPaperNames = 0, manyColours = 0, fullSlots = 0;
    std::vector<std::size_t> counts;
    for (const std::string& machine : sampleMachineNames()) {
        SCOPED_TRACE(machine);
        SampleMachine sample(machine);
        platform::Spooler& spooler = sample.machine().platform().spooler;
        const auto list = localPrinters(sample.machine());
        counts.push_back(list.size());
        for (const PrinterInfo2& p : list) {
            SCOPED_TRACE(p.printerName.value_or("<null>"));
            ++printers;
            EXPECT_TRUE(p.portName && !p.portName->empty());
            EXPECT_TRUE(p.driverName && !p.driverName->empty());
            const auto dc = spooler.createDC(p.printerName.value_or(""));
            if (dc == 0) {
                ++withoutDc;
            } else {
                EXPECT_GT(spooler.getDeviceCaps(dc, platform::devicecaps::kLogPixelsX), 0);
                EXPECT_GT(spooler.getDeviceCaps(dc, platform::devicecaps::kHorzSize), 0);
                EXPECT_GT(spooler.getDeviceCaps(dc, platform::devicecaps::kHorzRes), 0);
                EXPECT_GE(spooler.getDeviceCaps(dc, platform::devicecaps::kPlanes), 1);
                manyColours += spooler.getDeviceCaps(dc, platform::devicecaps::kNumColors) == -1;
                spooler.deleteDC(dc);
            }
            int count = 0;
            const auto names = paperNames(spooler, p, count);
            if (count == -1) {
                ++withoutPaperNames;
                continue;
            }
            EXPECT_GT(count, 0);
            for (const std::string& n : names) {
                EXPECT_FALSE(n.empty());
                fullSlots += n.size() == platform::kPaperNameSlotSize;
            }
        }
    }
    EXPECT_GE(printers, 10);
    EXPECT_EQ(withoutDc, 1);
    EXPECT_EQ(withoutPaperNames, 1);
    EXPECT_GE(manyColours, 2);
    EXPECT_EQ(fullSlots, 1);
    EXPECT_NE(std::find(counts.begin(), counts.end(), 0u), counts.end());
    EXPECT_NE(std::find(counts.begin(), counts.end(), 2u), counts.end());
    EXPECT_NE(std::find(counts.begin(), counts.end(), 3u), counts.end());
}

TEST(SamplePrinters, TheLaserPrinterListsItsDriversTwentyFourForms) {
    SampleMachine sample("winxp");
    const auto list = localPrinters(sample.machine());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].driverName, "HP LaserJet P2015 Series PCL 6");
    EXPECT_EQ(list[0].attributes, 0x240u);
    EXPECT_FALSE(list[0].shareName.has_value());
    EXPECT_EQ(list[1].shareName, "Fax");
    int count = 0;
    const auto names = paperNames(sample.machine().platform().spooler, list[0], count);
    ASSERT_EQ(count, 24);
    EXPECT_EQ(names.front(), "Letter");
    EXPECT_EQ(names.back(), "8K 273x394 mm");
}

TEST(SamplePrinters, PrinterTextsArriveInTheMachinesCodePage) {
    SampleMachine czech("win2000");
    const auto cz = localPrinters(czech.machine());
    ASSERT_EQ(cz.size(), 2u);
    EXPECT_EQ(cz[0].location, "Kancel\xE1\xF8 2.14");
    int count = 0;
    const auto names = paperNames(czech.machine().platform().spooler, cz[0], count);
    ASSERT_GE(count, 7);
    EXPECT_EQ(names[6], "Ob\xE1lka \xE8. 10");

    SampleMachine russian("winme");
    const auto ru = localPrinters(russian.machine());
    ASSERT_EQ(ru.size(), 1u);
    EXPECT_EQ(ru[0].location, "\xCA\xE0\xE1\xE8\xED\xE5\xF2 12");

    SampleMachine german("win98se");
    const auto de = localPrinters(german.machine());
    ASSERT_EQ(de.size(), 1u);
    EXPECT_EQ(de[0].comment, "Farbdrucker im B\xFCro");
}

}  // namespace
}  // namespace tamux::test
