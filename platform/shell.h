// Shell service: starting programs and documents, and the system's error texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamux::platform {

constexpr int kSwShowNormal = 1;

class Shell {
  public:
    virtual ~Shell() = default;

    // ShellExecuteA(no owner, verb, file, parameters, directory, show). An empty verb is the
    // default verb (a null pointer), an empty parameters or directory text is a null pointer.
    // Returns the function's result: above 32 on success, an error code of 32 or less otherwise
    // (the thread's last error is then set as the real function sets it).
    virtual std::intptr_t shellExecute(std::string_view verb, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int show) = 0;

    // GetLastError of the calling thread.
    virtual std::uint32_t lastError() = 0;

    // FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, code, default
    // language) into a 256-byte buffer: the system's text for `code`, unchanged (line break
    // included), or empty when the system has none.
    virtual std::string systemMessage(std::uint32_t code) = 0;
};

}  // namespace tamux::platform
