// Force-included into GoogleTest and every test program of the Windows builds. Those are compiled
// with the win32-thread variant of MinGW-w64 (the one whose runtime starts on old Windows), whose
// C++ library has no std::mutex or std::condition_variable. GoogleTest uses them only for its
// Notification, which its own tests need; it takes one defined beforehand, so here is one over a
// Win32 event. Its other locks are Win32 critical sections already.
#pragma once

#ifdef _WIN32
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal
#endif
