// The base of every control of the library: one child window whose messages reach a C++ object.
// The object owns the window: destroying the object destroys the window, and a window destroyed
// with its parent leaves the object without a handle.
#pragma once

#include <string>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// Where a control goes: its parent, its place in the parent's client area and its id.
struct Placement {
    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    int id = 0;
};

class Control {
  public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND handle() const { return handle_; }
    void setVisible(bool visible);
    virtual void setEnabled(bool enabled);
    bool enabled() const;
    void invalidate();
    std::string text() const;

  protected:
    Control() = default;
    // Registers the class on first use (no class brush: every control paints its whole area).
    bool create(const char* className, const Placement& placement, DWORD style, DWORD exStyle = 0,
                HCURSOR cursor = nullptr);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    // For controls that draw their whole client area in paintClient: handles WM_ERASEBKGND
    // (nothing to erase), WM_PAINT (drawn off-screen, then copied: no flicker) and
    // WM_PRINTCLIENT (drawn into the given DC, for a control lying over this one). Returns
    // whether the message was one of these.
    bool handlePaint(UINT message, WPARAM wParam);
    virtual void paintClient(HDC) {}

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND handle_ = nullptr;
};

// Paints what lies under `child`: the parent's background (the parent erases into `dc` shifted
// to the child's place), then the visible siblings below the child that it overlaps (each paints
// itself on WM_PRINTCLIENT). Controls that draw over a tiled panel or a gradient band look
// transparent this way; a control meant to lie over another must be above it in the z-order.
void paintParentBackground(HWND child, HDC dc);

// Client coordinates of a mouse message.
int mouseX(LPARAM lParam);
int mouseY(LPARAM lParam);

// Asks for WM_MOUSELEAVE once the pointer leaves the window.
void trackMouseLeave(HWND window);

}  // namespace tamux::win32
