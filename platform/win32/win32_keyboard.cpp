#include "platform/win32/win32_keyboard.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// The portable code and the simulated machine use these values without the system headers.
static_assert(platform::kKeyEventKeyUp == KEYEVENTF_KEYUP);
static_assert(platform::kVkCapital == VK_CAPITAL && platform::kVkInsert == VK_INSERT &&
              platform::kVkNumLock == VK_NUMLOCK && platform::kVkScroll == VK_SCROLL);
static_assert(platform::kWmKeyDown == WM_KEYDOWN && platform::kWmKeyUp == WM_KEYUP);

bool Win32Keyboard::getKeyboardState(platform::KeyboardStateBuffer& state) {
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys)) return false;
    std::copy(std::begin(keys), std::end(keys), state.begin());
    return true;
}

bool Win32Keyboard::setKeyboardState(const platform::KeyboardStateBuffer& state) {
    BYTE keys[256];
    std::copy(state.begin(), state.end(), std::begin(keys));
    return SetKeyboardState(keys) != FALSE;
}

void Win32Keyboard::keybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                               std::uintptr_t extraInfo) {
    keybd_event(virtualKey, scanCode, flags, extraInfo);
}

}  // namespace tamux::win32
