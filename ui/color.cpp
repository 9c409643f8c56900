#include "ui/color.h"

#include <array>

#include "platform/ascii_case.h"

namespace tamux {

namespace {

struct NamedColor {
    std::string_view name;
    Color color;
};

constexpr std::array<NamedColor, 16> kNamedColors{{
    {"clblack", Color::rgb(0, 0, 0)},
    {"clmaroon", Color::rgb(128, 0, 0)},
    {"clgreen", Color::rgb(0, 128, 0)},
    {"clolive", Color::rgb(128, 128, 0)},
    {"clnavy", Color::rgb(0, 0, 128)},
    {"clpurple", Color::rgb(128, 0, 128)},
    {"clteal", Color::rgb(0, 128, 128)},
    {"clgray", Color::rgb(128, 128, 128)},
    {"clsilver", Color::rgb(192, 192, 192)},
    {"clred", Color::rgb(255, 0, 0)},
    {"cllime", Color::rgb(0, 255, 0)},
    {"clyellow", Color::rgb(255, 255, 0)},
    {"clblue", Color::rgb(0, 0, 255)},
    {"clfuchsia", Color::rgb(255, 0, 255)},
    {"claqua", Color::rgb(0, 255, 255)},
    {"clwhite", Color::rgb(255, 255, 255)},
}};

// Indexed by the system colour number.
constexpr std::array<std::string_view, 25> kSystemColorNames{
    "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
    "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
    "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
    "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
    "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
    "clInfoBk",
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Color parseMarkupColor(std::string_view text) {
    if (text.size() == 7 && text[0] == '#') {
        int digits[6];
        for (int i = 0; i < 6; ++i) {
            digits[i] = hexDigit(text[i + 1]);
            if (digits[i] < 0) return Color::rgb(0, 0, 0);
        }
        return Color::rgb(static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
                          static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
                          static_cast<std::uint8_t>(digits[4] * 16 + digits[5]));
    }
    for (const NamedColor& named : kNamedColors) {
        if (equalsIgnoringCase(text, named.name)) return named.color;
    }
    for (std::size_t i = 0; i < kSystemColorNames.size(); ++i) {
        if (equalsIgnoringCase(text, kSystemColorNames[i])) {
            return Color::system(static_cast<int>(i));
        }
    }
    return Color::rgb(0, 0, 0);
}

}  // namespace tamux
