// The main window's lock-key logic against a right pane built as the window builds it: key
// presses and activation refresh the keyboard section's indicator lines, and clicks on those
// lines toggle the keys, while clicks on any other line toggle nothing.
#include "devices/keyboard/lock_key_handlers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/keyboard/keyboard_text.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/keyboard/indicator_lines.h"
#include "tests/unit/keyboard/input_test_machine.h"
#include "tests/unit/keyboard/sim_key_queue.h"

namespace tamux::test {
namespace {

// Where the indicator lines sit in the keyboard section.
constexpr int kCapsLine = 8;
constexpr int kNumLine = 9;
constexpr int kScrollLine = 10;
constexpr int kInsLine = 11;

class LockKeyHandlersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The main window's four handlers all do the same.
        for (TKeyState::Event* event :
             {&keys.OnCapsLock, &keys.OnNumLock, &keys.OnScrollLock, &keys.OnInsert}) {
            *event = [this](TKeyState&) {
                ++refreshes;
                RefreshKeyboardIndicators(pane, keys, m.lang());
            };
        }
    }

    // The input-devices category as the window shows it: heading, mouse, keyboard.
    void showInputDevices(KeyboardFacts facts = {}) {
        pane.clearSections();
        pane.addSection().setCaption(m.lang().GetLangText(5590));
        TListSection& mouse = pane.addSection();
        mouse.setCaption("Mouse");
        mouse.subItems().assign(std::vector<std::string>{
            "<FONT color=\"clnavy\" size=\"12\">INSTALLED NUM CAPS</FONT>", " "});
        TListSection& keyboard = pane.addSection();
        keyboard.setCaption("Keyboard");
        keyboard.subItems().assign(KeyboardTextLines(facts, keys, m.lang()));
        keyboard.setState(lssExpanded);
    }
    std::string line(int section, int item) { return pane.section(section).subItems()[item]; }
    sim::SimKeyboard& keyboard() { return m.machine().keyboard(); }

    InputTestMachine m;
    SimKeyQueue queue{keyboard()};
    Application app{queue};
    TKeyState keys{app, keyboard(), m.machine().system()};
    SectionList pane;
    int refreshes = 0;
};

TEST_F(LockKeyHandlersTest, PressingCapsLockTurnsItsLineGreenAndBlackAgainInPlace) {
    showInputDevices();
    const std::vector<std::string> before = pane.section(2).subItems().lines();
    ASSERT_EQ(line(2, kCapsLine), kCapsOff);

    keyboard().pressKey(sim::kVkCapital);
    app.ProcessMessages();
    EXPECT_EQ(line(2, kCapsLine), kCapsOn);
    std::vector<std::string> after = pane.section(2).subItems().lines();
    after[kCapsLine] = kCapsOff;
    EXPECT_EQ(after, before);  // nothing else moved or changed

    keyboard().pressKey(sim::kVkCapital);
    app.ProcessMessages();
    EXPECT_EQ(line(2, kCapsLine), kCapsOff);
    EXPECT_EQ(pane.section(2).subItems().lines(), before);
}

TEST_F(LockKeyHandlersTest, WithoutAKeyboardSectionNothingInThePaneChanges) {
    // The printers category: heading and printers, none captioned as the keyboard.
    pane.addSection().setCaption("Printers");
    TListSection& printer = pane.addSection();
    printer.setCaption("HP LaserJet");
    printer.subItems().assign(std::vector<std::string>{kCapsOff, "Ready"});
    keyboard().pressKey(sim::kVkCapital);
    app.ProcessMessages();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(printer.subItems().lines(), (std::vector<std::string>{kCapsOff, "Ready"}));

    // Nor is the heading itself taken for the keyboard section.
    SectionList lone;
    lone.addSection().setCaption("Keyboard");
    EXPECT_EQ(FindKeyboardSection(lone, m.lang()), nullptr);
    EXPECT_EQ(FindKeyboardSection(pane, m.lang()), nullptr);
}

TEST_F(LockKeyHandlersTest, APrinterNamedLikeTheKeyboardGetsNoIndicatorLines) {
    pane.addSection().setCaption(m.lang().GetLangText(5591));  // the printers heading
    TListSection& printer = pane.addSection();
    printer.setCaption(m.lang().GetLangText(601));
    printer.subItems().add("Ready");
    EXPECT_EQ(FindKeyboardSection(pane, m.lang()), nullptr);
    keyboard().pressKey(sim::kVkCapital);
    app.ProcessMessages();
    EXPECT_EQ(printer.subItems().lines(), (std::vector<std::string>{"Ready"}));
}

TEST_F(LockKeyHandlersTest, TheFirstSectionCaptionedExactlyAsTheKeyboardIsRefreshed) {
    pane.addSection().setCaption(m.lang().GetLangText(5590));  // the heading, skipped
    pane.addSection().setCaption("keyboard");                  // captions compare exactly
    TListSection& first = pane.addSection();
    first.setCaption("Keyboard");
    TListSection& second = pane.addSection();
    second.setCaption("Keyboard");
    second.subItems().add(kNumOff);
    EXPECT_EQ(FindKeyboardSection(pane, m.lang()), &first);
    keyboard().pressKey(sim::kVkNumLock);
    app.ProcessMessages();
    EXPECT_EQ(
        first.subItems().lines(),
        (std::vector<std::string>{kCapsOff, kNumOn,
                                  "<FONT color=\"clblack\" size=\"10\"> SCROLL </FONT>", kInsOff}));
    EXPECT_EQ(second.subItems().lines(), (std::vector<std::string>{kNumOff}));
    EXPECT_EQ(pane.section(1).subItems().count(), 0);
}

