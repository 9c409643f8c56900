// The application's message processing: handler before dispatch, the handled flag, draining the
// queue.
#include "ui/application.h"

#include <vector>

#include <gtest/gtest.h>

namespace tamux {
namespace {

// A queue that handlers can post to while it is drained.
class ScriptedSource : public MessageSource {
  public:
    bool takeMessage(AppMessage& message) override {
        if (next >= pending.size()) return false;
        message = pending[next++];
        return true;
    }
    void dispatch(const AppMessage& message) override { dispatched.push_back(message.message); }
    std::vector<AppMessage> pending;
    std::size_t next = 0;
    std::vector<std::uint32_t> dispatched;
};

TEST(Application, EveryMessageReachesTheHandlerBeforeItIsDispatched) {
    ScriptedSource source;
    Application app(source);
    std::vector<std::string> order;
    app.onMessage = [&](AppMessage& message, bool&) {
        order.push_back("handler " + std::to_string(message.message));
        EXPECT_EQ(source.dispatched.size(), order.size() - 1);  // not dispatched yet
    };
    source.pending = {{0, 256, 20, 0}, {0, 15, 0, 0}};
    EXPECT_EQ(app.processMessages(), 2);
    EXPECT_EQ(order, (std::vector<std::string>{"handler 256", "handler 15"}));
    EXPECT_EQ(source.dispatched, (std::vector<std::uint32_t>{256, 15}));
    EXPECT_EQ(app.processMessages(), 0);
}

TEST(Application, AHandledMessageIsNotDispatched) {
    ScriptedSource source;
    Application app(source);
    app.onMessage = [](AppMessage& message, bool& handled) {
        EXPECT_FALSE(handled);
        handled = message.wParam == 1;
    };
    source.pending = {{0, 256, 1, 0}, {0, 256, 2, 0}};
    app.processMessages();
    EXPECT_EQ(source.dispatched, (std::vector<std::uint32_t>{256}));
}

TEST(Application, WithoutHandlersMessagesAreDispatchedAndActivationDoesNothing) {
    ScriptedSource source;
    Application app(source);
    source.pending = {{0, 256, 1, 0}};
    app.processMessages();
    app.activated();
    EXPECT_EQ(source.dispatched.size(), 1u);
}

TEST(Application, MessagesPostedWhileProcessingAreProcessedToo) {
    ScriptedSource source;
    Application app(source);
    app.onMessage = [&](AppMessage& message, bool&) {
        if (message.message == 1) source.pending.push_back({0, 2, 0, 0});
    };
    source.pending = {{0, 1, 0, 0}};
    EXPECT_EQ(app.processMessages(), 2);
    EXPECT_EQ(source.dispatched, (std::vector<std::uint32_t>{1, 2}));
}

TEST(Application, AHandlerMayReplaceItselfWhileItRuns) {
    ScriptedSource source;
    Application app(source);
    int calls = 0;
    app.onMessage = [&](AppMessage&, bool&) {
        ++calls;
        app.onMessage = nullptr;
    };
    source.pending = {{0, 1, 0, 0}, {0, 2, 0, 0}};
    app.processMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(source.dispatched.size(), 2u);
}

}  // namespace
}  // namespace tamux
