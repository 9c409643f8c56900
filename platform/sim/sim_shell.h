// The simulated shell: records every ShellExecute call and answers it from a script (default: a
// success value of 42), setting the thread's last error for failures as ShellExecuteA does on
// NT, or leaving it as it was, as it may elsewhere. The system's error texts are the English
// ones of Windows.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace tamux::sim {

struct ShellExecuteCall {
    std::string verb, file, parameters, directory;
    int show = 0;
};

class SimShell : public platform::Shell {
  public:
    SimShell() = default;

    // platform::Shell
    std::intptr_t shellExecute(std::string_view verb, std::string_view file,
                               std::string_view parameters, std::string_view directory,
                               int show) override;
    std::uint32_t lastError() override { return lastError_; }
    std::string systemMessage(std::uint32_t code) override;

    // Test hooks.
    const std::vector<ShellExecuteCall>& calls() const { return calls_; }
    // The answer of the next call not yet scripted; later calls get the default result. The last
    // error of a result of 32 or less is `lastError`, or the one ShellExecuteA sets for it.
    void queueResult(std::intptr_t result, std::optional<std::uint32_t> lastError = std::nullopt);
    // The answer of every call once the queue is empty (42 at first).
    void setDefaultResult(std::intptr_t result) { defaultResult_ = result; }
    void setLastError(std::uint32_t code) { lastError_ = code; }
    // False: failures leave the last error as it was (ShellExecuteA does not promise to set it).
    void setSetsLastError(bool sets) { setsLastError_ = sets; }
    // Replaces or adds the system's text for `code`.
    void setSystemMessage(std::uint32_t code, std::string text) {
        messages_[code] = std::move(text);
    }

    // The Win32 error that ShellExecuteA leaves for one of its failure results (SE_ERR_...).
    static std::uint32_t lastErrorForResult(std::intptr_t result);
    // The English text FormatMessageA gives for the common codes, "" for others.
    static std::string englishSystemMessage(std::uint32_t code);

  private:
    struct Answer {
        std::intptr_t result;
        std::optional<std::uint32_t> lastError;
    };
    std::vector<ShellExecuteCall> calls_;
    std::deque<Answer> queue_;
    std::intptr_t defaultResult_ = 42;
    std::uint32_t lastError_ = 0;
    bool setsLastError_ = true;
    std::map<std::uint32_t, std::string> messages_;
};

}  // namespace tamux::sim
