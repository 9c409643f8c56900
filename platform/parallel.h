// Two independent pieces of work at once, on two threads of the process: the start-up reads and
// deciphers the two halves of a database of megabytes side by side.
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

class Parallel {
  public:
    virtual ~Parallel() = default;

    // Runs `first` on this thread and `second` on another, and returns once both have ended.
    // Where no other thread can be had, `second` runs after `first`: the two must not wait for
    // each other. Both always run to their end; an exception from either is raised here after
    // that (the first one's when both raise).
    void runSideBySide(const std::function<void()>& first, const std::function<void()>& second);

    // Shares `work` between this thread (from the front) and another (from the back).
    void share(SharedWork& work);
    // Shares two pieces of work: this thread works from the front of `first`, the other from
    // the front of `second`, and each then helps with the other's from its back.
    void share(SharedWork& first, SharedWork& second);

  protected:
    // Starts `work`, which raises nothing, on another thread; false when no thread can be had.
    virtual bool start(std::function<void()> work) = 0;
    // Waits until the work that start began has ended.
    virtual void wait() = 0;
};

}  // namespace tamux::platform
