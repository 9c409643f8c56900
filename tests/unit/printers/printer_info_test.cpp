// The printer list: the two-call enumeration, the records, GetPrinter's contract, the left
// pane's printer entries and finding a printer by its entry.
#include "devices/printers/printer_info.h"

#include <gtest/gtest.h>

#include "platform/ascii_case.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/printers/printer_fixtures.h"
#include "ui/section_list.h"

namespace tamux::test {
namespace {

std::vector<std::string> names(const TPrintersInfo& printers) {
    std::vector<std::string> list;
    for (int i = 0; i < printers.Count(); ++i) {
        TPrinterInfo info;
        printers.GetPrinter(i, info);
        list.push_back(info.PrinterName);
    }
    return list;
}

sim::SimSpooler threePrinters() {
    return sim::SimSpooler({simPrinter("Laser"), simPrinter("Ink Jet"), simPrinter("Dot Matrix")});
}

// A left pane as the main window has it before the printers are listed.
void addCategories(SectionList& pane, int count) {
    for (int i = 0; i < count; ++i) pane.addSection().setCaption("category " + std::to_string(i));
}

TEST(PrintersInfo, ConstructionListsThePrintersInTheSpoolersOrderWithTwoCalls) {
    sim::SimSpooler spooler = threePrinters();
    TPrintersInfo printers(spooler);
    EXPECT_EQ(spooler.enumCallCount(), 2);
    EXPECT_EQ(names(printers), (std::vector<std::string>{"Laser", "Ink Jet", "Dot Matrix"}));
}

TEST(PrintersInfo, RefreshDiscardsTheOldRecords) {
    sim::SimSpooler spooler = threePrinters();
    TPrintersInfo printers(spooler);
    spooler.printers().erase(spooler.printers().begin());
    spooler.addPrinter(simPrinter("Plotter"));
    printers.Refresh();
    EXPECT_EQ(names(printers), (std::vector<std::string>{"Ink Jet", "Dot Matrix", "Plotter"}));

    spooler.printers().clear();
    printers.Refresh();
    EXPECT_EQ(printers.Count(), 0);
}

TEST(PrintersInfo, ASpoolerThatCannotBeAskedOrGrowsBetweenTheCallsGivesNoRecords) {
    sim::SimSpooler failing = threePrinters();
    failing.setEnumFails(true);
    EXPECT_EQ(TPrintersInfo(failing).Count(), 0);

    // The size query counts three printers; a fourth arrives before the fetch, which then no
    // longer fits: no record at all rather than a partial list.
    sim::SimSpooler growing = threePrinters();
    growing.addPrinterAfterNextEnum(simPrinter("Newcomer"));
    TPrintersInfo printers(growing);
    EXPECT_EQ(printers.Count(), 0);
    printers.Refresh();
    EXPECT_EQ(printers.Count(), 4);
}

TEST(PrintersInfo, RecordsCopyAllNineteenFieldsAndNullStringsBecomeEmpty) {
    sim::SimPrinter full;
    auto& i = full.info;
    i.serverName = "\\\\SERVER";
    i.printerName = "\\\\SERVER\\Laser";
    i.shareName = "Laser";
    i.portName = "IP_10.0.0.7";
    i.driverName = "HP LaserJet 4";
    i.comment = "second floor";
    i.location = "Room 2.14";
    i.sepFile = "sysprint.sep";
    i.printProcessor = "WinPrint";
    i.datatype = "RAW";
    i.parameters = "-duplex";
    i.attributes = 0x240;
    i.priority = 2;
    i.defaultPriority = 3;
    i.startTime = 480;
    i.untilTime = 1020;
    i.status = 0x80000000u;
    i.jobs = 7;
    i.averagePpm = 12;
    sim::SimPrinter sparse = simPrinter("Sparse");  // no share, comment, location, server
    sim::SimSpooler spooler({full, sparse});

    TPrintersInfo printers(spooler);
    ASSERT_EQ(printers.Count(), 2);
    TPrinterInfo got;
    printers.GetPrinter(0, got);
    EXPECT_EQ(got.ServerName, "\\\\SERVER");
    EXPECT_EQ(got.PrinterName, "\\\\SERVER\\Laser");
    EXPECT_EQ(got.ShareName, "Laser");
    EXPECT_EQ(got.PortName, "IP_10.0.0.7");
    EXPECT_EQ(got.DriverName, "HP LaserJet 4");
    EXPECT_EQ(got.Comment, "second floor");
    EXPECT_EQ(got.Location, "Room 2.14");
    EXPECT_EQ(got.SepFile, "sysprint.sep");
    EXPECT_EQ(got.PrintProcessor, "WinPrint");
    EXPECT_EQ(got.Datatype, "RAW");
    EXPECT_EQ(got.Parameters, "-duplex");
    EXPECT_EQ(got.Attributes, 0x240u);
    EXPECT_EQ(got.Priority, 2u);
    EXPECT_EQ(got.DefaultPriority, 3u);
    EXPECT_EQ(got.StartTime, 480u);
    EXPECT_EQ(got.UntilTime, 1020u);
    EXPECT_EQ(got.Status, 0x80000000u);
    EXPECT_EQ(got.Jobs, 7u);
    EXPECT_EQ(got.AveragePPM, 12u);

    // Every string of the first record is overwritten by the second's, empty ones included.
    printers.GetPrinter(1, got);
    EXPECT_EQ(got.PrinterName, "Sparse");
    EXPECT_EQ(got.ServerName, "");
    EXPECT_EQ(got.ShareName, "");
    EXPECT_EQ(got.Comment, "");
    EXPECT_EQ(got.Location, "");
    EXPECT_EQ(got.Status, 0u);
}

TEST(PrintersInfo, GetPrinterOnAnEmptyListLeavesTheRecordAndRaisesNothing) {
    sim::SimSpooler spooler;
    TPrintersInfo printers(spooler);
    TPrinterInfo sentinel;
    sentinel.PrinterName = "sentinel";
    sentinel.Jobs = 99;
    TPrinterInfo record = sentinel;
    EXPECT_NO_THROW(printers.GetPrinter(0, record));
    EXPECT_NO_THROW(printers.GetPrinter(5, record));
    EXPECT_EQ(record, sentinel);
}

TEST(PrintersInfo, ABadIndexOnANonEmptyListRaisesInvalidIndexAndKeepsTheRecord) {
    sim::SimSpooler spooler = threePrinters();
    TPrintersInfo printers(spooler);
    for (int bad : {-1, 3, 1000}) {
        TPrinterInfo record;
        record.PrinterName = "sentinel";
        try {
            printers.GetPrinter(bad, record);
            ADD_FAILURE() << "index " << bad << " raised nothing";
        } catch (const EInvalidIndex& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(std::to_string(bad)), std::string::npos) << message;
            EXPECT_NE(message.find("0 to 2"), std::string::npos) << message;
        }
        EXPECT_EQ(record.PrinterName, "sentinel");
    }
}

TEST(GetPrinters, ThreePrintersBecomeThreeEntriesOfThePrintersSectionInOrder) {
    sim::SimSpooler spooler;
    TPrintersInfo printers(spooler);  // empty when made: getprinters asks again
    sim::SimSpooler source = threePrinters();
    for (const auto& p : source.printers()) spooler.addPrinter(p);
    SectionList pane;
    addCategories(pane, 2);
    pane.section(1).subItems().add("already there");

    getprinters(printers, pane);
    EXPECT_EQ(printers.Count(), 3);
    EXPECT_EQ(pane.section(0).subItems().count(), 0);
    EXPECT_EQ(pane.section(1).subItems().lines(),
              (std::vector<std::string>{"already there", "Laser", "Ink Jet", "Dot Matrix"}));
    EXPECT_EQ(pane.section(1).subItems().imageIndex(1), -1) << "images are the window's to set";
}

TEST(GetPrinters, AOneSectionPaneGetsNothingButTheListIsStillFilled) {
    sim::SimSpooler spooler = threePrinters();
    TPrintersInfo printers(spooler);
    spooler.addPrinter(simPrinter("Fourth"));
    SectionList pane;
    addCategories(pane, 1);
    getprinters(printers, pane);
    EXPECT_EQ(printers.Count(), 4);
    EXPECT_EQ(pane.sectionCount(), 1);
    EXPECT_EQ(pane.section(0).subItems().count(), 0);

    SectionList none;
    EXPECT_NO_THROW(getprinters(printers, none));
}

TEST(GetPrinters, NamesHoldingMarkupAreEscapedAndStillFoundByTheirEntry) {
    sim::SimSpooler spooler({simPrinter("Tom & Jerry <b>"), simPrinter("Tom & Jerry &lt;b&gt;")});
    TPrintersInfo printers(spooler);
    SectionList pane;
    addCategories(pane, 2);
    getprinters(printers, pane);
    const auto entries = pane.section(1).subItems().lines();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "Tom &amp; Jerry &lt;b&gt;");
    // Each entry stands for its own printer, even where one name is the other escaped.
    EXPECT_EQ(PrinterIndicesForCaption(printers, entries[0]), std::vector<int>{0});
    EXPECT_EQ(PrinterIndicesForCaption(printers, entries[1]), std::vector<int>{1});
}

