// Run-time lookup of the functions that older Windows lacks (platform/optional_functions.h): the
// program links none of them, so it starts where they are missing and asks for each by name.
#pragma once

#include "platform/optional_functions.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// The function's address, or null where the system does not export it or where the environment
// variable TAMUX_FORCE_FALLBACKS asks the program to do without. Looked up once per process; the
// library is loaded if it is not yet and stays loaded.
FARPROC findOptionalFunction(platform::OptionalFunction function);

// The address of `function` in the library `dll`, which is loaded if it is not yet and stays
// loaded; null when either cannot be found. For functions that every Windows has but only a
// user's action needs (the save and print dialogs, opening a link): the start-up then maps
// neither their libraries nor what those bring along.
FARPROC libraryFunction(const char* dll, const char* function);

// The same, as a pointer of the function's own type (e.g. decltype(&::ShellExecuteA)).
template <typename FunctionPointer>
FunctionPointer libraryFunctionAs(const char* dll, const char* function) {
    return reinterpret_cast<FunctionPointer>(
        reinterpret_cast<void (*)()>(libraryFunction(dll, function)));
}

// findOptionalFunction as a pointer of the function's own type (e.g. decltype(&::AlphaBlend)).
template <typename FunctionPointer>
FunctionPointer optionalFunctionAs(platform::OptionalFunction function) {
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<FunctionPointer>(
        reinterpret_cast<void (*)()>(findOptionalFunction(function)));
}

}  // namespace tamux::win32
