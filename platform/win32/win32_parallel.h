// Parallel work on a second thread of the process, kept for all the work to come, started with
// the C runtime's _beginthreadex so that the runtime's own per-thread data is set up and released
// with it. A system with one processor runs the pieces one after the other.
#pragma once

#include "platform/parallel.h"

namespace tamux::win32 {

class Win32Parallel final : public platform::Parallel {
  public:
    Win32Parallel() = default;
    ~Win32Parallel() override;
    Win32Parallel(const Win32Parallel&) = delete;
    Win32Parallel& operator=(const Win32Parallel&) = delete;

  protected:
    bool startThread() override;
    void joinThread() override;
    void raise(Signal signal) override;
    void await(Signal signal) override;

  private:
    static unsigned __stdcall run(void* self);
    void closeHandles();

    void* thread_ = nullptr;                // the thread's handle while it runs
    void* events_[2] = {nullptr, nullptr};  // auto-reset, by Signal
};

}  // namespace tamux::win32
