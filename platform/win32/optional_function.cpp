#include "platform/win32/optional_function.h"

#include <array>
#include <cstddef>
#include <iterator>

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

FARPROC lookUp(platform::OptionalFunction function) {
    const platform::ExportName name = platform::exportNameOf(function);
    HMODULE module = GetModuleHandleA(name.dll);
    if (!module) module = LoadLibraryA(name.dll);
    return module ? GetProcAddress(module, name.function) : nullptr;
}

std::array<FARPROC, kCount> lookUpAll() {
    std::array<FARPROC, kCount> found{};
    if (fallbacksForced()) return found;
    for (std::size_t i = 0; i < kCount; ++i) found[i] = lookUp(platform::kOptionalFunctions[i]);
    return found;
}

}  // namespace

FARPROC findOptionalFunction(platform::OptionalFunction function) {
    static const std::array<FARPROC, kCount> found = lookUpAll();
    for (std::size_t i = 0; i < kCount; ++i) {
        if (platform::kOptionalFunctions[i] == function) return found[i];
    }
    return nullptr;
}

}  // namespace tamux::win32
