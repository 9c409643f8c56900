#include "platform/sim/sim_keyboard.h"

#include <utility>

namespace tamux::sim {

SimKeyboard::SimKeyboard(LockKeys lockKeys) {
    state_[kVkCapital] = lockKeys.capsLock ? 1 : 0;
    state_[kVkNumLock] = lockKeys.numLock ? 1 : 0;
    state_[kVkScroll] = lockKeys.scrollLock ? 1 : 0;
    state_[kVkInsert] = lockKeys.insert ? 1 : 0;
}

bool SimKeyboard::getKeyboardState(platform::KeyboardStateBuffer& state) {
    if (getStateFails_) return false;
    state = state_;
    return true;
}

bool SimKeyboard::setKeyboardState(const platform::KeyboardStateBuffer& state) {
    if (setStateFails_) return false;
    state_ = state;
    return true;
}

void SimKeyboard::keybdEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                             std::uintptr_t extraInfo) {
    events_.push_back({virtualKey, scanCode, flags, extraInfo});
    apply(virtualKey, (flags & platform::kKeyEventKeyUp) != 0);
}

void SimKeyboard::pressKey(std::uint8_t virtualKey) {
    apply(virtualKey, false);
    apply(virtualKey, true);
}

void SimKeyboard::apply(std::uint8_t virtualKey, bool release) {
    std::uint8_t& key = state_[virtualKey];
    if (release) {
        key = static_cast<std::uint8_t>(key & ~0x80);
    } else {
        key = static_cast<std::uint8_t>((key ^ 0x01) | 0x80);
    }
    if (active_) pending_.push_back({release ? kWmKeyUp : kWmKeyDown, virtualKey});
}

std::vector<KeyMessage> SimKeyboard::takePendingMessages() {
    return std::exchange(pending_, {});
}

}  // namespace tamux::sim
