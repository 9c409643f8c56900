// Parallel work on a second thread of the process, started with the C runtime's _beginthreadex
// so that the runtime's own per-thread data is set up and released with it.
#pragma once

#include <functional>

#include "platform/parallel.h"

namespace tamux::win32 {

class Win32Parallel final : public platform::Parallel {
  public:
    Win32Parallel() = default;
    ~Win32Parallel() override;
    Win32Parallel(const Win32Parallel&) = delete;
    Win32Parallel& operator=(const Win32Parallel&) = delete;

  protected:
    bool start(std::function<void()> work) override;
    void wait() override;

  private:
    std::function<void()> work_;
    void* thread_ = nullptr;  // the thread's handle while it may run
};

}  // namespace tamux::win32
