// ExplorerButton: the flat buttons of the main window's top bar. A picture at the left and the
// caption beside it, over the parent's background; the caption is white while the button is
// under the pointer or has the focus and in the unselected colour otherwise. The button keeps
// three pictures - Bitmap (the one shown), NoFocusBitmap and DisabledBitmap - which the window
// swaps as the pointer and the focus come and go.
#pragma once

#include <functional>
#include <string>

#include "ui/markup_layout.h"
#include "ui/win32/flat_button.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

class ExplorerButton : public FlatButton {
  public:
    struct CreateArgs {
        Placement placement;
        std::string caption;
        Picture bitmap;
        Picture noFocusBitmap;
        Picture disabledBitmap;
        FontSpec font;
        Color captionColor = Color::rgb(255, 255, 255);
        Color unselectedTextColor = Color::rgb(192, 192, 192);
    };

    explicit ExplorerButton(const CreateArgs& args);

    Picture bitmap() const { return bitmap_; }
    void setBitmap(Picture picture);
    Picture noFocusBitmap() const { return args_.noFocusBitmap; }
    Picture disabledBitmap() const { return args_.disabledBitmap; }
    void setCaption(const std::string& caption);
    const std::string& caption() const { return args_.caption; }

    std::function<void()> onClick;
    std::function<void()> onMouseMove;  // every pointer move over the button
    std::function<void()> onExit;       // the button lost the input focus

  private:
    void paintClient(HDC dc) override;
    void clicked() override;
    void pointerMoved() override;
    void focusLost() override;

    CreateArgs args_;
    Picture bitmap_;
    FontCache fonts_;
};

}  // namespace tamux::win32
