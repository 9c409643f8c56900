// The right pane as the user drives it from both panes: a category rebuilt with one section per
// device, the wait dialog around the printer queries, device sections opened and toggled, the
// pane emptied when a category closes, and the lock-key lines.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "devices/printers/printer_info.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_spooler.h"
#include "tests/support/text_only_printer.h"
#include "tests/unit/app/form_harness.h"

namespace tamux::test {
namespace {

const std::string kCapsOn = "<FONT color=\"clgreen\" size=\"10\"> CAPS </FONT>";
const std::string kCapsOff = "<FONT color=\"clblack\" size=\"10\"> CAPS </FONT>";
const std::string kNumOn = "<FONT color=\"clgreen\" size=\"10\"> NUM </FONT>";
const std::string kNumOff = "<FONT color=\"clblack\" size=\"10\"> NUM </FONT>";

// The first lines of the sections: each names its device, so that they tell the builders and
// the devices apart where a comparison with h.mouseLines() and the like tells only which builder
// filled a section.
std::string deviceTitle(const std::string& name) {
    return "<FONT color=\"clnavy\" size=\"12\">" + name + "</FONT>";
}
std::string printerTitle(const std::string& name) {
    return R"(<IMG src="idx:2"></IMG> <FONT size="10" color="clblue">Printer name <IND x="200">)"
           R"(<FONT color="clmaroon"> )" +
           name + " </FONT>";
}

// The first line of right-pane section `section`, or "" when it has none.
std::string firstLine(FormHarness& h, int section) {
    const std::vector<std::string> lines = h.rightLines(section);
    return lines.empty() ? std::string() : lines.front();
}

std::vector<int> rightImages(SectionList& pane) {
    std::vector<int> images;
    for (int i = 0; i < pane.sectionCount(); ++i) images.push_back(pane.section(i).imageIndex());
    return images;
}

bool allContracted(SectionList& pane) {
    for (int i = 0; i < pane.sectionCount(); ++i) {
        if (pane.section(i).expanded()) return false;
    }
    return true;
}

// The top of a section's heading in the pane's content.
int headingTop(SectionList& pane, int section) {
    return pane.rowTop(pane.rowIndex({section, -1}));
}

TEST(showCategory, InputDevicesGiveTheHeadingTheMouseAndTheKeyboard) {
    FormHarness h;
    MainForm& form = h.start();
    h.log.clear();

    form.leftCategoryExpanded(kInputDevicesCategory);

    EXPECT_EQ(h.rightCaptions(), (std::vector<std::string>{"Input devices", "Mouse", "Keyboard"}));
    EXPECT_EQ(rightImages(h.right), (std::vector<int>{-1, kMouseImage, kKeyboardImage}));
    EXPECT_TRUE(allContracted(h.right));
    EXPECT_EQ(h.right.section(0).subItems().count(), 0);
    EXPECT_EQ(firstLine(h, 1), deviceTitle("HID-compliant mouse"));
    EXPECT_EQ(firstLine(h, 2),
              deviceTitle("Standard 101/102-Key or Microsoft Natural PS/2 Keyboard"));
    EXPECT_EQ(h.rightLines(1), h.mouseLines());
    EXPECT_EQ(h.rightLines(2), h.keyboardLines());
    // Built out of sight and drawn once; no wait dialog for the input devices.
    EXPECT_EQ(h.log, (EventLog{"right:redraw off", "right:redraw on"}));
}

TEST(showCategory, NoPrintersGiveOnlyTheHeadingWhileTheWaitDialogShows) {
    FormHarness h({.sample = "empty"});
    MainForm& form = h.start();
    h.log.clear();

    form.leftCategoryExpanded(kPrintersCategory);

    EXPECT_EQ(h.rightCaptions(), (std::vector<std::string>{"Printers"}));
    EXPECT_EQ(h.log, (EventLog{"wait:create", "wait:show", "cursor:wait", "wait:caption",
                               "wait:text", "right:redraw off", "wait:hide", "wait:destroy",
                               "cursor:default", "right:redraw on"}));
    EXPECT_EQ(h.waitCaption, "Please wait...");
    EXPECT_EQ(h.waitText, "Updating the hardware list...");
    EXPECT_EQ(h.state().waitSet.dlgWaitSet(), nullptr);
}

TEST(showCategory, EachPrinterGetsItsOwnLinesAndImage) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftCategoryExpanded(kPrintersCategory);

