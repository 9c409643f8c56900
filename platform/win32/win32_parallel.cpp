#include "platform/win32/win32_parallel.h"

#include <process.h>

#include <cstdint>
#include <utility>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

unsigned __stdcall runWork(void* work) {
    (*static_cast<std::function<void()>*>(work))();
    return 0;
}

}  // namespace

Win32Parallel::~Win32Parallel() {
    wait();
}

bool Win32Parallel::start(std::function<void()> work) {
    if (thread_ != nullptr) return false;
    work_ = std::move(work);
    const std::uintptr_t thread = _beginthreadex(nullptr, 0, runWork, &work_, 0, nullptr);
    if (thread == 0) return false;
    thread_ = reinterpret_cast<void*>(thread);
    return true;
}

void Win32Parallel::wait() {
    if (thread_ == nullptr) return;
    WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
    CloseHandle(static_cast<HANDLE>(thread_));
    thread_ = nullptr;
    work_ = nullptr;
}

}  // namespace tamux::win32
