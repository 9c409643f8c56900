// Keyboard state service: toggle states and synthesised key presses.
#pragma once

#include <array>
#include <cstdint>

namespace tamux::platform {

using KeyboardStateBuffer = std::array<std::uint8_t, 256>;

constexpr std::uint32_t kKeyEventKeyUp = 0x0002;  // KEYEVENTF_KEYUP

// Virtual-key codes of the lock keys.
constexpr std::uint8_t kVkCapital = 20;
constexpr std::uint8_t kVkInsert = 45;
constexpr std::uint8_t kVkNumLock = 144;
constexpr std::uint8_t kVkScroll = 145;

// The messages a key's press and release post to the active program's queue.
constexpr std::uint32_t kWmKeyDown = 256;
constexpr std::uint32_t kWmKeyUp = 257;

class Keyboard {
  public:
    virtual ~Keyboard() = default;

    // GetKeyboardState. Returns true and fills `state`; false leaves `state` unchanged.
    virtual bool getKeyboardState(KeyboardStateBuffer& state) = 0;

    // SetKeyboardState. Returns false when the system refuses.
    virtual bool setKeyboardState(const KeyboardStateBuffer& state) = 0;

    // keybd_event(vk, scan, flags, extraInfo). A press of a lock key toggles its state; the
    // resulting key-down message reaches the program's message queue as on Windows.
    virtual void keybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                            std::uintptr_t extraInfo) = 0;
};

}  // namespace tamux::platform
