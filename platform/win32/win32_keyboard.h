// The Keyboard service over the thread's real key state and keybd_event.
#pragma once

#include "platform/keyboard.h"

namespace tamux::win32 {

class Win32Keyboard final : public platform::Keyboard {
  public:
    bool getKeyboardState(platform::KeyboardStateBuffer& state) override;
    bool setKeyboardState(const platform::KeyboardStateBuffer& state) override;
    void keybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                    std::uintptr_t extraInfo) override;
};

}  // namespace tamux::win32
