#include "ui/wheel.h"

namespace tamux {

std::optional<int> wheelTurn(unsigned message, std::uintptr_t wParam, unsigned msWheelMessage) {
    if (message == kWmMouseWheel) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam >> 16));
    }
    if (msWheelMessage != 0 && message == msWheelMessage) {
        return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)));
    }
    return std::nullopt;
}

int WheelNotches::add(int turn) {
    remainder_ += turn;
    const int notches = remainder_ / kWheelDelta;
    remainder_ -= notches * kWheelDelta;
    return notches;
}

}  // namespace tamux
