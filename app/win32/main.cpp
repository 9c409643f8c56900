// Program entry: the real machine's services, the application's message processing, the main
// window with its start-up sequence, and the message loop until the main window closes.
#include "app/app_state.h"
#include "app/exception_report.h"
#include "app/win32/main_form_window.h"
#include "app/win32/message_loop.h"
#include "platform/win32/real_platform.h"
#include "platform/win32/windows_support.h"
#include "ui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    using namespace tamux;
    win32::RealPlatform real;
    win32::Win32MessageSource queue;
    Application application(queue);
    AppState state(real.platform());
    int exitCode = 1;
    runReportingErrors(real.dialogs(), [&] {
        win32::MainFormWindow window(state, application);
        window.form().formCreate();
        real.dialogs().setOwner(window.handle());
        queue.setDialogWindow(window.handle());
        ShowWindow(window.handle(), show);
        UpdateWindow(window.handle());
        exitCode = win32::runMessageLoop(application, queue, real.dialogs());
        queue.setDialogWindow(nullptr);
        real.dialogs().setOwner(nullptr);
    });
    return exitCode;
}
