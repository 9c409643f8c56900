// The Spooler service: the two-call EnumPrinters protocol and the device queries, on the prefix
// (whatever printers Wine sees through CUPS: the lane's CUPS-PDF queue), on an empty simulated
// spooler and on a simulated spooler with one printer.
#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

using platform::PrinterInfo2;

// The simulated spooler counts the records this program's EnumPrintersA fills in.
static_assert(sim::printerInfo2Size(kThisProgram) == sizeof(PRINTER_INFO_2A));

class SimPrinterSides : public SimSides {
  public:
    static constexpr const char* kName = "SimWithPrinter";
    SimPrinterSides() {
        sim::SimPrinter printer;
        printer.info.printerName = "Office Laser";
        printer.info.portName = "LPT1:";
        printer.info.driverName = "Office Laser PS";
        printer.info.printProcessor = "WinPrint";
        printer.info.datatype = "RAW";
        printer.info.priority = 1;
        printer.deviceCaps = {{platform::devicecaps::kHorzRes, 4800},
                              {platform::devicecaps::kVertRes, 6600}};
        printer.paperNames = std::vector<std::string>{"Letter", "A4", std::string(64, 'L')};
        static_cast<sim::SimSpooler&>(spooler()).addPrinter(printer);
    }
};

template <typename Side>
class SpoolerConformance : public ::testing::Test {
  protected:
    platform::Spooler& spooler() { return side_.spooler(); }

    // The full list by the two-call protocol.
    std::vector<PrinterInfo2> printers() {
        std::uint32_t needed = 0;
        std::vector<PrinterInfo2> list;
        if (spooler().enumPrinters(platform::kPrinterEnumLocal, 0, needed, list)) return list;
        EXPECT_TRUE(spooler().enumPrinters(platform::kPrinterEnumLocal, needed, needed, list));
        return list;
    }

    Side side_;
};

using SpoolerSides = ::testing::Types<Win32Sides, SimSides, SimPrinterSides>;
TYPED_TEST_SUITE(SpoolerConformance, SpoolerSides, SideName);

PrinterInfo2 sentinelPrinter() {
    PrinterInfo2 info;
    info.printerName = "sentinel";
    return info;
}

TYPED_TEST(SpoolerConformance, TheSizeQueryFollowsTheTwoCallProtocol) {
    std::uint32_t needed = 0xCCCCCCCC;
    std::vector<PrinterInfo2> list = {sentinelPrinter()};
    const bool fits = this->spooler().enumPrinters(platform::kPrinterEnumLocal, 0, needed, list);
    if (fits) {
        // Only an empty list fits into no buffer.
        EXPECT_EQ(needed, 0u);
        EXPECT_TRUE(list.empty()) << "the list was not replaced";
        return;
    }
    ASSERT_GT(needed, 0u);
    ASSERT_NE(needed, 0xCCCCCCCCu);
    ASSERT_EQ(list.size(), 1u) << "a failed call replaced the list";
    EXPECT_EQ(list[0].printerName, std::optional<std::string>("sentinel"));

    std::uint32_t again = 0;
    EXPECT_FALSE(this->spooler().enumPrinters(platform::kPrinterEnumLocal, needed - 1, again, list))
        << "one byte short still fitted";
    EXPECT_EQ(again, needed);
    EXPECT_EQ(list.size(), 1u);

    ASSERT_TRUE(this->spooler().enumPrinters(platform::kPrinterEnumLocal, needed, again, list));
    ASSERT_FALSE(list.empty());
    for (const PrinterInfo2& printer : list) {
        EXPECT_TRUE(printer.printerName.has_value()) << "a printer without a name";
        EXPECT_TRUE(printer.portName.has_value()) << "a printer without a port";
        EXPECT_FALSE(printer.serverName.has_value()) << "a local printer names a server";
    }
}

TYPED_TEST(SpoolerConformance, AnUnknownPrinterHasNoContextAndNoCapabilities) {
    EXPECT_EQ(this->spooler().createDC("No Such Printer"), 0u);
    const int count = this->spooler().deviceCapabilities("No Such Printer",
                                                         "LPT1:", platform::kDcPaperNames, nullptr);
    if (TypeParam::kSimulated) {
        EXPECT_EQ(count, -1);
    } else {
        // Windows answers -1; Wine 8 answers 0. The program treats both as "no paper names".
        EXPECT_LE(count, 0);
    }
    EXPECT_EQ(this->spooler().getDeviceCaps(0, platform::devicecaps::kHorzRes), 0);
    this->spooler().deleteDC(0);  // must do nothing
}

// The device queries, on the sides that have printers: the lane's CUPS queue and a simulated one.
template <typename Side>
class SpoolerDeviceQueries : public SpoolerConformance<Side> {};

using SidesWithPrinters = ::testing::Types<Win32Sides, SimPrinterSides>;
TYPED_TEST_SUITE(SpoolerDeviceQueries, SidesWithPrinters, SideName);

TYPED_TEST(SpoolerDeviceQueries, EveryPrinterAnswersItsDeviceQueries) {
    const std::vector<PrinterInfo2> list = this->printers();
    if (!TypeParam::kSimulated && environment("TAMUX_CUPS_QUEUE").empty()) {
        GTEST_SKIP() << "no CUPS queue: run under tests/wine/cups.sh (TAMUX_CUPS_QUEUE)";
    }
    ASSERT_FALSE(list.empty()) << "no printer listed";
    for (const PrinterInfo2& printer : list) {
        const std::string name = printer.printerName.value_or("");
        const std::string port = printer.portName.value_or("");
        platform::Spooler::Dc dc = this->spooler().createDC(name);
        ASSERT_NE(dc, 0u) << name;
        EXPECT_GT(this->spooler().getDeviceCaps(dc, platform::devicecaps::kHorzRes), 0) << name;
        EXPECT_GT(this->spooler().getDeviceCaps(dc, platform::devicecaps::kVertRes), 0) << name;
        EXPECT_EQ(this->spooler().getDeviceCaps(dc, 9999), 0) << name << ": unknown index";
        this->spooler().deleteDC(dc);

        int count =
            this->spooler().deviceCapabilities(name, port, platform::kDcPaperNames, nullptr);
        if (count <= 0) continue;
        std::vector<char> names(static_cast<std::size_t>(count) * 64, '\x01');
        EXPECT_EQ(this->spooler().deviceCapabilities(name, port, platform::kDcPaperNames, &names),
                  count);
        EXPECT_NE(names[0], '\x01') << name << ": the names were not filled";
    }
}

}  // namespace
}  // namespace tamux::wine_test
