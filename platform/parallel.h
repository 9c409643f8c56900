// Two independent pieces of work at once, on two threads of the process: the start-up reads and
// deciphers the two halves of a database of megabytes side by side.
#pragma once

#include <functional>

namespace tamux::platform {

class Parallel {
  public:
    virtual ~Parallel() = default;

    // Runs `first` on this thread and `second` on another, and returns once both have ended.
    // Where no other thread can be had, `second` runs after `first`: the two must not wait for
    // each other. Both always run to their end; an exception from either is raised here after
    // that (the first one's when both raise).
    void runSideBySide(const std::function<void()>& first, const std::function<void()>& second);

  protected:
    // Starts `work`, which raises nothing, on another thread; false when no thread can be had.
    virtual bool start(std::function<void()> work) = 0;
    // Waits until the work that start began has ended.
    virtual void wait() = 0;
};

}  // namespace tamux::platform
