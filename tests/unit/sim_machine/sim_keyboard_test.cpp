// The simulated keyboard: toggle bits, synthesised presses and the messages they post.
#include "platform/sim/sim_keyboard.h"

#include <gtest/gtest.h>

namespace tamux::sim {
namespace {

TEST(SimKeyboard, StartsWithTheLockKeysOfTheMachine) {
    SimKeyboard keyboard({.capsLock = true, .numLock = false, .scrollLock = true, .insert = false});
    platform::KeyboardStateBuffer state;
    state.fill(0xAA);
    ASSERT_TRUE(keyboard.getKeyboardState(state));
    EXPECT_EQ(state[kVkCapital], 1);
    EXPECT_EQ(state[kVkNumLock], 0);
    EXPECT_EQ(state[kVkScroll], 1);
    EXPECT_EQ(state[kVkInsert], 0);
    EXPECT_EQ(state['A'], 0);
}

TEST(SimKeyboard, PressTogglesAndPostsKeyDownReleasePostsKeyUp) {
    SimKeyboard keyboard;
    keyboard.keybdEvent(kVkNumLock, 0, 0, 0);
    EXPECT_TRUE(keyboard.isToggled(kVkNumLock));
    EXPECT_TRUE(keyboard.isDown(kVkNumLock));
    keyboard.keybdEvent(kVkNumLock, 0, platform::kKeyEventKeyUp, 0);
    EXPECT_TRUE(keyboard.isToggled(kVkNumLock));
    EXPECT_FALSE(keyboard.isDown(kVkNumLock));

    const std::vector<KeyMessage> expected = {{kWmKeyDown, kVkNumLock}, {kWmKeyUp, kVkNumLock}};
    EXPECT_EQ(keyboard.takePendingMessages(), expected);
    EXPECT_TRUE(keyboard.takePendingMessages().empty());  // taken once

    // A second press and release turns it off again.
    keyboard.keybdEvent(kVkNumLock, 0, 0, 0);
    keyboard.keybdEvent(kVkNumLock, 0, platform::kKeyEventKeyUp, 0);
    EXPECT_FALSE(keyboard.isToggled(kVkNumLock));

    const std::vector<KeybdEventCall> calls = {{kVkNumLock, 0, 0, 0},
                                               {kVkNumLock, 0, platform::kKeyEventKeyUp, 0},
                                               {kVkNumLock, 0, 0, 0},
                                               {kVkNumLock, 0, platform::kKeyEventKeyUp, 0}};
    EXPECT_EQ(keyboard.keybdEvents(), calls);
}

TEST(SimKeyboard, KeyRepeatsEachPostAKeyDown) {
    SimKeyboard keyboard;
    keyboard.keybdEvent(kVkCapital, 0, 0, 0);
    keyboard.keybdEvent(kVkCapital, 0, 0, 0);
    const auto messages = keyboard.takePendingMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], (KeyMessage{kWmKeyDown, kVkCapital}));
}

TEST(SimKeyboard, PressesInAnotherProgramChangeTheStateButPostNothing) {
    SimKeyboard keyboard;
    keyboard.setActive(false);
    keyboard.pressKey(kVkScroll);
    EXPECT_TRUE(keyboard.isToggled(kVkScroll));
    EXPECT_TRUE(keyboard.takePendingMessages().empty());
    keyboard.setActive(true);
    keyboard.pressKey(kVkInsert);
    EXPECT_EQ(keyboard.takePendingMessages().size(), 2u);
    EXPECT_TRUE(keyboard.keybdEvents().empty());  // the user's presses are no keybd_event calls
}

TEST(SimKeyboard, SetStateReplacesAndFailuresLeaveTheBufferAlone) {
    SimKeyboard keyboard({.capsLock = true});
    platform::KeyboardStateBuffer state{};
    state[kVkInsert] = 1;
    ASSERT_TRUE(keyboard.setKeyboardState(state));
    EXPECT_FALSE(keyboard.isToggled(kVkCapital));
    EXPECT_TRUE(keyboard.isToggled(kVkInsert));

    keyboard.setGetStateFails(true);
    platform::KeyboardStateBuffer sentinel;
    sentinel.fill(0x5A);
    EXPECT_FALSE(keyboard.getKeyboardState(sentinel));
    EXPECT_EQ(sentinel[kVkInsert], 0x5A);

    keyboard.setSetStateFails(true);
    EXPECT_FALSE(keyboard.setKeyboardState(platform::KeyboardStateBuffer{}));
    EXPECT_TRUE(keyboard.isToggled(kVkInsert));
}

}  // namespace
}  // namespace tamux::sim
