// GDI helpers shared by the controls: owned GDI objects, colours, and selecting into a DC for
// the length of a scope.
#pragma once

#include "platform/win32/windows_support.h"
#include "ui/color.h"

namespace tamux::win32 {

// A memory DC (CreateCompatibleDC); DcTraits deletes it.
using ScopedMemoryDc = ScopedDc;

// The COLORREF of a colour, system colours as they are set now.
COLORREF toColorRef(const Color& color);

// Selects an object into a DC and puts the previous one back at the end of the scope.
class SelectInDc {
  public:
    SelectInDc(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectInDc() { SelectObject(dc_, previous_); }
    SelectInDc(const SelectInDc&) = delete;
    SelectInDc& operator=(const SelectInDc&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

void fillSolid(HDC dc, const RECT& area, COLORREF color);

// A one-pixel frame.
void frameSolid(HDC dc, const RECT& area, COLORREF color);

// Two-colour 3D edges: top and left in `topLeft`, bottom and right in `bottomRight`.
void frame3D(HDC dc, const RECT& area, COLORREF topLeft, COLORREF bottomRight);

// Off-screen painting: draw into dc(), then the destructor copies the whole area to the target,
// so the window never shows a half-drawn state.
class BufferedPaint {
  public:
    BufferedPaint(HDC target, const RECT& area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return memory_.get(); }

  private:
    HDC target_;
    RECT area_;
    ScopedMemoryDc memory_;
    ScopedGdiObject bitmap_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace tamux::win32
