// Functions the program uses where Windows has them and does without where it does not. The
// program starts on Windows 95 and NT 4, so none of these may be in its import table: each is
// looked up by name when first needed, and every caller keeps a way of its own for a system that
// lacks it.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace tamux::platform {

enum class OptionalFunction {
    TrackMouseEvent,        // USER32: Windows 98, NT 4 and later
    ComctlTrackMouseEvent,  // COMCTL32's _TrackMouseEvent: common controls 4.70 and later
    AlphaBlend,             // MSIMG32: Windows 98, 2000 and later
    GradientFill,           // MSIMG32: Windows 98, 2000 and later
    FileAttributesEx,       // KERNEL32's GetFileAttributesExA: Windows 98, NT 4 and later
    ReplacingMove,          // KERNEL32's MoveFileExA: NT only (9x exports one that always fails)
};

inline constexpr OptionalFunction kOptionalFunctions[] = {
    OptionalFunction::TrackMouseEvent,  OptionalFunction::ComctlTrackMouseEvent,
    OptionalFunction::AlphaBlend,       OptionalFunction::GradientFill,
    OptionalFunction::FileAttributesEx, OptionalFunction::ReplacingMove};

struct ExportName {
    const char* dll;
    const char* function;
};

// The library that exports the function and the name it exports it under.
ExportName exportNameOf(OptionalFunction function);

// Whether a fresh installation of the Windows that `version` describes exports the function (a
// Windows 95 with a later Internet Explorer may have more; the program copes either way).
bool presentOnFreshInstall(OptionalFunction function, const OsVersionInfo& version);

// The environment variable that makes the program take its own way everywhere, as on Windows 95:
// set to anything but "" or "0".
inline constexpr char kForceFallbacksVariable[] = "TAMUX_FORCE_FALLBACKS";
bool forcesFallbacks(std::string_view variableValue);

}  // namespace tamux::platform