TEST(PrinterIndicesForCaption, MatchesExactlyWithCaseAndEveryPrinterOfThatName) {
    sim::SimSpooler spooler(
        {simPrinter("Laser"), simPrinter("Keyboard"), simPrinter("Laser"), simPrinter("laser")});
    TPrintersInfo printers(spooler);
    EXPECT_EQ(PrinterIndicesForCaption(printers, "Laser"), (std::vector<int>{0, 2}));
    EXPECT_EQ(PrinterIndicesForCaption(printers, "laser"), std::vector<int>{3});
    EXPECT_TRUE(PrinterIndicesForCaption(printers, "LASER").empty());
    EXPECT_TRUE(PrinterIndicesForCaption(printers, "Laser ").empty());
    EXPECT_TRUE(PrinterIndicesForCaption(printers, "").empty());
}

}  // namespace
}  // namespace tamux::test

namespace tamux::test {
namespace {

struct ConnectionRow {
    const char* machine;
    bool sameNameConnected;  // NT: a printer can be local and connected under one name
};

TEST(PrintersInfo, ConnectedPrintersFollowTheLocalOnesOnceOnEitherFamily) {
    const std::vector<ConnectionRow> rows = {
        {"nt4", true}, {"win2000", true}, {"win95", false}, {"winme", false}};
    for (const ConnectionRow& row : rows) {
        SCOPED_TRACE(row.machine);
        EnglishMachine sample(row.machine);
        std::vector<std::string> expected;
        for (const sim::SimPrinter& printer : sample.spooler().printers()) {
            expected.push_back(printer.info.printerName.value_or(""));
        }
        ASSERT_FALSE(expected.empty());
        if (row.sameNameConnected) {
            sim::SimPrinter again = simPrinter(AsciiUpper(expected.front()));
            again.connection = true;
            sample.spooler().addPrinter(again);
        }
        sim::SimPrinter sales = simPrinter("Sales Laser");
        sales.connection = true;
        sample.spooler().addPrinter(sales);
        expected.push_back("Sales Laser");

        TPrintersInfo printers(sample.spooler(), PrinterListingOf(sample.machine().system()));
        EXPECT_EQ(names(printers), expected);
    }
}

}  // namespace
}  // namespace tamux::test
