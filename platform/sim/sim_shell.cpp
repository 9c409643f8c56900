#include "platform/sim/sim_shell.h"

#include "platform/shell_result.h"

namespace tamux::sim {

std::intptr_t SimShell::shellExecute(std::string_view verb, std::string_view file,
                                     std::string_view parameters, std::string_view directory,
                                     int show) {
    calls_.push_back({std::string(verb), std::string(file), std::string(parameters),
                      std::string(directory), show});
    Answer answer{defaultResult_, std::nullopt};
    if (!queue_.empty()) {
        answer = queue_.front();
        queue_.pop_front();
    }
    if (answer.result <= 32 && setsLastError_) {
        lastError_ = answer.lastError.value_or(lastErrorForResult(answer.result));
    }
    return answer.result;
}

void SimShell::queueResult(std::intptr_t result, std::optional<std::uint32_t> lastError) {
    queue_.push_back({result, lastError});
}

std::uint32_t SimShell::lastErrorForResult(std::intptr_t result) {
    return platform::win32ErrorOfShellResult(result);
}

std::string SimShell::englishSystemMessage(std::uint32_t code) {
    switch (code) {
        case 0:
            return "The operation completed successfully.\r\n";
        case 2:
            return "The system cannot find the file specified.\r\n";
        case 3:
            return "The system cannot find the path specified.\r\n";
        case 5:
            return "Access is denied.\r\n";
        case 6:
            return "The handle is invalid.\r\n";
        case 8:
            return "Not enough storage is available to process this command.\r\n";
        case 11:
            return "An attempt was made to load a program with an incorrect format.\r\n";
        case 31:
            return "A device attached to the system is not functioning.\r\n";
        case 32:
            return "The process cannot access the file because it is being used by another "
                   "process.\r\n";
        case 1155:
            return "No application is associated with the specified file for this operation.\r\n";
        case 1156:
            return "An error occurred in sending the command to the application.\r\n";
        case 1157:
            return "One of the library files needed to run this application cannot be found.\r\n";
        default:
            return {};
    }
}

std::string SimShell::systemMessage(std::uint32_t code) {
    const auto custom = messages_.find(code);
    std::string text = custom != messages_.end() ? custom->second : englishSystemMessage(code);
    // FormatMessageA into the 256-byte buffer fails outright for a text that does not fit.
    if (text.size() > 255) return {};
    return text;
}

}  // namespace tamux::sim
