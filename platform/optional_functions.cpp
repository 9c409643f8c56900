#include "platform/optional_functions.h"

namespace tamux::platform {

namespace {

struct Generation {
    bool windows98;  // 98, Me and later on the 9x platform
    bool nt4;        // NT 4.0 and later
    bool nt5;        // 2000 and later
};

Generation generationOf(const OsVersionInfo& version) {
    const std::uint32_t major = version.majorVersion, minor = version.minorVersion;
    switch (version.platformId) {
        case platform_id::kWindows:
            return {major > 4 || (major == 4 && minor >= 10), false, false};
        case platform_id::kNt:
            return {false, major >= 4, major >= 5};
        default:
            return {false, false, false};
    }
}

}  // namespace

ExportName exportNameOf(OptionalFunction function) {
    switch (function) {
        case OptionalFunction::TrackMouseEvent:
            return {"USER32.DLL", "TrackMouseEvent"};
        case OptionalFunction::ComctlTrackMouseEvent:
            return {"COMCTL32.DLL", "_TrackMouseEvent"};
        case OptionalFunction::AlphaBlend:
            return {"MSIMG32.DLL", "AlphaBlend"};
        case OptionalFunction::GradientFill:
            return {"MSIMG32.DLL", "GradientFill"};
        case OptionalFunction::FileAttributesEx:
            return {"KERNEL32.DLL", "GetFileAttributesExA"};
        case OptionalFunction::ReplacingMove:
            return {"KERNEL32.DLL", "MoveFileExA"};
    }
    return {"", ""};
}

bool presentOnFreshInstall(OptionalFunction function, const OsVersionInfo& version) {
    const Generation is = generationOf(version);
    switch (function) {
        case OptionalFunction::TrackMouseEvent:
        case OptionalFunction::FileAttributesEx:
            return is.windows98 || is.nt4;
        case OptionalFunction::ComctlTrackMouseEvent:
            // NT 4 shipped the common controls of Windows 95 (4.00); 98 and 2000 ship 4.72 and 5.8.
        case OptionalFunction::AlphaBlend:
        case OptionalFunction::GradientFill:
            return is.windows98 || is.nt5;
        case OptionalFunction::ReplacingMove:
            return is.nt4;
    }
    return false;
}

bool forcesFallbacks(std::string_view variableValue) {
    return !variableValue.empty() && variableValue != "0";
}

}  // namespace tamux::platform
