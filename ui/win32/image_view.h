// ImageView: one picture on its parent's background, at its natural size (centred) or stretched
// to the control. BevelLine: a sunken line or frame that separates parts of a window.
#pragma once

#include "ui/win32/control.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

class ImageView : public Control {
  public:
    struct CreateArgs {
        Placement placement;
        Picture picture;
        bool stretch = false;
    };

    explicit ImageView(const CreateArgs& args);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;
    CreateArgs args_;
};

class BevelLine : public Control {
  public:
    enum class Shape { TopLine, Frame };
    struct CreateArgs {
        Placement placement;
        Shape shape = Shape::TopLine;
        bool raised = false;
    };

    explicit BevelLine(const CreateArgs& args);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;
    CreateArgs args_;
};

}  // namespace tamux::win32
