// The application's message processing, which non-visual components hook into: every message the
// program takes from its queue first goes to the OnMessage handler, then (unless the handler has
// handled it) is dispatched to its window; activation of the program calls OnActivate.
//
// Components chain themselves in: a component remembers the handler installed before it, installs
// its own, passes each message on to the one it remembered, and puts it back when it goes away.
#pragma once

#include <cstdint>
#include <functional>

namespace tamux {

// One queued message, as the Win32 MSG carries it (the window is an opaque handle).
struct AppMessage {
    std::uintptr_t window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Where pending messages come from and where they go: the Win32 queue in the program, a
// simulated queue in the tests.
class MessageSource {
  public:
    virtual ~MessageSource() = default;
    // Removes the oldest pending message into `message`; false (and `message` unchanged) when
    // none is waiting. Never waits.
    virtual bool takeMessage(AppMessage& message) = 0;
    // Translates and dispatches a message to its window.
    virtual void dispatch(const AppMessage& message) = 0;
};

class Application {
  public:
    // `handled` starts false; a handler sets it to keep the message from being dispatched.
    using MessageHandler = std::function<void(AppMessage& message, bool& handled)>;
    using ActivateHandler = std::function<void()>;

    explicit Application(MessageSource& source) : source_(source) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The installed handlers; empty when none is.
    MessageHandler onMessage;
    ActivateHandler onActivate;

    // Runs one message taken from the queue: OnMessage first, then the dispatch unless the
    // handler handled it. The program's message loop calls this for every message it gets.
    void handleMessage(AppMessage& message);

    // Takes every message that is pending now and handles each in turn; returns how many it
    // handled. Messages that handlers cause to be posted meanwhile are handled too.
    int processMessages();

    // The program has become the active one.
    void activated();

  private:
    MessageSource& source_;
};

}  // namespace tamux
