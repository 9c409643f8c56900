// TImage: one picture on its parent's background, at its natural size (centred) or stretched
// to the control. TBevel: a sunken line or frame that separates parts of a window.
#pragma once

#include "ui/win32/control.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

class TImage : public Control {
  public:
    struct CreateArgs {
        Placement placement;
        Picture picture;
        bool stretch = false;
    };

    explicit TImage(const CreateArgs& args);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;
    CreateArgs args_;
};

class TBevel : public Control {
  public:
    enum class Shape { TopLine, Frame };
    struct CreateArgs {
        Placement placement;
        Shape shape = Shape::TopLine;
        bool raised = false;
    };

    explicit TBevel(const CreateArgs& args);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;
    CreateArgs args_;
};

}  // namespace tamux::win32
