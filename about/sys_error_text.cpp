#include "about/sys_error_text.h"

namespace tamux {

std::string SysErrorText(platform::Shell& shell, std::uint32_t code) {
    std::string text = shell.systemMessage(code);
    while (!text.empty()) {
        // Compared as bytes: a char is signed here, and a letter such as 0xE1 must not count as
        // a control character.
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last >= '!' && last != '.') break;
        text.pop_back();
    }
    return "SysErr: " + text;
}

}  // namespace tamux
