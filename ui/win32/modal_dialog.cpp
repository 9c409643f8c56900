#include "ui/win32/modal_dialog.h"

#include <vector>

#include "ui/win32/modal_loop.h"
#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

namespace {

constexpr UINT kTakeForeground = WM_APP + 1;

}  // namespace

INT_PTR ModalDialog::run(HWND owner, const Frame& frame) {
    // DLGTEMPLATE, then empty menu, class and title; the size is set once the window exists.
    std::vector<WORD> memory(16, 0);
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(memory.data());
    dialogTemplate->style = frame.style;
    dialogTemplate->cdit = 0;
    frame_ = &frame;
    ended_ = false;
    result_ = 0;
    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, owner,
                                             dialogProc, reinterpret_cast<LPARAM>(this));
    if (window) {
        runModal(window, owner, ended_);
        DestroyWindow(window);
    }
    frame_ = nullptr;
    window_ = nullptr;
    return window ? result_ : -1;
}

void ModalDialog::end(INT_PTR result) {
    if (window_ && !ended_) {
        ended_ = true;
        result_ = result;
    }
}

void ModalDialog::place(const Frame& frame) {
    int width = frame.width, height = frame.height;
    if (frame.clientSize) {
        RECT outer, client;
        GetWindowRect(window_, &outer);
        GetClientRect(window_, &client);
        width += (outer.right - outer.left) - client.right;
        height += (outer.bottom - outer.top) - client.bottom;
    }
    const POINT at = centredOnScreen(width, height);
    SetWindowPos(window_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModalDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->window_ = window;
        SetWindowTextA(window, dialog->frame_->title.c_str());
        dialog->place(*dialog->frame_);
        dialog->onInit();
        // Opened by the user, it takes the foreground once it shows, even when its process had
        // none yet (a program started from another one).
        PostMessageA(window, kTakeForeground, 0, 0);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    switch (message) {
        case kTakeForeground:
            SetForegroundWindow(window);
            dialog->onShown();
            return TRUE;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            dialog->paintBackground(reinterpret_cast<HDC>(wParam), client);
            SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
            return TRUE;
        }
        case WM_CLOSE:
            dialog->onCloseRequest();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                dialog->onCloseRequest();
                return TRUE;
            }
            // Enter has no default button to press here.
            return LOWORD(wParam) == IDOK ? TRUE : FALSE;
        case WM_DESTROY:
            // A window destroyed from outside ends its loop too.
            dialog->ended_ = true;
            dialog->onDestroy();
            SetWindowLongPtrA(window, DWLP_USER, 0);
            return FALSE;
    }
    return FALSE;
}

}  // namespace tamux::win32
