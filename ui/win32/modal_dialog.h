// A modal dialog box without controls of its own, built from an in-memory template and run by
// the program's modal loop (the owner disabled, Tab between controls, WM_QUIT passed on): a window
// that the subclass fills with the component library's controls. Shared by the program's small
// dialogs.
#pragma once

#include <string>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

class ModalDialog {
  public:
    virtual ~ModalDialog() = default;

  protected:
    struct Frame {
        DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        std::string title;
        int width = 0, height = 0;  // the outer size, or the client area's with clientSize
        bool clientSize = false;
    };

    // Shows the dialog centred on the screen and returns the result given to end(), or -1
    // when it could not be created.
    INT_PTR run(HWND owner, const Frame& frame);
    // Ends the modal loop; run returns `result`. The window hides once the message being handled
    // has been.
    void end(INT_PTR result);

    HWND window() const { return window_; }

    // Creates the controls; the window has its size and title.
    virtual void onInit() = 0;
    // The window has shown and taken the foreground: the place to give a control the focus.
    virtual void onShown() {}
    // The close box, the system menu's Close and the Escape key.
    virtual void onCloseRequest() = 0;
    // Paints the window's background (the controls over it paint theirs through it too).
    virtual void paintBackground(HDC dc, const RECT& client) = 0;
    // Before the window is destroyed: the controls go first.
    virtual void onDestroy() {}

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void place(const Frame& frame);

    HWND window_ = nullptr;
    const Frame* frame_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = 0;
};

}  // namespace tamux::win32
