#include "ui/line_style.h"

namespace tamux {

namespace {

constexpr int kValueTabStop = 200;
constexpr int kCapabilityTabStop = 250;
constexpr int kPaperIndent = 70;
constexpr int kPrinterHeadingIndent = 50;

}  // namespace

LineStyle styleOf(DeviceKind kind, const SectionLine& line) {
    const std::string_view label = line.emphasis == Emphasis::Strong ? "clnavy" : "clblue";
    switch (line.kind) {
        case LineKind::Title:
            return {"clnavy", 12, "clnavy", 0, 0};
        case LineKind::Group:
            if (line.major) return {"clblue", 11, "clblue", 0, 0};
            return {"clgreen", 10, "clgreen",
                    kind == DeviceKind::Printer ? kPrinterHeadingIndent : 0, 0};
        case LineKind::Item:
        case LineKind::State:
            return {label, 10, "clmaroon", 0, kValueTabStop};
        case LineKind::Capability:
            return {"clblue", 10, "clmaroon", 0, kCapabilityTabStop};
        case LineKind::Paper:
            return {"clmaroon", 10, "clmaroon", kPaperIndent, 0};
        case LineKind::Indicator: {
            const std::string_view colour = line.on ? "clgreen" : "clblack";
            return {colour, 10, colour, 0, kValueTabStop};
        }
        case LineKind::Gap:
        case LineKind::Empty:
            break;
    }
    return {"clblack", 10, "clblack", 0, 0};
}

bool hasValueColumn(const SectionLine& line) {
    switch (line.kind) {
        case LineKind::Item:
        case LineKind::State:
        case LineKind::Capability:
        case LineKind::Indicator:
            return true;
        default:
            return false;
    }
}

}  // namespace tamux