TEST_F(LockKeyHandlersTest, ClickingTheNumLineTogglesNumLockAndTheLineFollows) {
    showInputDevices();
    ASSERT_EQ(line(2, kNumLine), kNumOff);
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 2, kNumLine, keys), LockKey::NumLock);
    EXPECT_TRUE(keyboard().isToggled(sim::kVkNumLock));
    // The click does not rewrite the line; the key-down it causes does.
    EXPECT_EQ(line(2, kNumLine), kNumOff);
    app.ProcessMessages();
    EXPECT_EQ(line(2, kNumLine), kNumOn);

    ToggleLockKeyOfLine(pane, 2, kNumLine, keys);
    app.ProcessMessages();
    EXPECT_FALSE(keyboard().isToggled(sim::kVkNumLock));
    EXPECT_EQ(line(2, kNumLine), kNumOff);
}

TEST_F(LockKeyHandlersTest, EachIndicatorLineTogglesItsOwnKeyOnly) {
    showInputDevices();
    const std::vector<std::pair<int, std::uint8_t>> cases = {{kCapsLine, sim::kVkCapital},
                                                             {kNumLine, sim::kVkNumLock},
                                                             {kScrollLine, sim::kVkScroll},
                                                             {kInsLine, sim::kVkInsert}};
    for (const auto& [item, vk] : cases) {
        keyboard().clearKeybdEvents();
        ToggleLockKeyOfLine(pane, 2, item, keys);
        app.ProcessMessages();
        const std::vector<sim::KeybdEventCall> press = {{vk, 0, 0, 0},
                                                        {vk, 0, platform::kKeyEventKeyUp, 0}};
        EXPECT_EQ(keyboard().keybdEvents(), press) << "line " << item;
        EXPECT_EQ(line(2, item).rfind("<FONT color=\"clgreen\" size=\"10\"> ", 0), 0u)
            << "line " << item;
    }
}

TEST_F(LockKeyHandlersTest, LinesThatOnlySpellAKeysNameToggleNothing) {
    KeyboardFacts facts;
    facts.DriverDesc = "INSTALLED";
    facts.ProviderName = "NUMERIC CAPS SCROLL";
    facts.Layouts = {{"INS", " CAPS ", "NUM"}};
    showInputDevices(facts);
    const TSubItems& lines = pane.section(2).subItems();
    for (int item = 0; item < lines.count(); ++item) {
        if (item >= kCapsLine && item <= kInsLine) continue;
        EXPECT_EQ(ToggleLockKeyOfLine(pane, 2, item, keys), std::nullopt) << lines[item];
    }
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 1, 0, keys), std::nullopt);  // the mouse's title
    EXPECT_TRUE(keyboard().keybdEvents().empty());
    EXPECT_EQ(IndicatorLineKey(" INS "), std::nullopt);
    EXPECT_EQ(IndicatorLineKey(kInsOff + " "), std::nullopt);
}

TEST_F(LockKeyHandlersTest, AnIndicatorLineWrittenInOtherLetterCaseIsStillOne) {
    EXPECT_EQ(IndicatorLineKey("<font color=\"CLGREEN\" SIZE=\"10\"> scroll </font>"),
              LockKey::ScrollLock);
    EXPECT_EQ(IndicatorLineKey(kInsOff), LockKey::Insert);
    EXPECT_EQ(IndicatorLineKey(kCapsOn), LockKey::CapsLock);
}

TEST_F(LockKeyHandlersTest, ClicksOutsideThePaneToggleNothing) {
    showInputDevices();
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 3, 0, keys), std::nullopt);
    EXPECT_EQ(ToggleLockKeyOfLine(pane, -1, 0, keys), std::nullopt);
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 2, -1, keys), std::nullopt);
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 2, 30, keys), std::nullopt);
    EXPECT_TRUE(keyboard().keybdEvents().empty());
}

TEST_F(LockKeyHandlersTest, SwitchingAwayAndBackRefreshesTheLinesOnActivation) {
    showInputDevices();
    keyboard().setActive(false);
    keyboard().pressKey(sim::kVkCapital);  // in another program
    keyboard().setActive(true);
    app.ProcessMessages();
    EXPECT_EQ(line(2, kCapsLine), kCapsOff);
    EXPECT_EQ(refreshes, 0);

    app.activated();
    EXPECT_EQ(refreshes, 4);
    EXPECT_EQ(line(2, kCapsLine), kCapsOn);
    EXPECT_EQ(pane.section(2).subItems().count(), 30);
}

TEST_F(LockKeyHandlersTest, On9xAClickHasRefreshedTheLineBeforeItReturns) {
    m.setVersion(1, 4, 10);
    showInputDevices();
    EXPECT_EQ(ToggleLockKeyOfLine(pane, 2, kCapsLine, keys), LockKey::CapsLock);
    EXPECT_EQ(line(2, kCapsLine), kCapsOn);
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 1);
}

}  // namespace
}  // namespace tamux::test
