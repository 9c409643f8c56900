// KeyState on the simulated keyboard: reading and setting the toggle states, the events raised
// from the queue and on activation, and its place in the application's handler chain.
#include "devices/keyboard/key_state.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_system.h"
#include "tests/support/test_paths.h"
#include "tests/unit/keyboard/sim_key_queue.h"

namespace tamux::test {
namespace {

using sim::KeybdEventCall;
constexpr std::uint32_t kUp = platform::kKeyEventKeyUp;

class KeyStateTest : public ::testing::Test {
  protected:
    sim::SimKeyboard& keyboard() { return machine->keyboard(); }

    // Records every event raised, by name.
    void recordEvents(KeyState& keys) {
        keys.onCapsLock = [this, &keys](KeyState& sender) {
            EXPECT_EQ(&sender, &keys);
            events.push_back("caps");
        };
        keys.onNumLock = [this](KeyState&) { events.push_back("num"); };
        keys.onScrollLock = [this](KeyState&) { events.push_back("scroll"); };
        keys.onInsert = [this](KeyState&) { events.push_back("insert"); };
    }
    void use9x() { machine->system().setVersion(sim::makeVersion(1, 4, 10, 2222, " A ")); }

    TempDir drive;
    std::unique_ptr<sim::Machine> machine = sim::Machine::blank(drive.path());
    SimKeyQueue queue{keyboard()};
    Application app{queue};
    KeyState keys{app, keyboard(), machine->system()};
    std::vector<std::string> events;
};

TEST_F(KeyStateTest, ReadsEachToggleBit) {
    platform::KeyboardStateBuffer state{};
    state[sim::kVkCapital] = 0x81;  // down and on
    state[sim::kVkNumLock] = 0x80;  // down, off
    state[sim::kVkScroll] = 0x01;
    state[sim::kVkInsert] = 0x00;
    keyboard().setKeyboardState(state);
    EXPECT_TRUE(keys.isOn(LockKey::CapsLock));
    EXPECT_FALSE(keys.isOn(LockKey::NumLock));
    EXPECT_TRUE(keys.isOn(LockKey::ScrollLock));
    EXPECT_FALSE(keys.isOn(LockKey::Insert));

    // A failing query answers as the last one did.
    keyboard().setGetStateFails(true);
    keyboard().pressKey(sim::kVkCapital);
    EXPECT_TRUE(keys.isOn(LockKey::CapsLock));
}

TEST_F(KeyStateTest, SettingAStateThatIsAlreadySoSynthesisesNothing) {
    keys.setOn(LockKey::CapsLock, false);
    keys.setOn(LockKey::Insert, false);
    EXPECT_TRUE(keyboard().keybdEvents().empty());
    keyboard().pressKey(sim::kVkNumLock);
    keys.setOn(LockKey::NumLock, true);
    EXPECT_TRUE(keyboard().keybdEvents().empty());
}

TEST_F(KeyStateTest, SettingAnotherStatePressesAndReleasesTheKeyOnce) {
    keys.setOn(LockKey::ScrollLock, true);
    const std::vector<KeybdEventCall> press = {{sim::kVkScroll, 0, 0, 0},
                                               {sim::kVkScroll, 0, kUp, 0}};
    EXPECT_EQ(keyboard().keybdEvents(), press);
    EXPECT_TRUE(keys.isOn(LockKey::ScrollLock));
    keyboard().clearKeybdEvents();
    keys.setOn(LockKey::ScrollLock, false);
    EXPECT_EQ(keyboard().keybdEvents(), press);
    EXPECT_FALSE(keys.isOn(LockKey::ScrollLock));
    // On NT nothing else is done: the messages wait in the queue for the message loop.
    EXPECT_EQ(keyboard().takePendingMessages().size(), 4u);
}

TEST_F(KeyStateTest, APressComesBackAsAKeyDownThatRaisesItsEventBeforeDispatch) {
    recordEvents(keys);
    bool stateSeen = false;
    keys.onInsert = [&](KeyState& sender) {
        events.push_back("insert");
        stateSeen = sender.isOn(LockKey::Insert);  // the press is already counted
        EXPECT_TRUE(queue.dispatched.empty());
    };
    keys.setOn(LockKey::Insert, true);
    EXPECT_TRUE(events.empty());          // nothing before the queue is processed
    EXPECT_EQ(app.processMessages(), 2);  // the key-down and the key-up
    EXPECT_EQ(events, (std::vector<std::string>{"insert"}));
    EXPECT_TRUE(stateSeen);
    ASSERT_EQ(queue.dispatched.size(), 2u);
    EXPECT_EQ(queue.dispatched[0].message, kWmKeyDown);
    EXPECT_EQ(queue.dispatched[0].wParam, kVkInsert);
}

TEST_F(KeyStateTest, EachLockKeyRaisesItsOwnEventAndRepeatsRaiseItAgain) {
    recordEvents(keys);
    keyboard().pressKey(sim::kVkCapital);
    keyboard().pressKey(sim::kVkNumLock);
    keyboard().pressKey(sim::kVkScroll);
    keyboard().pressKey('A');
    keyboard().pressKey(sim::kVkInsert);
    // A held key: repeated key-downs, then one key-up.
    keyboard().keybdEvent(sim::kVkCapital, 0, 0, 0);
    keyboard().keybdEvent(sim::kVkCapital, 0, 0, 0);
    keyboard().keybdEvent(sim::kVkCapital, 0, 0, 0);
    keyboard().keybdEvent(sim::kVkCapital, 0, kUp, 0);
    app.processMessages();
    EXPECT_EQ(events, (std::vector<std::string>{"caps", "num", "scroll", "insert", "caps", "caps",
                                                "caps"}));
    EXPECT_EQ(queue.dispatched.size(), 14u);  // every message still reaches the window
}

TEST_F(KeyStateTest, OtherMessagesWithALockKeysCodeRaiseNothing) {
    recordEvents(keys);
    queue.post({0, 257, sim::kVkCapital, 0});  // WM_KEYUP
    queue.post({0, 258, sim::kVkCapital, 0});  // WM_CHAR
    queue.post({0, 260, sim::kVkCapital, 0});  // WM_SYSKEYDOWN
    app.processMessages();
    EXPECT_TRUE(events.empty());
}

TEST_F(KeyStateTest, PressesInAnotherProgramRaiseNothingUntilActivation) {
    recordEvents(keys);
    keyboard().setActive(false);
    keyboard().pressKey(sim::kVkCapital);
    keyboard().setActive(true);
    app.processMessages();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(keys.isOn(LockKey::CapsLock));

    app.activated();
    EXPECT_EQ(events, (std::vector<std::string>{"num", "scroll", "caps", "insert"}));
}

TEST_F(KeyStateTest, ActivationSkipsEventsWithoutHandlers) {
    keys.onScrollLock = [this](KeyState&) { events.push_back("scroll"); };
    keys.onInsert = [this](KeyState&) { events.push_back("insert"); };
    app.activated();
    EXPECT_EQ(events, (std::vector<std::string>{"scroll", "insert"}));
    // Key-downs of keys without handlers are simply passed on.
    keyboard().pressKey(sim::kVkCapital);
    app.processMessages();
    EXPECT_EQ(events.size(), 2u);
}

TEST(KeyStateChain, HandlersInstalledBeforeStillSeeEveryMessageAndActivation) {
    TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    SimKeyQueue queue(machine->keyboard());
    Application app(queue);
    std::vector<std::string> seen;
    app.onMessage = [&](AppMessage& message, bool& handled) {
        seen.push_back("previous " + std::to_string(message.message) + " " +
                       std::to_string(message.wParam));
        handled = message.message == 15;  // the earlier handler keeps paint messages
    };
    app.onActivate = [&] { seen.push_back("previous activate"); };
    {
        KeyState keys(app, machine->keyboard(), machine->system());
        keys.onNumLock = [&](KeyState&) { seen.push_back("num"); };
        machine->keyboard().pressKey(sim::kVkNumLock);
        queue.post({0, 15, 0, 0});
        app.processMessages();
        app.activated();
        EXPECT_EQ(seen, (std::vector<std::string>{"num", "previous 256 144", "previous 257 144",
                                                  "previous 15 0", "num", "previous activate"}));
        // The earlier handler's decision stands.
        EXPECT_EQ(queue.dispatched.size(), 2u);
    }
    // Gone: the earlier handlers are back in place alone.
    seen.clear();
    machine->keyboard().pressKey(sim::kVkNumLock);
    app.processMessages();
    app.activated();
    EXPECT_EQ(seen, (std::vector<std::string>{"previous 256 144", "previous 257 144",
                                              "previous activate"}));
}

TEST(KeyStateChain, WithoutEarlierHandlersTheApplicationIsLeftWithoutAny) {
    TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    SimKeyQueue queue(machine->keyboard());
    Application app(queue);
    {
        KeyState keys(app, machine->keyboard(), machine->system());
        EXPECT_TRUE(app.onMessage);
        EXPECT_TRUE(app.onActivate);
    }
    EXPECT_FALSE(app.onMessage);
    EXPECT_FALSE(app.onActivate);
}

TEST_F(KeyStateTest, On9xSettingProcessesTheQueueAndWritesTheState) {
    use9x();
    recordEvents(keys);
    keys.setOn(LockKey::CapsLock, true);
    // The press came back and was handled before the setter returned.
    EXPECT_EQ(events, (std::vector<std::string>{"caps"}));
    EXPECT_TRUE(keyboard().takePendingMessages().empty());
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 1);

    // Even when the state is already so, the whole byte is written: a key left down is cleared.
    platform::KeyboardStateBuffer state = keyboard().state();
    state[sim::kVkCapital] = 0x81;
    state['Q'] = 0x80;
    keyboard().setKeyboardState(state);
    keyboard().clearKeybdEvents();
    keys.setOn(LockKey::CapsLock, true);
    EXPECT_TRUE(keyboard().keybdEvents().empty());
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 1);
    EXPECT_EQ(keyboard().state()['Q'], 0x80);  // other keys are written back as they are

    keys.setOn(LockKey::CapsLock, false);
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 0);
}

TEST_F(KeyStateTest, OnNtTheStateIsNeverWritten) {
    platform::KeyboardStateBuffer state{};
    state[sim::kVkCapital] = 0x81;
    keyboard().setKeyboardState(state);
    keys.setOn(LockKey::CapsLock, true);
    EXPECT_EQ(keyboard().state()[sim::kVkCapital], 0x81);
}

}  // namespace
}  // namespace tamux::test
