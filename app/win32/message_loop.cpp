#include "app/win32/message_loop.h"

#include "app/exception_report.h"

namespace tamux::win32 {

AppMessage Win32MessageSource::accept(const MSG& message) {
    current_ = message;
    return AppMessage{reinterpret_cast<std::uintptr_t>(message.hwnd), message.message,
                      static_cast<std::uintptr_t>(message.wParam),
                      static_cast<std::intptr_t>(message.lParam)};
}

bool Win32MessageSource::takeMessage(AppMessage& message) {
    MSG taken;
    if (!PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE)) return false;
    if (taken.message == WM_QUIT) {
        // Pending work is processed in the middle of an operation; ending is the loop's.
        PostQuitMessage(static_cast<int>(taken.wParam));
        return false;
    }
    message = accept(taken);
    return true;
}

void Win32MessageSource::dispatch(const AppMessage& message) {
    MSG msg = current_;
    msg.hwnd = reinterpret_cast<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = static_cast<WPARAM>(message.wParam);
    msg.lParam = static_cast<LPARAM>(message.lParam);
    if (dialogWindow_ && IsDialogMessageA(dialogWindow_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int runMessageLoop(Application& application, Win32MessageSource& source,
                   platform::Dialogs& dialogs) {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        AppMessage message = source.accept(msg);
        runReportingErrors(dialogs, [&] { application.handleMessage(message); });
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace tamux::win32
