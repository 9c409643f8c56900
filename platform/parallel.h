// Work on two threads of the process: the start-up walks the device tree and deciphers a database
// of megabytes side by side.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace tamux::platform {

// Work that two threads share by taking its pieces one at a time, one thread from the front and
// the other from the back, until none is left; either may find none left.
class SharedWork {
  public:
    virtual ~SharedWork() = default;
    virtual void workFromFront() = 0;
    virtual void workFromBack() = 0;
};

// One look of a thread that waits busily for another: tells the processor so, where it can be
// told, so that the other thread's hyper-thread or core is not slowed by the looking.
inline void waitingBusily() {
#if defined(__i386__) || defined(__x86_64__)
    __builtin_ia32_pause();
#endif
}

// The pieces of a SharedWork that no thread took yet, numbered from 0.
class Pieces {
  public:
    static constexpr std::uint32_t kMost = 0xFFFF;
    explicit Pieces(std::uint32_t count = 0) { reset(count); }
    // All `count` pieces (at most kMost) untaken again.
    void reset(std::uint32_t count) { untaken_ = count << 16; }
    // The first or the last piece not taken yet, now taken; nullopt when none is left.
    std::optional<std::uint32_t> takeFront() { return take(true); }
    std::optional<std::uint32_t> takeBack() { return take(false); }

  private:
    std::optional<std::uint32_t> take(bool front);
    std::atomic<std::uint32_t> untaken_;  // [low 16 bits, high 16 bits)
};

// Two pieces of work at once: the second on a thread of the process kept for all the work to
// come, the caller's own thread doing the first. The kept thread waits for its next piece busily
// for a moment after each one before it sleeps, and so does the caller for the end of a piece: the
// start-up hands over several pieces in a row, and a sleeping thread of a virtual machine's second
// processor can take a millisecond or more to wake. A system with one processor gets no thread.
class Parallel {
  public:
    virtual ~Parallel();

    // Runs `first` on this thread and `second` on another, and returns once both have ended.
    // Where no other thread can be had, `second` runs after `first`: the two must not wait for
    // each other. Both always run to their end; an exception from either is raised here after
    // that (the first one's when both raise).
    void runSideBySide(const std::function<void()>& first, const std::function<void()>& second);

    // Shares `work` between this thread (from the front) and another (from the back).
    void share(SharedWork& work);

  protected:
    // What a derived class gives: a thread that runs workerLoop, and a signal each way.
    // startThread is called once, on the first piece; false when no thread can be had.
    virtual bool startThread() = 0;
    virtual void joinThread() = 0;
    enum class Signal { ToWorker, ToCaller };
    // raise is remembered until an await of the same signal takes it.
    virtual void raise(Signal signal) = 0;
    virtual void await(Signal signal) = 0;

    // The body of the kept thread: runs the pieces handed over until stopWorker.
    void workerLoop();
    // Ends the kept thread; a derived class calls it in its destructor, while its thread and
    // signals are still there.
    void stopWorker();

  private:
    bool start(std::function<void()> work);
    void wait();

    std::function<void()> piece_;
    std::atomic<int> state_{0};
    bool started_ = false;
};

}  // namespace tamux::platform
