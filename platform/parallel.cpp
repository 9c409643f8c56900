#include "platform/parallel.h"

#include <exception>
#include <utility>

namespace tamux::platform {

namespace {

// What the kept thread is at, in Parallel::state_.
constexpr int kIdle = 0;    // no piece handed over
constexpr int kPosted = 1;  // a piece to run
constexpr int kDone = 2;    // the piece ran
constexpr int kQuit = 3;    // the thread is to end

// How many times a thread looks before it sleeps: a few milliseconds on today's processors.
constexpr unsigned kSpins = 1u << 16;

// True once `ready` holds, false when it did not within kSpins looks.
template <typename Ready>
bool spinUntil(Ready&& ready) {
    for (unsigned i = 0; i < kSpins; ++i) {
        if (ready()) return true;
        waitingBusily();
    }
    return ready();
}

}  // namespace

Parallel::~Parallel() = default;

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

bool Parallel::start(std::function<void()> work) {
    if (!started_ && !startThread()) return false;
    started_ = true;
    piece_ = std::move(work);
    state_.store(kPosted, std::memory_order_release);
    raise(Signal::ToWorker);
    return true;
}

void Parallel::wait() {
    auto done = [this] { return state_.load(std::memory_order_acquire) == kDone; };
    if (!spinUntil(done)) {
        while (!done()) await(Signal::ToCaller);
    }
    piece_ = nullptr;
    state_.store(kIdle, std::memory_order_relaxed);
}

void Parallel::workerLoop() {
    auto ready = [this] {
        const int state = state_.load(std::memory_order_acquire);
        return state == kPosted || state == kQuit;
    };
    for (;;) {
        if (!spinUntil(ready)) {
            while (!ready()) await(Signal::ToWorker);
        }
        if (state_.load(std::memory_order_acquire) == kQuit) return;
        piece_();  // raises nothing: runSideBySide hands over a guarded piece
        state_.store(kDone, std::memory_order_release);
        raise(Signal::ToCaller);
    }
}

void Parallel::stopWorker() {
    if (!started_) return;
    state_.store(kQuit, std::memory_order_release);
    raise(Signal::ToWorker);
    joinThread();
    started_ = false;
}

void Parallel::share(SharedWork& work) {
    runSideBySide([&work] { work.workFromFront(); }, [&work] { work.workFromBack(); });
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
