#include "platform/win32/optional_function.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

namespace tamux::win32 {

namespace {

constexpr std::size_t kCount = std::size(platform::kOptionalFunctions);

bool fallbacksForced() {
    char value[16] = {};
    const DWORD length =
        GetEnvironmentVariableA(platform::kForceFallbacksVariable, value, sizeof(value));
    // A value too long for the buffer is still a value that asks for the fallbacks.
    if (length >= sizeof(value)) return true;
    return platform::forcesFallbacks(std::string_view(value, length));
}

}  // namespace

FARPROC libraryFunction(const char* dll, const char* function) {
    HMODULE module = GetModuleHandleA(dll);
    if (!module) module = LoadLibraryA(dll);
    return module ? GetProcAddress(module, function) : nullptr;
}

FARPROC findOptionalFunction(platform::OptionalFunction function) {
    // Each is looked up when first asked for: a library that only a fallback needs (COMCTL32 for
    // mouse tracking where USER32 lacks it) is then never loaded where the system has the
    // function itself. Only the window's thread asks.
    static const bool forced = fallbacksForced();
    static std::array<std::optional<FARPROC>, kCount> found;
    for (std::size_t i = 0; i < kCount; ++i) {
        if (platform::kOptionalFunctions[i] != function) continue;
        if (!found[i]) {
            const platform::ExportName name = platform::exportNameOf(function);
            found[i] = forced ? nullptr : libraryFunction(name.dll, name.function);
        }
        return *found[i];
    }
    return nullptr;
}

}  // namespace tamux::win32
