// The simulated keyboard: the 256-byte key state and the synthesised key presses. A press
// (keybd_event without KEYEVENTF_KEYUP) sets the key's down bit (bit 7) and flips its toggle bit
// (bit 0), as Windows does for every key; a release clears the down bit. While the program is the
// active one, each press and release also posts WM_KEYDOWN / WM_KEYUP to its message queue, which
// the test (standing in for the message loop) takes with takePendingMessages.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/keyboard.h"

namespace tamux::sim {

using platform::kVkCapital;
using platform::kVkInsert;
using platform::kVkNumLock;
using platform::kVkScroll;
using platform::kWmKeyDown;
using platform::kWmKeyUp;

// Toggle states of the lock keys when the machine starts.
struct LockKeys {
    bool capsLock = false, numLock = false, scrollLock = false, insert = false;
};

struct KeyMessage {
    std::uint32_t message = 0;  // kWmKeyDown or kWmKeyUp
    std::uint8_t virtualKey = 0;
    bool operator==(const KeyMessage&) const = default;
};

struct KeybdEventCall {
    std::uint8_t virtualKey = 0, scanCode = 0;
    std::uint32_t flags = 0;
    std::uintptr_t extraInfo = 0;
    bool operator==(const KeybdEventCall&) const = default;
};

class SimKeyboard : public platform::Keyboard {
  public:
    explicit SimKeyboard(LockKeys lockKeys = {});

    // platform::Keyboard
    bool getKeyboardState(platform::KeyboardStateBuffer& state) override;
    bool setKeyboardState(const platform::KeyboardStateBuffer& state) override;
    void keybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                    std::uintptr_t extraInfo) override;

    // Test hooks.
    // The key messages posted to the program since the last call, oldest first.
    std::vector<KeyMessage> takePendingMessages();
    const std::vector<KeybdEventCall>& keybdEvents() const { return events_; }
    void clearKeybdEvents() { events_.clear(); }
    // The user presses and releases a key on the real keyboard (not through keybd_event).
    void pressKey(std::uint8_t virtualKey);
    // Whether the program is the active one; key presses reach its queue only then.
    void setActive(bool active) { active_ = active; }
    void setGetStateFails(bool fails) { getStateFails_ = fails; }
    void setSetStateFails(bool fails) { setStateFails_ = fails; }

    bool isToggled(std::uint8_t virtualKey) const { return (state_[virtualKey] & 0x01) != 0; }
    bool isDown(std::uint8_t virtualKey) const { return (state_[virtualKey] & 0x80) != 0; }
    const platform::KeyboardStateBuffer& state() const { return state_; }

  private:
    void apply(std::uint8_t virtualKey, bool release);

    platform::KeyboardStateBuffer state_{};
    std::vector<KeyMessage> pending_;
    std::vector<KeybdEventCall> events_;
    bool active_ = true;
    bool getStateFails_ = false;
    bool setStateFails_ = false;
};

}  // namespace tamux::sim
