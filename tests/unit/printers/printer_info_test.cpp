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

std::vector<std::string> names(const PrinterList& printers) {
    std::vector<std::string> list;
    for (int i = 0; i < printers.count(); ++i) {
        PrinterInfo info;
        printers.getPrinter(i, info);
        list.push_back(info.printerName.value_or(""));
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
    PrinterList printers(spooler);
    EXPECT_EQ(spooler.enumCallCount(), 2);
    EXPECT_EQ(names(printers), (std::vector<std::string>{"Laser", "Ink Jet", "Dot Matrix"}));
}

TEST(PrintersInfo, RefreshDiscardsTheOldRecords) {
    sim::SimSpooler spooler = threePrinters();
    PrinterList printers(spooler);
    spooler.printers().erase(spooler.printers().begin());
    spooler.addPrinter(simPrinter("Plotter"));
    printers.refresh();
    EXPECT_EQ(names(printers), (std::vector<std::string>{"Ink Jet", "Dot Matrix", "Plotter"}));

    spooler.printers().clear();
    printers.refresh();
    EXPECT_EQ(printers.count(), 0);
}

TEST(PrintersInfo, ASpoolerThatCannotBeAskedOrGrowsBetweenTheCallsGivesNoRecords) {
    sim::SimSpooler failing = threePrinters();
    failing.setEnumFails(true);
    EXPECT_EQ(PrinterList(failing).count(), 0);

    // The size query counts three printers; a fourth arrives before the fetch, which then no
    // longer fits: no record at all rather than a partial list.
    sim::SimSpooler growing = threePrinters();
    growing.addPrinterAfterNextEnum(simPrinter("Newcomer"));
    PrinterList printers(growing);
    EXPECT_EQ(printers.count(), 0);
    printers.refresh();
    EXPECT_EQ(printers.count(), 4);
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

    PrinterList printers(spooler);
    ASSERT_EQ(printers.count(), 2);
    PrinterInfo got;
    printers.getPrinter(0, got);
    EXPECT_EQ(got.serverName, "\\\\SERVER");
    EXPECT_EQ(got.printerName, "\\\\SERVER\\Laser");
    EXPECT_EQ(got.shareName, "Laser");
    EXPECT_EQ(got.portName, "IP_10.0.0.7");
    EXPECT_EQ(got.driverName, "HP LaserJet 4");
    EXPECT_EQ(got.comment, "second floor");
    EXPECT_EQ(got.location, "Room 2.14");
    EXPECT_EQ(got.sepFile, "sysprint.sep");
    EXPECT_EQ(got.printProcessor, "WinPrint");
    EXPECT_EQ(got.datatype, "RAW");
    EXPECT_EQ(got.parameters, "-duplex");
    EXPECT_EQ(got.attributes, 0x240u);
    EXPECT_EQ(got.priority, 2u);
    EXPECT_EQ(got.defaultPriority, 3u);
    EXPECT_EQ(got.startTime, 480u);
    EXPECT_EQ(got.untilTime, 1020u);
    EXPECT_EQ(got.status, 0x80000000u);
    EXPECT_EQ(got.jobs, 7u);
    EXPECT_EQ(got.averagePpm, 12u);

    // Every string of the first record is overwritten by the second's, empty ones included.
    printers.getPrinter(1, got);
    EXPECT_EQ(got.printerName, "Sparse");
    EXPECT_EQ(got.serverName.value_or(""), "");
    EXPECT_EQ(got.shareName.value_or(""), "");
    EXPECT_EQ(got.comment.value_or(""), "");
    EXPECT_EQ(got.location.value_or(""), "");
    EXPECT_EQ(got.status, 0u);
}

TEST(PrintersInfo, GetPrinterOnAnEmptyListLeavesTheRecordAndRaisesNothing) {
    sim::SimSpooler spooler;
    PrinterList printers(spooler);
    PrinterInfo sentinel;
    sentinel.printerName = "sentinel";
    sentinel.jobs = 99;
    PrinterInfo record = sentinel;
    EXPECT_NO_THROW(printers.getPrinter(0, record));
    EXPECT_NO_THROW(printers.getPrinter(5, record));
    EXPECT_EQ(record, sentinel);
}

TEST(PrintersInfo, ABadIndexOnANonEmptyListRaisesInvalidIndexAndKeepsTheRecord) {
    sim::SimSpooler spooler = threePrinters();
    PrinterList printers(spooler);
    for (int bad : {-1, 3, 1000}) {
        PrinterInfo record;
        record.printerName = "sentinel";
        try {
            printers.getPrinter(bad, record);
            ADD_FAILURE() << "index " << bad << " raised nothing";
        } catch (const EInvalidIndex& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(std::to_string(bad)), std::string::npos) << message;
            EXPECT_NE(message.find("0 to 2"), std::string::npos) << message;
        }
        EXPECT_EQ(record.printerName, "sentinel");
    }
}

