#include "devices/keyboard/key_state.h"

namespace tamux {

namespace {

// GetVersion sets its highest bit on the 9x platform.
constexpr std::uint32_t kGetVersion9xBit = 0x80000000u;

}  // namespace

KeyState::KeyState(Application& application, platform::Keyboard& keyboard, platform::System& system)
    : application_(application), keyboard_(keyboard), system_(system) {
    previousMessageHandler_ = application_.onMessage;
    previousActivateHandler_ = application_.onActivate;
    application_.onMessage = [this](AppMessage& message, bool& handled) {
        messageHandler(message, handled);
    };
    application_.onActivate = [this] { activateHandler(); };
}

KeyState::~KeyState() {
    application_.onMessage = previousMessageHandler_;
    application_.onActivate = previousActivateHandler_;
}

bool KeyState::isOn(LockKey key) {
    keyboard_.getKeyboardState(buffer_);
    return (buffer_[virtualKeyOf(key)] & 0x01) != 0;
}

void KeyState::setOn(LockKey key, bool on) {
    const std::uint8_t vk = virtualKeyOf(key);
    if (isOn(key) != on) {
        keyboard_.keybdEvent(vk, 0, 0, 0);
        keyboard_.keybdEvent(vk, 0, platform::kKeyEventKeyUp, 0);
    }
    if ((system_.getVersion() & kGetVersion9xBit) == 0) return;

    application_.processMessages();
    // Read again, so that what is written back carries every other key as it is now.
    keyboard_.getKeyboardState(buffer_);
    buffer_[vk] = on ? 1 : 0;
    keyboard_.setKeyboardState(buffer_);
}

void KeyState::raise(const Event& event) {
    // A copy: the handler may replace the event while it runs.
    if (Event handler = event) handler(*this);
}

void KeyState::messageHandler(AppMessage& message, bool& handled) {
    if (message.message == kWmKeyDown) {
        switch (message.wParam) {
            case kVkCapital:
                raise(onCapsLock);
                break;
            case kVkInsert:
                raise(onInsert);
                break;
            case kVkNumLock:
                raise(onNumLock);
                break;
            case kVkScroll:
                raise(onScrollLock);
                break;
            default:
                break;
        }
    }
    // Every message goes on down the chain: a handler installed before this component still
    // sees all that it saw before.
    if (Application::MessageHandler previous = previousMessageHandler_) previous(message, handled);
}

void KeyState::activateHandler() {
    raise(onNumLock);
    raise(onScrollLock);
    raise(onCapsLock);
    raise(onInsert);
    // As with the messages: a handler installed before this component keeps being told.
    if (Application::ActivateHandler previous = previousActivateHandler_) previous();
}

}  // namespace tamux
