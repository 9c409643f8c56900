// The program's message loop: every message taken from the queue goes through the application's
// message processing (where components such as the lock-key monitor see it) before it is
// dispatched; the main window's Tab and arrow keys move the focus between its controls.
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/windows_support.h"
#include "ui/application.h"

namespace tamux::win32 {

class Win32MessageSource : public MessageSource {
  public:
    // The window whose controls Tab moves between; may be set later.
    void setDialogWindow(HWND window) { dialogWindow_ = window; }

    // A message the loop took from the queue, as the application sees it; dispatch gives it its
    // time and pointer position back.
    AppMessage accept(const MSG& message);

    // Never waits. WM_QUIT is left in the queue for the loop.
    bool takeMessage(AppMessage& message) override;
    void dispatch(const AppMessage& message) override;

  private:
    HWND dialogWindow_ = nullptr;
    MSG current_{};
};

// Runs until WM_QUIT and returns its exit code. An error that a message's processing raises is
// shown in a message box, and the loop goes on.
int runMessageLoop(Application& application, Win32MessageSource& source,
                   platform::Dialogs& dialogs);

}  // namespace tamux::win32
