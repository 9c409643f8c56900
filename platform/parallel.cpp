#include "platform/parallel.h"

#include <exception>

namespace tamux::platform {

void Parallel::runSideBySide(const std::function<void()>& first,
                             const std::function<void()>& second) {
    std::exception_ptr firstError, secondError;
    auto guardedSecond = [&second, &secondError] {
        try {
            second();
        } catch (...) {
            secondError = std::current_exception();
        }
    };
    const bool started = start(guardedSecond);
    try {
        first();
    } catch (...) {
        firstError = std::current_exception();
    }
    if (started) {
        wait();
    } else {
        guardedSecond();
    }
    if (firstError) std::rethrow_exception(firstError);
    if (secondError) std::rethrow_exception(secondError);
}

void Parallel::share(SharedWork& work) {
    runSideBySide([&work] { work.workFromFront(); }, [&work] { work.workFromBack(); });
}

void Parallel::share(SharedWork& first, SharedWork& second) {
    runSideBySide(
        [&] {
            first.workFromFront();
            second.workFromBack();
        },
        [&] {
            second.workFromFront();
            first.workFromBack();
        });
}

std::optional<std::uint32_t> Pieces::take(bool front) {
    for (std::uint32_t untaken = untaken_.load();;) {
        const std::uint32_t first = untaken & 0xFFFF, end = untaken >> 16;
        if (first >= end) return std::nullopt;
        const std::uint32_t taken = front ? first : end - 1;
        const std::uint32_t left = front ? (end << 16) | (first + 1) : (taken << 16) | first;
        if (untaken_.compare_exchange_weak(untaken, left)) return taken;
    }
}

}  // namespace tamux::platform
