// KeyState: the toggle states of Caps Lock, Num Lock, Scroll Lock and Insert, read and set, and
// an event whenever one of these keys is pressed in the program or the program is activated. It
// sees only the key presses that reach the program's own queue, through the application's
// message processing, which it hooks into for its lifetime.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/keyboard.h"
#include "platform/lock_key.h"
#include "platform/system.h"
#include "ui/application.h"

namespace tamux {

using platform::kVkCapital;
using platform::kVkInsert;
using platform::kVkNumLock;
using platform::kVkScroll;
using platform::kWmKeyDown;

constexpr std::uint8_t virtualKeyOf(LockKey key) {
    switch (key) {
        case LockKey::CapsLock:
            return kVkCapital;
        case LockKey::NumLock:
            return kVkNumLock;
        case LockKey::ScrollLock:
            return kVkScroll;
        case LockKey::Insert:
            return kVkInsert;
    }
    return 0;
}

class KeyState {
  public:
    using Event = std::function<void(KeyState& sender)>;

    // Installs the component's message and activation handlers in the application, remembering
    // the ones installed before. The application must outlive the component.
    KeyState(Application& application, platform::Keyboard& keyboard, platform::System& system);
    // Puts the remembered handlers back.
    ~KeyState();
    KeyState(const KeyState&) = delete;
    KeyState& operator=(const KeyState&) = delete;

    // Whether the key's toggle state is on, as GetKeyboardState tells it now. Should that query
    // fail, the answer is the one last read.
    bool isOn(LockKey key);

    // Sets the key's toggle state: a synthesised press and release when it differs (which comes
    // back to the program as a key-down message); on 9x, where that alone does not update the
    // state the program reads, pending messages are processed and the state is also written.
    void setOn(LockKey key, bool on);

    // Raised for every key-down of the key taken from the queue (repeats included), before the
    // message is dispatched, and, on activation, in the order NumLock, ScrollLock, CapsLock,
    // Insert. An event without a handler is skipped.
    Event onNumLock;
    Event onScrollLock;
    Event onCapsLock;
    Event onInsert;

  private:
    void messageHandler(AppMessage& message, bool& handled);
    void activateHandler();
    void raise(const Event& event);

    Application& application_;
    platform::Keyboard& keyboard_;
    platform::System& system_;
    platform::KeyboardStateBuffer buffer_{};
    Application::MessageHandler previousMessageHandler_;
    Application::ActivateHandler previousActivateHandler_;
};

}  // namespace tamux
