// The report window: what an opening shows, the ticks and the pop-up menu, the request each
// button leaves, every way of closing, and the save dialog it lends the report.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "report/extended_save_dialog.h"
#include "report/report_dialog.h"
#include "tests/unit/report/report_harness.h"

namespace tamux::test {
namespace {

// The tick of every entry, section by section.
std::vector<std::vector<bool>> ticks(const SectionList& list) {
    std::vector<std::vector<bool>> all;
    for (int s = 0; s < list.sectionCount(); ++s) {
        const SubItems& entries = list.section(s).subItems();
        std::vector<bool> section;
        for (int i = 0; i < entries.count(); ++i) section.push_back(entries.ticked(i));
        all.push_back(section);
    }
    return all;
}

TEST(ReportWindow, OpensWithTheLeftPaneContractedUntickedAndTheFirstRowCurrent) {
    ReportHarness h;
    // A tick of the main window's list is not the report's.
    h.left.section(0).subItems().setTicked(1, true);
    bool shown = false;
    h.onShow([&](ReportDialog& form, SectionList& list) {
        shown = true;
        EXPECT_EQ(h.state().reportDialog.current, &form);
        EXPECT_EQ(form.caption, "Report");
        EXPECT_EQ(form.printButtonCaption, "Print");
        EXPECT_EQ(form.sendButtonCaption, "Send");
        EXPECT_EQ(form.saveButtonCaption, "Save");
        EXPECT_EQ(form.closeButtonCaption, "Close");
        EXPECT_EQ(form.selectAllCaption, "Select all");
        EXPECT_EQ(form.unselectAllCaption, "Deselect all");

        ASSERT_EQ(list.sectionCount(), 2);
        EXPECT_EQ(list.section(0).caption(), "Input devices");
        EXPECT_EQ(list.section(1).caption(), "Printers");
        EXPECT_EQ(list.section(0).imageIndex(), h.left.section(0).imageIndex());
        EXPECT_EQ(list.section(1).imageIndex(), h.left.section(1).imageIndex());
        EXPECT_EQ(list.section(0).subItems().lines(),
                  (std::vector<std::string>{"Mouse", "Keyboard"}));
        EXPECT_EQ(list.section(1).subItems().lines(),
                  (std::vector<std::string>{"HP LaserJet P2015DN", "Fax"}));
        EXPECT_EQ(list.section(0).subItems().imageIndex(1), 1);
        EXPECT_EQ(list.section(1).subItems().imageIndex(0), 2);
        for (int s = 0; s < 2; ++s) {
            EXPECT_FALSE(list.section(s).expanded());
            EXPECT_EQ(list.section(s).controlType(), SectionControlType::TickBox);
            EXPECT_FALSE(list.section(s).readOnly());
        }
        EXPECT_EQ(ticks(list), (std::vector<std::vector<bool>>{{false, false}, {false, false}}));
        EXPECT_EQ(list.currentRow(), 0);
        EXPECT_EQ(list.currentSection(), 0);
    });
    h.state().sel = {ReportAction::Save, {{0, 0, true, "Mouse", "Input devices"}}};

    showReportDialog(h.state().reportDialog, h.left);

    EXPECT_TRUE(shown);
    // Closed without a button: the request of an earlier opening is gone.
    EXPECT_EQ(h.state().sel, ReportRequest{});
    EXPECT_EQ(h.state().reportDialog.current, nullptr);
}

TEST(ReportWindow, EntriesTickWithAClickInTheTickBoxOrTheSpaceBar) {
    ReportHarness h;
    bool shown = false;
    h.onShow([&shown](ReportDialog&, SectionList& list) {
        shown = true;
        list.keyDown(ListKey::Space);  // on the first heading: opens it
        ASSERT_TRUE(list.section(0).expanded());
        const int row = list.rowIndex({0, 1});  // Keyboard
        const int y = list.rowTop(row) + 5;
        list.mouseDown(MouseButton::Left, 40, y);  // on the text, right of the box
        EXPECT_FALSE(list.section(0).subItems().ticked(1));
        list.mouseDown(MouseButton::Left, 20, y);
        EXPECT_TRUE(list.section(0).subItems().ticked(1));
        list.mouseDown(MouseButton::Right, 20, y);
        EXPECT_TRUE(list.section(0).subItems().ticked(1));
        ASSERT_EQ(list.currentRow(), row);
        list.keyDown(ListKey::Space);
        EXPECT_FALSE(list.section(0).subItems().ticked(1));
        list.keyDown(ListKey::Space);
        EXPECT_TRUE(list.section(0).subItems().ticked(1));
    });
    showReportDialog(h.state().reportDialog, h.left);
    EXPECT_TRUE(shown) << "the window was never shown";
}

TEST(ReportWindow, TheMenuOpensOnTheRightButtonsReleaseBesideThePointer) {
    ReportHarness h;
    h.onShow([](ReportDialog&, SectionList& list) {
        list.mouseDown(MouseButton::Right, 25, 45);
        list.mouseUp(MouseButton::Left, 25, 45);
        list.mouseUp(MouseButton::Middle, 25, 45);
        list.mouseUp(MouseButton::Right, 25, 45);
    });
    showReportDialog(h.state().reportDialog, h.left);
    ASSERT_EQ(h.windows.popups.size(), 1u);
    EXPECT_EQ(h.windows.popups[0].x, ScriptedReportView::kOrigin.x + 25 + 10);
    EXPECT_EQ(h.windows.popups[0].y, ScriptedReportView::kOrigin.y + 45 + 10);
}

TEST(ReportWindow, SelectAllAndDeselectAllTouchTheCurrentSectionOnly) {
    ReportHarness h;
    bool shown = false;
    h.onShow([&shown](ReportDialog& form, SectionList& list) {
        shown = true;
        list.section(0).subItems().setTicked(1, true);  // Keyboard
        list.setCurrentRow(list.rowIndex({1, -1}));     // the printers' heading
        form.selectAllClick();
        EXPECT_EQ(ticks(list), (std::vector<std::vector<bool>>{{false, true}, {true, true}}));
        form.unselectAllClick();
        EXPECT_EQ(ticks(list), (std::vector<std::vector<bool>>{{false, true}, {false, false}}));

        list.setCurrentRow(0);
        form.selectAllClick();
        EXPECT_EQ(ticks(list), (std::vector<std::vector<bool>>{{true, true}, {false, false}}));

        list.setCurrentRow(-1);
        form.unselectAllClick();
        EXPECT_EQ(ticks(list), (std::vector<std::vector<bool>>{{true, true}, {false, false}}));
    });
    showReportDialog(h.state().reportDialog, h.left);
    EXPECT_TRUE(shown) << "the window was never shown";
}

TEST(ReportWindow, EachButtonLeavesItsRequestAndClosesTheWindow) {
    const std::vector<SelectedItem> mouseAndFax = {
        {0, 0, true, "Mouse", "Input devices"},
        {1, 1, true, "Fax", "Printers"},
    };
    struct Case {
        void (ReportDialog::*button)();
        ReportRequest expected;
    };
    const std::vector<Case> cases = {
        {&ReportDialog::printButtonClick, {ReportAction::Print, mouseAndFax}},
        {&ReportDialog::sendButtonClick, {ReportAction::Send, mouseAndFax}},
        {&ReportDialog::saveButtonClick, {ReportAction::Save, mouseAndFax}},
        {&ReportDialog::closeButtonClick, {ReportAction::None, {}}},
        {&ReportDialog::formClose, {ReportAction::None, {}}},
    };
    ReportHarness h;
    for (const Case& c : cases) {
        h.onShow([&](ReportDialog& form, SectionList& list) {
            // Ticked in the other order: the request follows the list.
            list.section(1).subItems().setTicked(1, true);
            list.section(0).subItems().setTicked(0, true);
            (form.*c.button)();
            EXPECT_EQ(h.state().reportDialog.current, nullptr);
        });
        const int closed = h.windows.closed;
        showReportDialog(h.state().reportDialog, h.left);
        EXPECT_EQ(h.state().sel, c.expected);
        EXPECT_EQ(h.windows.closed, closed + 1);
    }
}

TEST(ReportWindow, NothingTickedGivesAnEmptyRequest) {
    ReportHarness h;
    h.choose({}, ReportAction::Print);
    showReportDialog(h.state().reportDialog, h.left);
    EXPECT_EQ(h.state().sel, (ReportRequest{ReportAction::Print, {}}));
}

TEST(ReportWindow, ASecondOpeningIsRefusedWhileOneIsOpen) {
    ReportHarness h;
    h.onShow([&](ReportDialog& form, SectionList&) {
        h.state().sel.action = ReportAction::Send;
        h.onShow({});
        showReportDialog(h.state().reportDialog, h.left);
        EXPECT_EQ(h.windows.made, 1);
        EXPECT_EQ(h.state().sel.action, ReportAction::Send);  // untouched
        EXPECT_EQ(h.state().reportDialog.current, &form);
    });
    showReportDialog(h.state().reportDialog, h.left);
    EXPECT_EQ(h.state().reportDialog.current, nullptr);
    // Closed: the next opening gets a window of its own.
    showReportDialog(h.state().reportDialog, h.left);
    EXPECT_EQ(h.windows.made, 2);
}

TEST(ReportWindow, AFailureWhileOpeningIsSwallowedAndLeavesNothingToDo) {
    ReportHarness h;
    ReportDialogHost& host = h.state().reportDialog;
    const ReportViewFactory working = host.views;
    host.views = [](ReportDialog&) -> std::unique_ptr<ReportDialogView> {
        throw std::runtime_error("no window");
    };
    h.state().sel = {ReportAction::Save, {{0, 1, true, "Keyboard", "Input devices"}}};
    EXPECT_NO_THROW(showReportDialog(host, h.left));
    EXPECT_EQ(h.state().sel, ReportRequest{});
    EXPECT_EQ(host.current, nullptr);

    // A failure after Save was pressed leaves nothing to do either.
    host.views = working;
    h.onShow([](ReportDialog& form, SectionList& list) {
        list.section(0).subItems().setTicked(1, true);
        form.saveButtonClick();
        throw std::runtime_error("the window broke");
    });
    EXPECT_NO_THROW(showReportDialog(host, h.left));
    EXPECT_EQ(h.state().sel, ReportRequest{});
    EXPECT_EQ(host.current, nullptr);
}

TEST(ReportWindow, TheCloseBoxAfterAnEarlierPrintPrintsNothing) {
    ReportHarness h;
    h.dialogs().queuePrinter();
    h.choose({{0, 1}}, ReportAction::Print);
    h.report();
    ASSERT_EQ(h.dialogs().printJobs().size(), 1u);

    h.onShow([](ReportDialog& form, SectionList& list) {
        list.section(0).subItems().setTicked(1, true);
        form.formClose();
    });
    h.dialogs().queuePrinter();
    h.report();
    EXPECT_EQ(h.dialogs().printDialogCount(), 1);
    EXPECT_EQ(h.dialogs().printJobs().size(), 1u);
}

TEST(ExtendedSaveDialog, ThePlacesBarStructureOnNt5AndLaterOnly) {
    struct Case {
        std::uint32_t platformId, major, minor;
        bool extended;
    };
    const std::vector<Case> cases = {
        {2, 5, 1, true},    // XP
        {2, 5, 0, true},    // 2000
        {2, 6, 0, true},    // Vista
        {2, 4, 0, false},   // NT 4
        {1, 4, 10, false},  // 98
        {1, 4, 90, false},  // Me
        {1, 5, 0, false},   // a 9x that calls itself 5
    };
    TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    for (const Case& c : cases) {
        platform::OsVersionInfo version;
        version.platformId = c.platformId;
        version.majorVersion = c.major;
        version.minorVersion = c.minor;
        machine->system().setVersion(version);
        ExtendedSaveDialog dialog(machine->dialogs(), machine->system());
        EXPECT_EQ(dialog.request().extendedStructure, c.extended) << c.major << "." << c.minor;
        EXPECT_EQ(dialog.request().showPlacesBar, c.extended);
        dialog.showPlacesBar = false;
        EXPECT_FALSE(dialog.request().showPlacesBar);
    }
}

TEST(ExtendedSaveDialog, TheReportsDialogAsksForTextFilesWithoutAnOverwritePrompt) {
    ReportHarness h;
    h.dialogs().queueSavePath("C:\\chosen.txt");
    ReportDialog hidden(h.state().reportDialog);
    hidden.saveDialog.fileName = "proposed";
    ASSERT_TRUE(hidden.saveDialog.execute());
    EXPECT_EQ(hidden.saveDialog.fileName, "C:\\chosen.txt");
    ASSERT_EQ(h.dialogs().saveRequests().size(), 1u);
    const platform::SaveDialogRequest& request = h.dialogs().saveRequests()[0];
    EXPECT_EQ(request.filter, "Text files|*.txt|HTML files|*.htm|All files|*.*");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.initialFileName, "proposed");
    EXPECT_FALSE(request.overwritePrompt);
    EXPECT_TRUE(request.extendedStructure);
    EXPECT_TRUE(request.showPlacesBar);

    // Cancelled: the name stays.
    EXPECT_FALSE(hidden.saveDialog.execute());
    EXPECT_EQ(hidden.saveDialog.fileName, "C:\\chosen.txt");
}

}  // namespace
}  // namespace tamux::test
