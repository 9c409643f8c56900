// Parallel work on the simulated machine: a real second thread of the process where the C++
// library has threads (the native builds) and the host more than one processor; one piece after
// the other otherwise (the simulated machine's Windows build, which runs in the Wine conformance
// tests only).
#pragma once

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
    bool startThread() override;
    void joinThread() override;
    void raise(Signal signal) override;
    void await(Signal signal) override;

  private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
    bool allowThreads_ = true;
};

}  // namespace tamux::sim