TEST(GetPrinters, ThreePrintersBecomeThreeEntriesOfThePrintersSectionInOrder) {
    sim::SimSpooler spooler;
    PrinterList printers(spooler);  // empty when made: readPrinters asks again
    sim::SimSpooler source = threePrinters();
    for (const auto& p : source.printers()) spooler.addPrinter(p);
    SectionList pane;
    addCategories(pane, 2);
    pane.section(1).subItems().add("already there");

    readPrinters(printers, pane);
    EXPECT_EQ(printers.count(), 3);
    EXPECT_EQ(pane.section(0).subItems().count(), 0);
    EXPECT_EQ(pane.section(1).subItems().lines(),
              (std::vector<std::string>{"already there", "Laser", "Ink Jet", "Dot Matrix"}));
    EXPECT_EQ(pane.section(1).subItems().imageIndex(1), -1) << "images are the window's to set";
}

TEST(GetPrinters, AOneSectionPaneGetsNothingButTheListIsStillFilled) {
    sim::SimSpooler spooler = threePrinters();
    PrinterList printers(spooler);
    spooler.addPrinter(simPrinter("Fourth"));
    SectionList pane;
    addCategories(pane, 1);
    readPrinters(printers, pane);
    EXPECT_EQ(printers.count(), 4);
    EXPECT_EQ(pane.sectionCount(), 1);
    EXPECT_EQ(pane.section(0).subItems().count(), 0);

    SectionList none;
    EXPECT_NO_THROW(readPrinters(printers, none));
}

TEST(GetPrinters, NamesHoldingMarkupAreEscapedAndStillFoundByTheirEntry) {
    sim::SimSpooler spooler({simPrinter("Tom & Jerry <b>"), simPrinter("Tom & Jerry &lt;b&gt;")});
    PrinterList printers(spooler);
    SectionList pane;
    addCategories(pane, 2);
    readPrinters(printers, pane);
    const auto entries = pane.section(1).subItems().lines();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "Tom &amp; Jerry &lt;b&gt;");
    // Each entry stands for its own printer, even where one name is the other escaped.
    EXPECT_EQ(printerIndicesForCaption(printers, entries[0]), std::vector<int>{0});
    EXPECT_EQ(printerIndicesForCaption(printers, entries[1]), std::vector<int>{1});
}

TEST(printerIndicesForCaption, MatchesExactlyWithCaseAndEveryPrinterOfThatName) {
    sim::SimSpooler spooler(
        {simPrinter("Laser"), simPrinter("Keyboard"), simPrinter("Laser"), simPrinter("laser")});
    PrinterList printers(spooler);
    EXPECT_EQ(printerIndicesForCaption(printers, "Laser"), (std::vector<int>{0, 2}));
    EXPECT_EQ(printerIndicesForCaption(printers, "laser"), std::vector<int>{3});
    EXPECT_TRUE(printerIndicesForCaption(printers, "LASER").empty());
    EXPECT_TRUE(printerIndicesForCaption(printers, "Laser ").empty());
    EXPECT_TRUE(printerIndicesForCaption(printers, "").empty());
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
            sim::SimPrinter again = simPrinter(toAsciiUpper(expected.front()));
            again.connection = true;
            sample.spooler().addPrinter(again);
        }
        sim::SimPrinter sales = simPrinter("Sales Laser");
        sales.connection = true;
        sample.spooler().addPrinter(sales);
        expected.push_back("Sales Laser");

        PrinterList printers(sample.spooler(), printerListingOf(sample.machine().system()));
        EXPECT_EQ(names(printers), expected);
    }
}

}  // namespace
}  // namespace tamux::test
