// GaugeBar: a horizontal bar filled to position / maximum with a gradient of three colours,
// with an optional outer and inner border and an optional percentage text. The main window uses
// it, always full, as a decorative band.
#pragma once

#include <optional>

#include "ui/color.h"
#include "ui/win32/control.h"

namespace tamux::win32 {

class GaugeBar : public Control {
  public:
    struct CreateArgs {
        Placement placement;
        int maximum = 100;
        int position = 0;
        bool showText = false;
        Color barColors[3] = {Color::rgb(64, 0, 128), Color::rgb(112, 133, 190),
                              Color::rgb(174, 187, 219)};
        std::optional<Color> outerBorder;  // none: no line
        std::optional<Color> innerBorder = Color::rgb(255, 255, 255);
    };

    explicit GaugeBar(const CreateArgs& args);
    int position() const { return args_.position; }

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintClient(HDC dc) override;

    CreateArgs args_;
};

}  // namespace tamux::win32
