#include "devices/keyboard/key_state.h"

namespace tamux {

namespace {

// GetVersion sets its highest bit on the 9x platform.
constexpr std::uint32_t kGetVersion9xBit = 0x80000000u;

}  // namespace

TKeyState::TKeyState(Application& application, platform::Keyboard& keyboard,
                     platform::System& system)
    : application_(application), keyboard_(keyboard), system_(system) {
    previousMessageHandler_ = application_.OnMessage;
    previousActivateHandler_ = application_.OnActivate;
    application_.OnMessage = [this](AppMessage& message, bool& handled) {
        messageHandler(message, handled);
    };
    application_.OnActivate = [this] { activateHandler(); };
}

TKeyState::~TKeyState() {
    application_.OnMessage = previousMessageHandler_;
    application_.OnActivate = previousActivateHandler_;
}

bool TKeyState::isOn(LockKey key) {
    keyboard_.getKeyboardState(buffer_);
    return (buffer_[VirtualKeyOf(key)] & 0x01) != 0;
}

void TKeyState::setOn(LockKey key, bool on) {
    const std::uint8_t vk = VirtualKeyOf(key);
    if (isOn(key) != on) {
        keyboard_.keybdEvent(vk, 0, 0, 0);
        keyboard_.keybdEvent(vk, 0, platform::kKeyEventKeyUp, 0);
    }
    if ((system_.getVersion() & kGetVersion9xBit) == 0) return;

    application_.ProcessMessages();
    // Read again, so that what is written back carries every other key as it is now.
    keyboard_.getKeyboardState(buffer_);
    buffer_[vk] = on ? 1 : 0;
    keyboard_.setKeyboardState(buffer_);
}

void TKeyState::raise(const Event& event) {
    // A copy: the handler may replace the event while it runs.
    if (Event handler = event) handler(*this);
}

void TKeyState::messageHandler(AppMessage& message, bool& handled) {
    if (message.message == kWmKeyDown) {
        switch (message.wParam) {
            case kVkCapital:
                raise(OnCapsLock);
                break;
            case kVkInsert:
                raise(OnInsert);
                break;
            case kVkNumLock:
                raise(OnNumLock);
                break;
            case kVkScroll:
                raise(OnScrollLock);
                break;
            default:
                break;
        }
    }
    // Every message goes on down the chain: a handler installed before this component still
    // sees all that it saw before.
    if (Application::MessageHandler previous = previousMessageHandler_) previous(message, handled);
}

void TKeyState::activateHandler() {
    raise(OnNumLock);
    raise(OnScrollLock);
    raise(OnCapsLock);
    raise(OnInsert);
    // As with the messages: a handler installed before this component keeps being told.
    if (Application::ActivateHandler previous = previousActivateHandler_) previous();
}

}  // namespace tamux
