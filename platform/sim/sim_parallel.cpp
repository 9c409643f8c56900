#include "platform/sim/sim_parallel.h"

#include <system_error>
#include <utility>

#if defined(_GLIBCXX_HAS_GTHREADS)
#include <thread>
#endif

namespace tamux::sim {

#if defined(_GLIBCXX_HAS_GTHREADS)
struct SimParallel::Worker {
    std::thread thread;
};
#else
struct SimParallel::Worker {};
#endif

SimParallel::SimParallel() = default;

SimParallel::~SimParallel() {
    wait();
}

bool SimParallel::start(std::function<void()> work) {
#if defined(_GLIBCXX_HAS_GTHREADS)
    if (!allowThreads_ || worker_) return false;
    try {
        worker_ = std::make_unique<Worker>();
        worker_->thread = std::thread(std::move(work));
        return true;
    } catch (const std::system_error&) {
        worker_.reset();
        return false;
    }
#else
    static_cast<void>(work);
    return false;
#endif
}

void SimParallel::wait() {
#if defined(_GLIBCXX_HAS_GTHREADS)
    if (worker_ && worker_->thread.joinable()) worker_->thread.join();
#endif
    worker_.reset();
}

}  // namespace tamux::sim
