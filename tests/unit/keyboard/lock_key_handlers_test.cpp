// The main window's lock-key logic against a right pane built as the window builds it: key
// presses and activation refresh the keyboard section's indicator lines, and clicks on those
// lines toggle the keys, while clicks on any other line toggle nothing.
#include "devices/keyboard/lock_key_handlers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/keyboard/keyboard_section.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/keyboard/indicator_lines.h"
#include "tests/unit/keyboard/input_test_machine.h"
#include "tests/unit/keyboard/sim_key_queue.h"
#include "ui/section_markup.h"

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
        // Every lock-key event brings the section's indicators up to the keys.
        for (KeyState::Event* event :
             {&keys.onCapsLock, &keys.onNumLock, &keys.onScrollLock, &keys.onInsert}) {
            *event = [this](KeyState&) {
                ++refreshes;
                updateIndicators(section, keys);
            };
        }
    }

    void showKeyboard(KeyboardFacts facts = {}) {
        section = keyboardSection(facts, keys, m.lang());
    }
    std::string line(int item) {
        return sectionLineMarkup(section.kind, section.lines[static_cast<std::size_t>(item)]);
    }
    sim::SimKeyboard& keyboard() { return m.machine().keyboard(); }

    InputTestMachine m;
    SimKeyQueue queue{keyboard()};
    Application app{queue};
    KeyState keys{app, keyboard(), m.machine().system()};
    DeviceSection section;
    int refreshes = 0;
};

TEST_F(LockKeyHandlersTest, PressingCapsLockTurnsItsLineGreenAndBlackAgainInPlace) {
    showKeyboard();
    const std::vector<std::string> before = sectionMarkup(section);
    ASSERT_EQ(line(kCapsLine), kCapsOff);

    keyboard().pressKey(sim::kVkCapital);
    app.processMessages();
    EXPECT_EQ(line(kCapsLine), kCapsOn);
    std::vector<std::string> after = sectionMarkup(section);
    after[kCapsLine] = kCapsOff;
    EXPECT_EQ(after, before);  // nothing else moved or changed

    keyboard().pressKey(sim::kVkCapital);
    app.processMessages();
    EXPECT_EQ(line(kCapsLine), kCapsOff);
    EXPECT_EQ(sectionMarkup(section), before);
}

TEST_F(LockKeyHandlersTest, ClickingTheNumLineTogglesNumLockAndTheLineFollows) {
    showKeyboard();
    ASSERT_EQ(line(kNumLine), kNumOff);
    EXPECT_EQ(toggleLockKeyOfLine(section, kNumLine, keys), LockKey::NumLock);
    EXPECT_TRUE(keyboard().isToggled(sim::kVkNumLock));
    // The click does not rewrite the line; the key-down it causes does.
    EXPECT_EQ(line(kNumLine), kNumOff);
    app.processMessages();
    EXPECT_EQ(line(kNumLine), kNumOn);

    toggleLockKeyOfLine(section, kNumLine, keys);
    app.processMessages();
    EXPECT_FALSE(keyboard().isToggled(sim::kVkNumLock));
    EXPECT_EQ(line(kNumLine), kNumOff);
}

TEST_F(LockKeyHandlersTest, EachIndicatorLineTogglesItsOwnKeyOnly) {
    showKeyboard();
    const std::vector<std::pair<int, std::uint8_t>> cases = {{kCapsLine, sim::kVkCapital},
                                                             {kNumLine, sim::kVkNumLock},
                                                             {kScrollLine, sim::kVkScroll},
                                                             {kInsLine, sim::kVkInsert}};
    for (const auto& [item, vk] : cases) {
        keyboard().clearKeybdEvents();
        toggleLockKeyOfLine(section, item, keys);
        app.processMessages();
        const std::vector<sim::KeybdEventCall> press = {{vk, 0, 0, 0},
                                                        {vk, 0, platform::kKeyEventKeyUp, 0}};
        EXPECT_EQ(keyboard().keybdEvents(), press) << "line " << item;
        EXPECT_EQ(line(item).rfind("<FONT color=\"clgreen\" size=\"10\"> ", 0), 0u)
            << "line " << item;
    }
}

TEST_F(LockKeyHandlersTest, LinesThatOnlySpellAKeysNameAndClicksOutsideToggleNothing) {
    KeyboardFacts facts;
    facts.driverDesc = "INSTALLED";
    facts.providerName = "NUMERIC CAPS SCROLL";
    facts.layouts = {{"INS", " CAPS ", "NUM"}};
    showKeyboard(facts);
    const int count = static_cast<int>(section.lines.size());
    for (int item = 0; item < count; ++item) {
        if (item >= kCapsLine && item <= kInsLine) continue;
        EXPECT_EQ(toggleLockKeyOfLine(section, item, keys), std::nullopt) << line(item);
    }
    for (int item : {-1, count, 1000}) {
        EXPECT_EQ(toggleLockKeyOfLine(section, item, keys), std::nullopt) << item;
    }
    EXPECT_TRUE(keyboard().keybdEvents().empty());
}

TEST_F(LockKeyHandlersTest, SwitchingAwayAndBackRefreshesTheLinesOnActivation) {
    showKeyboard();
    keyboard().setActive(false);
    keyboard().pressKey(sim::kVkCapital);  // in another program
    keyboard().setActive(true);
    app.processMessages();
    EXPECT_EQ(line(kCapsLine), kCapsOff);
    EXPECT_EQ(refreshes, 0);

    app.activated();
    EXPECT_EQ(refreshes, 4);
    EXPECT_EQ(line(kCapsLine), kCapsOn);
    EXPECT_EQ(section.lines.size(), 30u);
}

TEST_F(LockKeyHandlersTest, On9xAClickHasRefreshedTheLineBeforeItReturns) {
    m.setVersion(1, 4, 10);
    showKeyboard();
    EXPECT_EQ(toggleLockKeyOfLine(section, kCapsLine, keys), LockKey::CapsLock);
    EXPECT_EQ(line(kCapsLine), kCapsOn);
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 1);
}

}  // namespace
}  // namespace tamux::test
