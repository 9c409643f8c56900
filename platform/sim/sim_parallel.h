// Parallel work on the simulated machine: a real second thread of the process where the C++
// library has threads (the native builds); one piece after the other where it has none (the
// simulated machine's Windows build, which runs in the Wine conformance tests only).
#pragma once

#include <functional>
#include <memory>

#include "platform/parallel.h"

namespace tamux::sim {

class SimParallel : public platform::Parallel {
  public:
    SimParallel();
    ~SimParallel() override;

    // Test hook: with false, no second thread is had, as where a system refuses one.
    void allowThreads(bool allow) { allowThreads_ = allow; }

  protected:
    bool start(std::function<void()> work) override;
    void wait() override;

  private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
    bool allowThreads_ = true;
};

}  // namespace tamux::sim
