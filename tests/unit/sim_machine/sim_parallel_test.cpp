// Two pieces of work side by side: both always run to their end, on two threads where a second
// can be had and one after the other where not, and an error of either reaches the caller.
#include "platform/sim/sim_parallel.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

namespace tamux::sim {
namespace {

struct Case {
    const char* name;
    bool threads;
    bool firstThrows, secondThrows;
    const char* error;  // the message that reaches the caller, "" for none
};

TEST(SimParallelTest, BothRunToTheirEndAndTheFirstErrorReachesTheCaller) {
    const Case cases[] = {
        {"on two threads", true, false, false, ""},
        {"on one thread", false, false, false, ""},
        {"the first fails", true, true, false, "first"},
        {"the second fails", true, false, true, "second"},
        {"both fail", true, true, true, "first"},
        {"both fail on one thread", false, true, true, "first"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimParallel parallel;
        parallel.allowThreads(c.threads);
        std::thread::id firstThread, secondThread;
        bool firstEnded = false, secondEnded = false;
        std::string error;
        try {
            parallel.runSideBySide(
                [&] {
                    firstThread = std::this_thread::get_id();
                    firstEnded = true;
                    if (c.firstThrows) throw std::runtime_error("first");
                },
                [&] {
                    secondThread = std::this_thread::get_id();
                    secondEnded = true;
                    if (c.secondThrows) throw std::runtime_error("second");
                });
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_TRUE(firstEnded && secondEnded);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(firstThread, std::this_thread::get_id());
        EXPECT_EQ(secondThread != firstThread, c.threads);
    }
}

TEST(SimParallelTest, OneKeptThreadRunsEverySecondPiece) {
    std::thread::id seconds[3];
    {
        SimParallel parallel;
        for (std::thread::id& second : seconds) {
            parallel.runSideBySide([] {}, [&second] { second = std::this_thread::get_id(); });
        }
    }  // ends the kept thread, or the test hangs here
    EXPECT_NE(seconds[0], std::this_thread::get_id());
    EXPECT_EQ(seconds[1], seconds[0]);
    EXPECT_EQ(seconds[2], seconds[0]);
}

}  // namespace
}  // namespace tamux::sim
