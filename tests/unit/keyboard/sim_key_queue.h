// The simulated keyboard's messages as the application's message source: what the program's
// queue would hold, taken oldest first, and a record of what reached the window.
#pragma once

#include <deque>
#include <vector>

#include "platform/sim/sim_keyboard.h"
#include "ui/application.h"

namespace tamux::test {

class SimKeyQueue : public MessageSource {
  public:
    explicit SimKeyQueue(sim::SimKeyboard& keyboard) : keyboard_(keyboard) {}

    bool takeMessage(AppMessage& message) override {
        collect();
        if (queue_.empty()) return false;
        message = queue_.front();
        queue_.pop_front();
        return true;
    }
    void dispatch(const AppMessage& message) override { dispatched.push_back(message); }

    // Puts a message of another kind into the queue, after the key messages posted before it.
    void post(const AppMessage& message) {
        collect();
        queue_.push_back(message);
    }

    std::vector<AppMessage> dispatched;

  private:
    void collect() {
        for (const sim::KeyMessage& m : keyboard_.takePendingMessages()) {
            queue_.push_back({0, m.message, m.virtualKey, 0});
        }
    }

    sim::SimKeyboard& keyboard_;
    std::deque<AppMessage> queue_;
};

}  // namespace tamux::test
