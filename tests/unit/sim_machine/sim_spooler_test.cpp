// The simulated spooler: the EnumPrinters size protocol, device contexts and paper names.
#include "platform/sim/sim_spooler.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace tamux::sim {
namespace {

SimPrinter printer(std::string name, std::string port = "LPT1:") {
    SimPrinter p;
    p.info.printerName = std::move(name);
    p.info.portName = std::move(port);
    p.info.driverName = "Generic / Text Only";
    p.info.attributes = 0x240;
    return p;
}

// The record is thirteen pointers and eight DWORDs: 84 bytes in a 32-bit program, 136 in a
// 64-bit one. The strings follow the records whatever the architecture.
TEST(SpoolerEnum, NeededCountsRecordsOfTheProgramsArchitectureAndNonNullStrings) {
    SimPrinter a = printer("Laser");          // record + 6 + 6 + 20
    SimPrinter b = printer("Ink", "USB001");  // record + 4 + 7 + 20
    b.info.comment = "";                      // + 1: an empty string is not null
    const std::uint32_t strings = 6 + 6 + 20 + 4 + 7 + 20 + 1;
    const struct {
        ProgramArchitecture architecture;
        std::uint32_t pointerSize;
    } cases[] = {{ProgramArchitecture::I386, 4}, {ProgramArchitecture::X86_64, 8}};
    for (const auto& c : cases) {
        SimSpooler spooler({a, b}, 1252, true, c.architecture);
        const std::uint32_t record = 13 * c.pointerSize + 8 * 4;

        std::uint32_t needed = 0xDEADBEEF;
        std::vector<platform::PrinterInfo2> out(1);
        out[0].jobs = 77;  // a sentinel that a failed call must leave alone
        EXPECT_FALSE(spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, out));
        EXPECT_EQ(needed, 2 * record + strings) << c.pointerSize << "-byte pointers";
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].jobs, 77u);

        EXPECT_FALSE(spooler.enumPrinters(platform::kPrinterEnumLocal, needed - 1, needed, out));
        ASSERT_TRUE(spooler.enumPrinters(platform::kPrinterEnumLocal, needed, needed, out));
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0].printerName, "Laser");
        EXPECT_EQ(out[1].portName, "USB001");
        EXPECT_EQ(out[1].comment, "");
        EXPECT_FALSE(out[1].shareName.has_value());
        EXPECT_EQ(out[0].attributes, 0x240u);
    }
}

TEST(SpoolerEnum, EmptyListAndFailures) {
    SimSpooler spooler;
    std::uint32_t needed = 5;
    std::vector<platform::PrinterInfo2> out(3);
    // A size of 0 suffices for no printers.
    EXPECT_TRUE(spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, out));
    EXPECT_EQ(needed, 0u);
    EXPECT_TRUE(out.empty());

    spooler.addPrinter(printer("Laser"));
    spooler.setEnumFails(true);
    needed = 5;
    EXPECT_FALSE(spooler.enumPrinters(platform::kPrinterEnumLocal, 1000, needed, out));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(spooler.enumCallCount(), 2);
}

TEST(SpoolerEnum, PrinterAddedBetweenTheTwoCalls) {
    SimSpooler spooler({printer("Laser")});
    spooler.addPrinterAfterNextEnum(printer("Late"));
    std::uint32_t needed = 0;
    std::vector<platform::PrinterInfo2> out;
    EXPECT_FALSE(spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, out));
    const std::uint32_t first = needed;
    // The buffer sized by the first call is now too small.
    EXPECT_FALSE(spooler.enumPrinters(platform::kPrinterEnumLocal, first, needed, out));
    EXPECT_GT(needed, first);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(spooler.enumPrinters(platform::kPrinterEnumLocal, needed, needed, out));
    EXPECT_EQ(out.size(), 2u);
}

