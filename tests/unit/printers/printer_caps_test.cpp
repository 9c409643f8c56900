// The capability query of one printer: device details, paper names in 64-byte slots, the five
// capability sets and their capability text; the device context's lifetime.
#include "devices/printers/printer_caps.h"

#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/unit/printers/printer_fixtures.h"

namespace tamux::test {
namespace {

namespace dc = devicecaps;

// The set as text: its heading, then "label=1" or "label=0" per member.
std::vector<std::string> capsText(const PrinterCaps& caps, CapabilitySet set) {
    std::vector<std::string> text{"[" + std::string(capabilityTitle(set)) + "]"};
    const auto members = capabilityMembers(set);
    for (std::size_t k = 0; k < members.size(); ++k) {
        text.push_back(std::string(members[k].label) + (caps.hasCapability(set, k) ? "=1" : "=0"));
    }
    return text;
}

// The lines of a capability text that end in "=1".
std::vector<std::string> presentLines(const std::vector<std::string>& text) {
    std::vector<std::string> present;
    for (const std::string& line : text) {
        if (line.size() > 2 && line.ends_with("=1")) present.push_back(line);
    }
    return present;
}

// Queries a lone printer whose driver answers `caps`.
PrinterCaps& queried(sim::SimSpooler& spooler, PrinterCaps& caps, std::map<int, int> answers) {
    spooler.addPrinter(simPrinter("P", std::move(answers)));
    caps.queryPrinterCaps("P", "LPT1:");
    return caps;
}

TEST(PrinterCaps, DetailsAreSignedDecimalsFromTheDeviceContext) {
    sim::SimSpooler spooler;
    PrinterCaps caps(spooler);
    queried(spooler, caps,
            {{dc::kHorzSize, 203},
             {dc::kVertSize, 289},
             {dc::kLogPixelsX, 600},
             {dc::kLogPixelsY, 1200},
             {dc::kBitsPixel, 24},
             {dc::kPlanes, 1},
             {dc::kNumPens, 0},
             {dc::kNumFonts, 45},
             {dc::kNumColors, -1}});
    const PrinterDetails& d = caps.details();
    EXPECT_EQ(d.size, "203 X 289");
    EXPECT_EQ(d.resolution, "600 X 1200");
    EXPECT_EQ(d.colourFormat, "24 / 1");
    EXPECT_EQ(d.pens, "0");
    EXPECT_EQ(d.fonts, "45");
    EXPECT_EQ(d.colours, "-1");
}

TEST(PrinterCaps, EveryCapabilityTextHasItsHeadingAndOneLinePerMember) {
    sim::SimSpooler spooler;
    PrinterCaps caps(spooler);
    queried(spooler, caps, {});
    const std::pair<CapabilitySet, std::pair<const char*, std::size_t>> expected[] = {
        {CapabilitySet::Curve, {"[Curve Capabilities]", 9}},
        {CapabilitySet::Line, {"[Line Capabilities]", 7}},
        {CapabilitySet::Polygonal, {"[Polygonal Capabilities]", 8}},
        {CapabilitySet::Raster, {"[Raster Capabilities]", 11}},
        {CapabilitySet::Text, {"[Text Capabilities]", 16}},
    };
    for (const auto& [set, want] : expected) {
        const auto text = capsText(caps, set);
        ASSERT_EQ(text.size(), want.second + 1) << want.first;
        EXPECT_EQ(text[0], want.first);
        EXPECT_EQ(text[0].find('='), std::string::npos) << "a heading must not read as a value";
        for (std::size_t i = 1; i < text.size(); ++i) EXPECT_TRUE(text[i].ends_with("=0"));
    }
}

TEST(PrinterCaps, EachBitTurnsOnAtMostOneLineAndTheMasksCoverTheDocumentedBits) {
    // The bits each set has lines for: curves CC_CIRCLES..CC_ROUNDRECT, lines LC_POLYLINE..
    // LC_INTERIORS (no bit 0), polygons PC_POLYGON..PC_INTERIORS, raster the eleven RC_ bits,
    // text TC_OP_CHARACTER..TC_VA_ABLE and TC_SCROLLBLT, but not TC_RESERVED.
    const std::pair<CapabilitySet, std::uint32_t> covered[] = {
        {CapabilitySet::Curve, 0x01FF},     {CapabilitySet::Line, 0x00FE},
        {CapabilitySet::Polygonal, 0x00FF}, {CapabilitySet::Raster, 0x3B9F},
        {CapabilitySet::Text, 0x17FFF},
    };
    for (const auto& [set, mask] : covered) {
        std::uint32_t seen = 0;
        for (int bit = 0; bit < 31; ++bit) {
            sim::SimSpooler spooler;
            PrinterCaps caps(spooler);
            queried(spooler, caps, {{capabilityIndex(set), 1 << bit}});
            const auto on = presentLines(capsText(caps, set));
            ASSERT_LE(on.size(), 1u) << "bit " << bit;
            if (!on.empty()) seen |= 1u << bit;
        }
        EXPECT_EQ(seen, mask) << capabilityTitle(set);
    }
}

TEST(PrinterCaps, TextCapsReservedBitHasNoLineAndTheLastLineTestsTheNextBit) {
    sim::SimSpooler spooler;
    PrinterCaps caps(spooler);
    queried(spooler, caps, {{dc::kTextCaps, 0x8000}});
    auto text = capsText(caps, CapabilitySet::Text);
    EXPECT_TRUE(presentLines(text).empty());

    spooler.printers().clear();
    queried(spooler, caps, {{dc::kTextCaps, 0x10000}});
    text = capsText(caps, CapabilitySet::Text);
    ASSERT_EQ(text.size(), 17u);
    EXPECT_EQ(presentLines(text), std::vector<std::string>{"Cannot Scroll Using Blts=1"});
    EXPECT_EQ(text.back(), "Cannot Scroll Using Blts=1");
    EXPECT_EQ(text[15], "Supports Vector Fonts=0");
}

TEST(PrinterCaps, RasterLinesFollowTheBitNamesNotTheBitValues) {
    sim::SimSpooler spooler;
    PrinterCaps caps(spooler);
    queried(spooler, caps, {{dc::kRasterCaps, 0x0001}});
    const auto text = capsText(caps, CapabilitySet::Raster);
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text[1], "Requires Banding=0");
    EXPECT_EQ(text[2], "Can Transer Bitmaps=1");
    EXPECT_EQ(text[3], "Supports Bitmaps > 64K=0");
    EXPECT_EQ(text[11], "Supports StretchDIBits=0");
    EXPECT_EQ(presentLines(text).size(), 1u);
}

TEST(PrinterCaps, EachSetHasItsMembersAndFindsItsOwnBit) {
    sim::SimSpooler spooler;
    PrinterCaps caps(spooler);
    // One bit in each set, so each text has exactly one line that says "=1".
    queried(spooler, caps,
            {{dc::kCurveCaps, 0x0100},
             {dc::kLineCaps, 0x0002},
             {dc::kPolygonalCaps, 0x0004},
             {dc::kRasterCaps, 0x1000},
             {dc::kTextCaps, 0x0400}});
    struct Row {
        CapabilitySet set;
        const char* heading;
        std::size_t members;
        const char* on;
    };
    const Row rows[] = {
        {CapabilitySet::Curve, "[Curve Capabilities]", 9, "Rounded Rectangles=1"},
        {CapabilitySet::Line, "[Line Capabilities]", 7, "Polylines=1"},
        {CapabilitySet::Polygonal, "[Polygonal Capabilities]", 8, "Winding Fill Polygons=1"},
        {CapabilitySet::Raster, "[Raster Capabilities]", 11, "Can Perform Floodfills=1"},
        {CapabilitySet::Text, "[Text Capabilities]", 16, "Supports Italics=1"},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> text = capsText(caps, row.set);
        ASSERT_EQ(text.size(), 1u + row.members) << row.heading;
        EXPECT_EQ(text[0], row.heading);
        EXPECT_EQ(presentLines(text), std::vector<std::string>{row.on}) << row.heading;
    }
}

TEST(paperNames, SixtyFourCharactersFillASlotAndTheNextNameStartsInTheNextSlot) {
    const std::string full(64, 'W');
    sim::SimSpooler spooler({simPrinter("P", {}, {"Letter", full, "A4", ""})});
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("P", "LPT1:");
    EXPECT_EQ(caps.details().paperNames, (std::vector<std::string>{"Letter", full, "A4", ""}));
}

TEST(paperNames, NamesKeepTheirCodePageBytes) {
    sim::SimSpooler spooler({simPrinter("P", {}, {"<Custom> & \xE8. 10"})});
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("P", "LPT1:");
    ASSERT_EQ(caps.details().paperNames.size(), 1u);
    EXPECT_EQ(caps.details().paperNames[0], "<Custom> & \xE8. 10");
}

TEST(paperNames, QueryingAThenBLeavesOnlyBsNames) {
    sim::SimSpooler spooler(
        {simPrinter("A", {}, {"A4", "A5", "A6"}), simPrinter("B", {}, {"Legal"})});
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("A", "LPT1:");
    EXPECT_EQ(caps.details().paperNames.size(), 3u);
    caps.queryPrinterCaps("B", "LPT1:");
    ASSERT_EQ(caps.details().paperNames.size(), 1u);
    EXPECT_NE(caps.details().paperNames[0].find("Legal"), std::string::npos);
}

TEST(paperNames, AFailedOrEmptyAnswerLeavesTheListEmpty) {
    sim::SimPrinter failing = simPrinter("Failing");
    failing.paperNames.reset();  // DC_PAPERNAMES answers -1
    BendableSpooler spooler({simPrinter("Before", {}, {"A4"}), failing, simPrinter("None"),
                             simPrinter("Fetch fails", {}, {"A4", "A5"})});
    PrinterCaps caps(spooler);
    for (const char* name : {"Failing", "None", "No such printer"}) {
        caps.queryPrinterCaps("Before", "LPT1:");
        ASSERT_EQ(caps.details().paperNames.size(), 1u);
        caps.queryPrinterCaps(name, "LPT1:");
        EXPECT_TRUE(caps.details().paperNames.empty()) << name;
    }
    spooler.bendFetchedCount = [](int) { return -1; };
    caps.queryPrinterCaps("Fetch fails", "LPT1:");
    EXPECT_TRUE(caps.details().paperNames.empty());
}

TEST(paperNames, AFetchThatWritesFewerNamesThanCountedGivesOnlyThose) {
    BendableSpooler spooler({simPrinter("P", {}, {"A4", "A5", "A6"})});
    spooler.bendFetchedCount = [](int) { return 2; };
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("P", "LPT1:");
    ASSERT_EQ(caps.details().paperNames.size(), 2u);
    EXPECT_NE(caps.details().paperNames[1].find("A5"), std::string::npos);

    // A driver answering more than it was asked for gives no more than the buffer holds.
    spooler.bendFetchedCount = [](int) { return 50; };
    caps.queryPrinterCaps("P", "LPT1:");
    EXPECT_EQ(caps.details().paperNames.size(), 3u);
}

TEST(paperNames, ACountNoDriverCouldHaveGivesNoNames) {
    BendableSpooler spooler({simPrinter("P", {}, {"A4", "A5"})});
    PrinterCaps caps(spooler);
    for (int count : {65537, 1 << 26, std::numeric_limits<int>::max()}) {
        spooler.bendCount = [count](int) { return count; };
        caps.queryPrinterCaps("P", "LPT1:");
        EXPECT_TRUE(caps.details().paperNames.empty()) << count;
    }
    spooler.bendCount = [](int) { return 65536; };  // the most taken: the two names are read
    caps.queryPrinterCaps("P", "LPT1:");
    EXPECT_EQ(caps.details().paperNames.size(), 2u);
}

TEST(NoDeviceContext, DetailsAreEmptyAndNoCapabilityIsPresentButPaperNamesAreFetched) {
    sim::SimPrinter unreachable =
        simPrinter("Unreachable", {{dc::kHorzSize, 200}, {dc::kCurveCaps, 0x01FF}}, {"A4", "A3"});
    unreachable.createDcFails = true;
    sim::SimSpooler spooler({simPrinter("Reachable", {{dc::kHorzSize, 210},
                                                      {dc::kVertSize, 297},
                                                      {dc::kCurveCaps, 0x01FF},
                                                      {dc::kTextCaps, 0x7FFF}}),
                             unreachable});
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("Reachable", "LPT1:");
    ASSERT_EQ(caps.details().size, "210 X 297");

    caps.queryPrinterCaps("Unreachable", "LPT1:");
    const PrinterDetails& d = caps.details();
    for (const std::string* field :
         {&d.size, &d.resolution, &d.colourFormat, &d.pens, &d.fonts, &d.colours}) {
        EXPECT_EQ(*field, "");
    }
    for (CapabilitySet set : kCapabilitySets) {
        EXPECT_TRUE(presentLines(capsText(caps, set)).empty()) << capabilityTitle(set);
    }
    EXPECT_EQ(d.paperNames.size(), 2u);
    EXPECT_EQ(spooler.strayDeleteCount(), 0) << "deleted a context it never had";
}

TEST(DeviceContext, IsReleasedAfterEveryQueryAlsoWhenTheDriverFails) {
    BendableSpooler spooler({simPrinter("P", {{dc::kHorzSize, 210}}, {"A4"})});
    PrinterCaps caps(spooler);
    caps.queryPrinterCaps("P", "LPT1:");
    caps.queryPrinterCaps("P", "LPT1:");
    EXPECT_EQ(spooler.createDcCount(), 2);
    EXPECT_EQ(spooler.openDcCount(), 0u);

    for (int failing : {dc::kHorzSize, dc::kRasterCaps}) {
        spooler.throwOnCapsIndex = failing;
        EXPECT_THROW(caps.queryPrinterCaps("P", "LPT1:"), std::runtime_error);
        EXPECT_EQ(spooler.openDcCount(), 0u) << "index " << failing;
    }
    EXPECT_EQ(spooler.strayDeleteCount(), 0);
}

}  // namespace
}  // namespace tamux::test