    ASSERT_EQ(h.right.sectionCount(), 3);
    EXPECT_EQ(rightImages(h.right), (std::vector<int>{-1, kPrinterImage, kPrinterImage}));
    EXPECT_TRUE(allContracted(h.right));
    EXPECT_EQ(firstLine(h, 1), printerTitle("HP LaserJet P2015DN"));
    EXPECT_EQ(firstLine(h, 2), printerTitle("Fax"));
    EXPECT_EQ(h.rightLines(1), h.printerLines(0));
    EXPECT_EQ(h.rightLines(2), h.printerLines(1));
}

TEST(showCategory, APrinterNamedLikeTheKeyboardShowsItselfAndLeavesTheKeyboardAlone) {
    FormHarness h({.sample = "empty"});
    h.machine().spooler().addPrinter(textOnlyPrinter("Keyboard"));
    MainForm& form = h.start();

    form.leftCategoryExpanded(kPrintersCategory);
    ASSERT_EQ(h.rightCaptions(), (std::vector<std::string>{"Printers", "Keyboard"}));
    EXPECT_EQ(firstLine(h, 1), printerTitle("Keyboard"));
    EXPECT_EQ(h.rightLines(1), h.printerLines(0));

    form.leftCategoryExpanded(kInputDevicesCategory);
    ASSERT_EQ(h.right.sectionCount(), 3);
    EXPECT_EQ(firstLine(h, 2), deviceTitle(""));  // the empty machine has no keyboard record
    EXPECT_EQ(h.rightLines(2), h.keyboardLines());
}

TEST(showCategory, APrinterNameHoldingMarkupFindsItsLinesThroughTheEscapedEntry) {
    FormHarness h({.sample = "empty"});
    const std::string name = "<b>Lab & \"Main\"</b>";
    h.machine().spooler().addPrinter(textOnlyPrinter(name));
    MainForm& form = h.start();

    ASSERT_EQ(h.left.section(kPrintersCategory).subItems().lines(),
              std::vector<std::string>{"&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;"});
    form.leftCategoryExpanded(kPrintersCategory);
    ASSERT_EQ(h.right.sectionCount(), 2);
    EXPECT_EQ(h.right.section(1).caption(), "&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;");
    EXPECT_EQ(firstLine(h, 1), printerTitle("&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;"));
    EXPECT_EQ(h.rightLines(1), h.printerLines(0));
}

TEST(showCategory, AnErrorHalfwayStillHidesTheWaitDialogAndRedrawsThePane) {
    FormHarness h;
    MainForm& form = h.start();
    h.left.clearSections();  // the printers category is gone: reading it fails
    h.log.clear();

    EXPECT_THROW(form.showCategory(kPrintersCategory), std::exception);
    EXPECT_EQ(h.state().waitSet.dlgWaitSet(), nullptr);
    EXPECT_EQ(h.right.redrawSuspension(), 0);
    ASSERT_GE(h.log.size(), 3u);
    EXPECT_EQ(h.log.back(), "right:redraw on");
    EXPECT_EQ(h.log[h.log.size() - 2], "cursor:default");
}

TEST(showCategory, AWaitDialogThatCannotBeMadeDoesNotKeepThePrintersFromShowing) {
    FormHarness h;
    MainForm& form = h.start();
    h.state().waitSet.setViews(
        [](const WaitDialog&) -> std::unique_ptr<WaitDialogView> { throw std::bad_alloc(); });

    form.leftCategoryExpanded(kPrintersCategory);
    EXPECT_EQ(h.right.sectionCount(), 3);
    EXPECT_EQ(h.state().waitSet.dlgWaitSet(), nullptr);
}

TEST(DeviceSections, ClickingTheKeyboardOpensItsSectionAtTheTopAndItsHeadingToggles) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftCategoryExpanded(kInputDevicesCategory);
    h.right.section(1).setState(
        SectionState::Expanded);  // left open from before: rebuilt contracted

    form.leftEntryClicked(kInputDevicesCategory, 1);

    ASSERT_EQ(h.right.sectionCount(), 3);
    EXPECT_FALSE(h.right.section(1).expanded());
    ASSERT_TRUE(h.right.section(2).expanded());
    EXPECT_GT(headingTop(h.right, 2), 0);
    EXPECT_EQ(h.right.scrollOffset(), headingTop(h.right, 2));
    EXPECT_EQ(h.right.redrawSuspension(), 0);

