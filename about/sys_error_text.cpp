#include "about/sys_error_text.h"

#include "platform/shell_result.h"

namespace tamux {

namespace {

std::string trimmedSystemText(platform::Shell& shell, std::uint32_t code) {
    std::string text = shell.systemMessage(code);
    while (!text.empty()) {
        // Compared as bytes: a char is signed here, and a letter such as 0xE1 must not count as
        // a control character.
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last >= '!' && last != '.') break;
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string sysErrorText(platform::Shell& shell, std::uint32_t code) {
    return "SysErr: " + trimmedSystemText(shell, code);
}

std::string shellFailureText(platform::Shell& shell, std::intptr_t result) {
    std::string text = trimmedSystemText(shell, platform::win32ErrorOfShellResult(result));
    if (text.empty()) text = platform::shellResultText(result);
    return "SysErr: " + text;
}

}  // namespace tamux
