#include "platform/win32/win32_shell.h"

#include "platform/win32/optional_function.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

// An empty text stands for a null pointer.
const char* orNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

std::intptr_t Win32Shell::shellExecute(std::string_view verb, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int show) {
    const std::string verbText(verb), fileText(file), parameterText(parameters),
        directoryText(directory);
    // SHELL32 is loaded when a link is first opened, not at start.
    static const auto shellExecuteA =
        libraryFunctionAs<decltype(&::ShellExecuteA)>("SHELL32.DLL", "ShellExecuteA");
    // Without it, the answer ShellExecute gives when the system is out of resources, with
    // LoadLibrary's error as the last error.
    if (!shellExecuteA) return 0;
    HINSTANCE result = shellExecuteA(nullptr, orNull(verbText), fileText.c_str(),
                                     orNull(parameterText), orNull(directoryText), show);
    return reinterpret_cast<std::intptr_t>(result);
}

std::uint32_t Win32Shell::lastError() {
    return GetLastError();
}

std::string Win32Shell::systemMessage(std::uint32_t code) {
    char buffer[256] = {};
    // No insert arguments are passed, so the inserts of a message such as "Insert %2 into drive
    // %1" must stay as they are: reading them from a missing argument array would crash.
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof(buffer), nullptr);
    if (length == 0 || length >= sizeof(buffer)) return {};
    return std::string(buffer, length);
}

}  // namespace tamux::win32
