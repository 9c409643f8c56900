// The wheel's messages: WM_MOUSEWHEEL and the Windows 95 wheel driver's own message.
#include "ui/wheel.h"

#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

namespace tamux {
namespace {

constexpr unsigned kDriverMessage = 0xC0F3;  // as RegisterWindowMessageA may answer

struct TurnRow {
    unsigned message;
    std::uintptr_t wParam;
    unsigned driverMessage;
    std::optional<int> turn;
};

TEST(wheelTurn, ReadFromEitherMessageWhereItCarriesIt) {
    const std::vector<TurnRow> rows = {
        {kWmMouseWheel, 0x00780008u, kDriverMessage, 120},   // away, a key held
        {kWmMouseWheel, 0xFF880000u, kDriverMessage, -120},  // towards the user
        {kDriverMessage, 120, kDriverMessage, 120},          // the whole wParam
        {kDriverMessage, static_cast<std::uintptr_t>(-240), kDriverMessage, -240},
        {kDriverMessage, 120, 0, std::nullopt},               // not registered
        {0, 120, 0, std::nullopt},                            // WM_NULL is no wheel
        {0x0200, 0x00780000u, kDriverMessage, std::nullopt},  // WM_MOUSEMOVE
    };
    for (const TurnRow& row : rows) {
        EXPECT_EQ(wheelTurn(row.message, row.wParam, row.driverMessage), row.turn)
            << std::hex << row.message << " " << row.wParam;
    }
}

TEST(WheelNotches, FineTurnsAddUpToWholeNotchesEitherWay) {
    WheelNotches notches;
    const std::vector<std::pair<int, int>> turnsAndNotches = {
        {60, 0}, {60, 1}, {240, 2}, {-30, 0}, {-90, -1}, {-120, -1}, {130, 1}, {-10, 0}};
    for (const auto& [turn, expected] : turnsAndNotches) {
        EXPECT_EQ(notches.add(turn), expected) << turn;
    }
}

}  // namespace
}  // namespace tamux