TEST(SpoolerDc, CreatedByNameWithoutCaseAndAnsweringFromTheTable) {
    SimPrinter laser = printer("HP LaserJet");
    laser.deviceCaps = {{platform::devicecaps::kHorzSize, 203},
                        {platform::devicecaps::kNumColors, -1}};
    SimPrinter broken = printer("Broken");
    broken.createDcFails = true;
    SimSpooler spooler({laser, broken});

    const auto dc = spooler.createDC("hp laserjet");
    ASSERT_NE(dc, 0u);
    EXPECT_EQ(spooler.getDeviceCaps(dc, platform::devicecaps::kHorzSize), 203);
    EXPECT_EQ(spooler.getDeviceCaps(dc, platform::devicecaps::kNumColors), -1);
    EXPECT_EQ(spooler.getDeviceCaps(dc, platform::devicecaps::kVertSize), 0);
    EXPECT_EQ(spooler.getDeviceCaps(0, platform::devicecaps::kHorzSize), 0);

    EXPECT_EQ(spooler.createDC("Broken"), 0u);
    EXPECT_EQ(spooler.createDC("Unknown"), 0u);
    EXPECT_EQ(spooler.openDcCount(), 1u);
    spooler.deleteDC(dc);
    spooler.deleteDC(0);
    EXPECT_EQ(spooler.openDcCount(), 0u);
    EXPECT_EQ(spooler.strayDeleteCount(), 0);
    spooler.deleteDC(dc);  // deleted twice
    EXPECT_EQ(spooler.strayDeleteCount(), 1);
    EXPECT_EQ(spooler.createDcCount(), 3);
}

TEST(SpoolerPaperNames, SixtyFourByteSlots) {
    SimPrinter laser = printer("Laser");
    const std::string full(64, 'N');  // exactly one slot, no NUL
    laser.paperNames = std::vector<std::string>{"Letter", full, "A4"};
    SimSpooler spooler({laser});

    EXPECT_EQ(spooler.deviceCapabilities("LASER", "LPT1:", platform::kDcPaperNames, nullptr), 3);
    std::vector<char> buffer(3 * 64, '*');
    ASSERT_EQ(spooler.deviceCapabilities("Laser", "LPT1:", platform::kDcPaperNames, &buffer), 3);
    EXPECT_EQ(std::string(buffer.data()), "Letter");
    EXPECT_EQ(buffer[6], '\0');
    EXPECT_EQ(buffer[63], '\0');  // the rest of a slot is NUL-padded
    EXPECT_EQ(std::string(buffer.data() + 64, 64), full);
    EXPECT_EQ(std::string(buffer.data() + 128), "A4");

    std::vector<char> tooSmall(2 * 64);
    EXPECT_THROW(spooler.deviceCapabilities("Laser", "LPT1:", platform::kDcPaperNames, &tooSmall),
                 std::length_error);
}

TEST(SpoolerPaperNames, FailingAndUnknown) {
    SimPrinter failing = printer("Failing");
    failing.paperNames = std::nullopt;
    SimPrinter none = printer("None");
    SimSpooler spooler({failing, none});
    EXPECT_EQ(spooler.deviceCapabilities("Failing", "", platform::kDcPaperNames, nullptr), -1);
    EXPECT_EQ(spooler.deviceCapabilities("None", "", platform::kDcPaperNames, nullptr), 0);
    EXPECT_EQ(spooler.deviceCapabilities("Nobody", "", platform::kDcPaperNames, nullptr), -1);
    EXPECT_EQ(spooler.deviceCapabilities("None", "", 2, nullptr), -1);
}

TEST(DeviceCapsIndex, KnowsTheNamesOfTheTable) {
    EXPECT_EQ(deviceCapsIndex("HORZRES"), 8);
    EXPECT_EQ(deviceCapsIndex("LOGPIXELSY"), 90);
    EXPECT_EQ(deviceCapsIndex("RASTERCAPS"), 38);
    EXPECT_EQ(deviceCapsIndex("PHYSICALHEIGHT"), 111);
    EXPECT_FALSE(deviceCapsIndex("horzres").has_value());
}

}  // namespace
}  // namespace tamux::sim
