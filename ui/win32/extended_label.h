// ExtendedLabel: a label that can draw its text over a drop shadow, over its parent's background
// (transparent), aligned left or right, wrapped, and act as a link (hand cursor, click events)
// with a hint.
#pragma once

#include <functional>
#include <string>

#include "ui/markup_layout.h"
#include "ui/win32/control.h"
#include "ui/win32/font_cache.h"

namespace tamux::win32 {

class ExtendedLabel : public Control {
  public:
    enum class Align { Left, Right };

    struct CreateArgs {
        Placement placement;  // width and height 0 with autoSize: sized to the text
        std::string caption;
        FontSpec font;
        bool transparent = true;
        Color background = Color::system(syscolor::kBtnFace);
        bool shadow = false;
        Color shadowColor = Color::rgb(128, 128, 128);
        int shadowOffset = 2;
        Align align = Align::Left;  // Right with autoSize keeps the right edge at x + width
        bool wordWrap = false;
        bool autoSize = true;
        bool link = false;  // hand cursor
        std::string hint;
    };

    explicit ExtendedLabel(const CreateArgs& args);

    const std::string& caption() const { return args_.caption; }
    void setCaption(const std::string& caption);
    const FontSpec& font() const { return args_.font; }
    void setFont(const FontSpec& font);
    const std::string& hint() const { return args_.hint; }

    std::function<void()> onClick;
    std::function<void()> onDblClick;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;
    void fitToText();
    UINT drawFlags() const;

    CreateArgs args_;
    int anchorRight_ = 0;
    FontCache fonts_;
    bool pointerInside_ = false;
};

}  // namespace tamux::win32
