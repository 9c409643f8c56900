// Tiled pictures: a window's or a panel's background made of one picture repeated, and the
// section lists' wallpaper.
#pragma once

#include "ui/win32/gdi.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

// Covers `area` with copies of `tile`, the first copy's top-left corner at `origin` (so that
// neighbouring windows painting with the same origin line up).
void paintTiled(HDC dc, const RECT& area, HBITMAP tile, POINT origin = {0, 0});

// The same with one image of a strip, blended over what is already there.
void paintTiled(HDC dc, const RECT& area, const Picture& tile, POINT origin = {0, 0});

// Erases a window's client area to the button face with `tile` blended over it (the face alone
// when the tile is not valid): the background that the controls over the window show through.
void eraseToTiledFace(HWND window, HDC dc, const Picture& tile);

}  // namespace tamux::win32
