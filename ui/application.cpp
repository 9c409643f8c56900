#include "ui/application.h"

namespace tamux {

void Application::handleMessage(AppMessage& message) {
    bool handled = false;
    // A copy: a handler may install or remove handlers while it runs.
    if (MessageHandler handler = onMessage) handler(message, handled);
    if (!handled) source_.dispatch(message);
}

int Application::processMessages() {
    int count = 0;
    AppMessage message;
    while (source_.takeMessage(message)) {
        handleMessage(message);
        ++count;
    }
    return count;
}

void Application::activated() {
    if (ActivateHandler handler = onActivate) handler();
}

}  // namespace tamux
