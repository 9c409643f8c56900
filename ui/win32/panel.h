// Panel: a rectangle in one colour, optionally covered by a tiled picture, with raised or
// lowered bevels. It paints in its background step, so that controls over it can borrow its
// look (paintParentBackground).
#pragma once

#include "ui/color.h"
#include "ui/win32/control.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

enum class Bevel { None, Raised, Lowered };

class Panel : public Control {
  public:
    struct CreateArgs {
        Placement placement;
        Color color = Color::system(syscolor::kBtnFace);
        Bevel outerBevel = Bevel::None;
        Bevel innerBevel = Bevel::None;
        HBITMAP tile = nullptr;  // an opaque picture repeated over the whole panel
        Picture tilePicture;     // or a picture with alpha, repeated over the colour
    };

    explicit Panel(const CreateArgs& args);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintBackground(HDC dc);

    CreateArgs args_;
};

}  // namespace tamux::win32
