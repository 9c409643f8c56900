// The mouse wheel. Windows 98 and NT 4 send WM_MOUSEWHEEL; Windows 95 never does: its wheel
// driver (MSWheel, IntelliPoint) sends the registered message "MSWHEEL_ROLLMSG" instead, with the
// turn as the whole wParam. Both reach the same scrolling.
#pragma once

#include <cstdint>
#include <optional>

namespace tamux {

constexpr unsigned kWmMouseWheel = 0x020A;
constexpr int kWheelDelta = 120;  // one notch
inline constexpr char kMsWheelMessageName[] = "MSWHEEL_ROLLMSG";

// The turn a message carries, positive away from the user: WM_MOUSEWHEEL's in the high word of
// wParam, the driver's message (`msWheelMessage`, 0 when it could not be registered) in all of
// wParam. nullopt for any other message.
std::optional<int> wheelTurn(unsigned message, std::uintptr_t wParam, unsigned msWheelMessage);

// Adds up turns that may be finer than a notch and hands out whole notches.
class WheelNotches {
  public:
    // The notches completed by this turn (negative towards the user); the rest is kept.
    int add(int turn);

  private:
    int remainder_ = 0;
};

}  // namespace tamux
