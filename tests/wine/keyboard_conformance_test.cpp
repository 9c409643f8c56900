// The Keyboard service: the thread's key state on the prefix and on the simulated machine.
#include <gtest/gtest.h>

#include "platform/win32/windows_support.h"
#include "tests/wine/conformance_support.h"
#include "tests/wine/service_sides.h"

namespace tamux::wine_test {
namespace {

constexpr std::uint8_t kScrollLock = 0x91;

template <typename Side>
class KeyboardConformance : public ::testing::Test {
  protected:
    platform::Keyboard& keyboard() { return side_.keyboard(); }

    // Lets queued input reach the thread's key state, as the message loop does.
    void pumpMessages() {
        if (Side::kSimulated) return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    bool scrollLockToggled() {
        platform::KeyboardStateBuffer state{};
        EXPECT_TRUE(keyboard().getKeyboardState(state));
        return (state[kScrollLock] & 0x01) != 0;
    }

    Side side_;
};

using KeyboardSides = ::testing::Types<Win32Sides, SimSides>;
TYPED_TEST_SUITE(KeyboardConformance, KeyboardSides, SideName);

TYPED_TEST(KeyboardConformance, TheStateHoldsOnlyDownAndToggleBits) {
    platform::KeyboardStateBuffer state;
    state.fill(0x5A);
    ASSERT_TRUE(this->keyboard().getKeyboardState(state));
    for (std::size_t key = 0; key < state.size(); ++key) {
        EXPECT_EQ(state[key] & ~0x81, 0)
            << "key " << key << ": got 0x" << std::hex << int{state[key]};
    }
}

TYPED_TEST(KeyboardConformance, ASetStateReadsBack) {
    platform::KeyboardStateBuffer original{};
    ASSERT_TRUE(this->keyboard().getKeyboardState(original));
    platform::KeyboardStateBuffer changed = original;
    changed[kScrollLock] ^= 0x01;
    ASSERT_TRUE(this->keyboard().setKeyboardState(changed));
    platform::KeyboardStateBuffer read{};
    ASSERT_TRUE(this->keyboard().getKeyboardState(read));
    EXPECT_EQ(read[kScrollLock], changed[kScrollLock]);
    this->keyboard().setKeyboardState(original);
}

TYPED_TEST(KeyboardConformance, ASynthesisedPressTogglesALockKey) {
    const bool before = this->scrollLockToggled();
    this->keyboard().keybdEvent(kScrollLock, 0x46, 0, 0);
    this->keyboard().keybdEvent(kScrollLock, 0x46, platform::kKeyEventKeyUp, 0);
    this->pumpMessages();
    const bool after = this->scrollLockToggled();
    if (!TypeParam::kSimulated && after == before) {
        GTEST_SKIP() << "without a display Wine delivers no synthesised input; the lock keys are "
                        "driven in the end-to-end lane";
    }
    EXPECT_NE(after, before);
    // And back, so that the prefix is left as it was.
    this->keyboard().keybdEvent(kScrollLock, 0x46, 0, 0);
    this->keyboard().keybdEvent(kScrollLock, 0x46, platform::kKeyEventKeyUp, 0);
    this->pumpMessages();
    EXPECT_EQ(this->scrollLockToggled(), before);
}

}  // namespace
}  // namespace tamux::wine_test
