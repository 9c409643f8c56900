// Colours of the info line markup and of the controls: either a fixed RGB value or one of the
// system's colours, which only the drawing code can resolve (the user may change them).
#pragma once

#include <cstdint>
#include <string_view>

namespace tamux {

// System colour indices, numbered as GetSysColor numbers them.
namespace syscolor {
constexpr int kScrollBar = 0;
constexpr int kBackground = 1;  // the desktop
constexpr int kActiveCaption = 2;
constexpr int kInactiveCaption = 3;
constexpr int kMenu = 4;
constexpr int kWindow = 5;
constexpr int kWindowFrame = 6;
constexpr int kMenuText = 7;
constexpr int kWindowText = 8;
constexpr int kCaptionText = 9;
constexpr int kActiveBorder = 10;
constexpr int kInactiveBorder = 11;
constexpr int kAppWorkSpace = 12;
constexpr int kHighlight = 13;
constexpr int kHighlightText = 14;
constexpr int kBtnFace = 15;
constexpr int kBtnShadow = 16;
constexpr int kGrayText = 17;
constexpr int kBtnText = 18;
constexpr int kInactiveCaptionText = 19;
constexpr int kBtnHighlight = 20;
constexpr int k3DDkShadow = 21;
constexpr int k3DLight = 22;
constexpr int kInfoText = 23;
constexpr int kInfoBk = 24;
}  // namespace syscolor

struct Color {
    bool isSystem = false;
    int systemIndex = 0;  // when isSystem
    std::uint8_t r = 0, g = 0, b = 0;

    static constexpr Color rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        Color c;
        c.r = red;
        c.g = green;
        c.b = blue;
        return c;
    }
    static constexpr Color system(int index) {
        Color c;
        c.isSystem = true;
        c.systemIndex = index;
        return c;
    }
    bool operator==(const Color&) const = default;
};

// A colour as the markup writes it: one of the sixteen named colours ("clnavy"), a system
// colour name ("clWindowText"), both compared without regard to case, or "#rrggbb". Anything
// else is black.
Color parseMarkupColor(std::string_view text);

}  // namespace tamux
