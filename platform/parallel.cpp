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

}  // namespace tamux::platform
