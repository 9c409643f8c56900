// Two pieces of work side by side on Windows: the second on a thread of its own, kept from one
// piece to the next, where the system has more than one processor; both to their end, and an
// error of either raised to the caller afterwards.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32/win32_parallel.h"
#include "platform/win32/windows_support.h"

namespace tamux::wine_test {
namespace {

TEST(ParallelConformance, TheSecondRunsOnAThreadOfItsOwnAndErrorsReachTheCaller) {
    struct Case {
        bool firstThrows, secondThrows;
        const char* error;
    };
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const bool twoThreads = system.dwNumberOfProcessors > 1;
    win32::Win32Parallel parallel;
    DWORD keptThread = 0;
    for (const Case& c :
         {Case{false, false, ""}, Case{false, true, "second"}, Case{true, true, "first"}}) {
        DWORD firstThread = 0, secondThread = 0;
        std::string error;
        try {
            parallel.runSideBySide(
                [&] {
                    firstThread = GetCurrentThreadId();
                    // Long enough that the two overlap where a second thread runs at all.
                    Sleep(20);
                    if (c.firstThrows) throw std::runtime_error("first");
                },
                [&] {
                    secondThread = GetCurrentThreadId();
                    if (c.secondThrows) throw std::runtime_error("second");
                });
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_EQ(firstThread, GetCurrentThreadId());
        EXPECT_NE(secondThread, 0u);
        EXPECT_EQ(secondThread != firstThread, twoThreads);
        if (keptThread == 0) keptThread = secondThread;
        EXPECT_EQ(secondThread, keptThread);
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace tamux::wine_test
