#include "ui/device_section.h"

namespace tamux {

SectionLine titleLine(std::string text) {
    SectionLine line;
    line.kind = LineKind::Title;
    line.label = std::move(text);
    return line;
}

SectionLine groupLine(std::string text, bool major, LineIcon icon) {
    SectionLine line;
    line.kind = LineKind::Group;
    line.icon = icon;
    line.label = std::move(text);
    line.major = major;
    return line;
}

SectionLine itemLine(LineIcon icon, Emphasis emphasis, std::string label, std::string value,
                     std::string unit) {
    SectionLine line;
    line.kind = LineKind::Item;
    line.icon = icon;
    line.emphasis = emphasis;
    line.label = std::move(label);
    line.value = std::move(value);
    line.unit = std::move(unit);
    return line;
}

SectionLine stateLine(LineIcon icon, std::string label, std::string text) {
    SectionLine line;
    line.kind = LineKind::State;
    line.icon = icon;
    line.label = std::move(label);
    line.value = std::move(text);
    return line;
}

SectionLine capabilityLine(std::string name, bool present, std::string text) {
    SectionLine line;
    line.kind = LineKind::Capability;
    line.icon = present ? LineIcon::Present : LineIcon::Absent;
    line.label = std::move(name);
    line.value = std::move(text);
    line.on = present;
    return line;
}

SectionLine paperLine(std::string name) {
    SectionLine line;
    line.kind = LineKind::Paper;
    line.icon = LineIcon::Paper;
    line.label = std::move(name);
    return line;
}

SectionLine lockIndicatorLine(LockKey key, bool on) {
    SectionLine line;
    line.kind = LineKind::Indicator;
    line.key = key;
    line.on = on;
    return line;
}

SectionLine gapLine() {
    SectionLine line;
    line.kind = LineKind::Gap;
    return line;
}

SectionLine emptyLine() {
    return SectionLine{};
}

const char* lockKeyName(LockKey key) {
    switch (key) {
        case LockKey::CapsLock:
            return "CAPS";
        case LockKey::NumLock:
            return "NUM";
        case LockKey::ScrollLock:
            return "SCROLL";
        case LockKey::Insert:
            return "INS";
    }
    return "";
}

}  // namespace tamux
