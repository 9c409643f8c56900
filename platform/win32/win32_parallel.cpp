#include "platform/win32/win32_parallel.h"

#include <process.h>

#include <cstdint>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

Win32Parallel::~Win32Parallel() {
    stopWorker();
    closeHandles();
}

unsigned __stdcall Win32Parallel::run(void* self) {
    static_cast<Win32Parallel*>(self)->workerLoop();
    return 0;
}

bool Win32Parallel::startThread() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    if (system.dwNumberOfProcessors < 2) return false;
    for (void*& event : events_) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (events_[0] != nullptr && events_[1] != nullptr) {
        const std::uintptr_t thread = _beginthreadex(nullptr, 0, run, this, 0, nullptr);
        thread_ = reinterpret_cast<void*>(thread);
    }
    if (thread_ != nullptr) return true;
    closeHandles();
    return false;
}

void Win32Parallel::joinThread() {
    if (thread_ != nullptr) WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
    closeHandles();
}

void Win32Parallel::closeHandles() {
    for (void** handle : {&thread_, &events_[0], &events_[1]}) {
        if (*handle != nullptr) CloseHandle(static_cast<HANDLE>(*handle));
        *handle = nullptr;
    }
}

void Win32Parallel::raise(Signal signal) {
    SetEvent(static_cast<HANDLE>(events_[static_cast<int>(signal)]));
}

void Win32Parallel::await(Signal signal) {
    WaitForSingleObject(static_cast<HANDLE>(events_[static_cast<int>(signal)]), INFINITE);
}

}  // namespace tamux::win32
