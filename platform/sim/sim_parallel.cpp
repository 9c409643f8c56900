#include "platform/sim/sim_parallel.h"

#include <system_error>

#if defined(_GLIBCXX_HAS_GTHREADS)
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace tamux::sim {

#if defined(_GLIBCXX_HAS_GTHREADS)
struct SimParallel::Worker {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    bool raised[2] = {false, false};  // by Signal
};
#else
struct SimParallel::Worker {};
#endif

SimParallel::SimParallel() = default;

SimParallel::~SimParallel() {
    stopWorker();
}

bool SimParallel::startThread() {
#if defined(_GLIBCXX_HAS_GTHREADS)
    if (!allowThreads_ || std::thread::hardware_concurrency() == 1) return false;
    try {
        worker_ = std::make_unique<Worker>();
        worker_->thread = std::thread([this] { workerLoop(); });
        return true;
    } catch (const std::system_error&) {
        worker_.reset();
        return false;
    }
#else
    return false;
#endif
}

void SimParallel::joinThread() {
#if defined(_GLIBCXX_HAS_GTHREADS)
    if (worker_ && worker_->thread.joinable()) worker_->thread.join();
#endif
    worker_.reset();
}

void SimParallel::raise(Signal signal) {
#if defined(_GLIBCXX_HAS_GTHREADS)
    {
        const std::lock_guard<std::mutex> hold(worker_->mutex);
        worker_->raised[static_cast<int>(signal)] = true;
    }
    worker_->changed.notify_all();
#else
    static_cast<void>(signal);
#endif
}

void SimParallel::await(Signal signal) {
#if defined(_GLIBCXX_HAS_GTHREADS)
    std::unique_lock<std::mutex> hold(worker_->mutex);
    bool& raised = worker_->raised[static_cast<int>(signal)];
    worker_->changed.wait(hold, [&raised] { return raised; });
    raised = false;
#else
    static_cast<void>(signal);
#endif
}

}  // namespace tamux::sim