    form.rightSectionClicked(2);
    EXPECT_FALSE(h.right.section(2).expanded());
    form.rightSectionClicked(2);
    EXPECT_TRUE(h.right.section(2).expanded());
    EXPECT_EQ(h.right.scrollOffset(), headingTop(h.right, 2));
}

TEST(DeviceSections, ARequestFromTheLeftPaneOpensWhatIsOpenAlready) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftCategoryExpanded(kInputDevicesCategory);
    h.right.section(1).setState(SectionState::Expanded);

    form.openDeviceSection(PaneRequest::LeftPane, 1);
    EXPECT_TRUE(h.right.section(1).expanded());
    form.openDeviceSection(PaneRequest::RightPane, 1);
    EXPECT_FALSE(h.right.section(1).expanded());
}

TEST(DeviceSections, ASectionThatIsNotThereIsIgnored) {
    FormHarness h;
    MainForm& form = h.start();
    EXPECT_NO_THROW(form.rightSectionClicked(3));  // the pane is empty
    EXPECT_EQ(h.right.redrawSuspension(), 0);
    EXPECT_EQ(h.right.sectionCount(), 0);
}

TEST(DeviceSections, ContractingEitherCategoryEmptiesThePane) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftCategoryExpanded(kInputDevicesCategory);
    form.leftCategoryContracted(kPrintersCategory);
    EXPECT_EQ(h.right.sectionCount(), 0);

    form.leftEntryClicked(kInputDevicesCategory, 0);
    form.leftCategoryContracted(kInputDevicesCategory);
    EXPECT_EQ(h.right.sectionCount(), 0);
}

TEST(PaneEvents, TheUsersClicksInThePanesReachTheHandlers) {
    FormHarness h;
    h.start();
    // Rows of 20 pixels: the category heading, then its entries mouse and keyboard.
    h.left.mouseDown(MouseButton::Left, 60, 10);
    ASSERT_EQ(h.right.sectionCount(), 3);
    h.left.mouseDown(MouseButton::Left, 60, 50);
    ASSERT_TRUE(h.right.section(2).expanded());
    EXPECT_EQ(h.right.scrollOffset(), headingTop(h.right, 2));

    // The keyboard heading is now the right pane's top row: a click there closes it.
    h.right.mouseDown(MouseButton::Left, 60, 10);
    EXPECT_FALSE(h.right.section(2).expanded());

    // Closing the category empties the right pane.
    h.left.mouseDown(MouseButton::Left, 60, 10);
    EXPECT_EQ(h.right.sectionCount(), 0);
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
}

TEST(LockKeys, PressingCapsLockRewritesTheShownKeyboardSectionOnly) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftEntryClicked(kInputDevicesCategory, 1);
    std::vector<std::string> lines = h.rightLines(2);
    ASSERT_EQ(std::count(lines.begin(), lines.end(), kCapsOff), 1);

    h.machine().keyboard().pressKey(sim::kVkCapital);
    h.application().processMessages();
    std::replace(lines.begin(), lines.end(), kCapsOff, kCapsOn);
    EXPECT_EQ(h.rightLines(2), lines);

    // With the printers shown, a press changes nothing in the pane.
    form.leftCategoryExpanded(kPrintersCategory);
    const std::vector<std::string> printer = h.rightLines(1);
    h.machine().keyboard().pressKey(sim::kVkCapital);
    h.application().processMessages();
    EXPECT_EQ(h.rightLines(1), printer);
    EXPECT_EQ(h.right.section(1).subItems().count(), static_cast<int>(printer.size()));
}

TEST(LockKeys, ClickingTheNumLineTogglesNumLockAndTheLineFollows) {
    FormHarness h;
    MainForm& form = h.start();
    form.leftEntryClicked(kInputDevicesCategory, 1);
    const std::vector<std::string> lines = h.rightLines(2);
    const auto at = std::find(lines.begin(), lines.end(), kNumOn);  // Num Lock is on in the sample
    ASSERT_NE(at, lines.end());
    const int line = static_cast<int>(at - lines.begin());

    form.rightEntryClicked(2, line);
    EXPECT_FALSE(h.machine().keyboard().isToggled(sim::kVkNumLock));
    h.application().processMessages();
    EXPECT_EQ(h.rightLines(2)[static_cast<std::size_t>(line)], kNumOff);
}

}  // namespace
}  // namespace tamux::test
