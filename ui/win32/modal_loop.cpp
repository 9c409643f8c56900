#include "ui/win32/modal_loop.h"

namespace tamux::win32 {

void runModal(HWND window, HWND owner, const bool& ended, const std::function<void()>& shown) {
    const bool ownerEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    if (shown) shown();
    MSG message;
    while (!ended) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the main loop must see it too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        if (IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (ownerEnabled) EnableWindow(owner, TRUE);
    ShowWindow(window, SW_HIDE);
    if (owner) SetActiveWindow(owner);
}

}  // namespace tamux::win32
