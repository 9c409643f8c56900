// The simulated user in front of the dialogs: every message box, save dialog and print dialog is
// recorded, and answered from a script. Unscripted message boxes answer with their default button
// (what pressing Enter does); unscripted save and print dialogs are cancelled.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/sim/recording_canvas.h"

namespace tamux::sim {

struct MessageBoxCall {
    std::string text, caption;
    std::uint32_t type = 0;
};

class SimDialogs : public platform::Dialogs {
  public:
    SimDialogs() = default;

    // platform::Dialogs
    int messageBox(std::string_view text, std::string_view caption, std::uint32_t type) override;
    std::optional<std::string> saveFile(const platform::SaveDialogRequest& request) override;
    std::unique_ptr<platform::PrintCanvas> printDialog() override;

    // Test hooks: what was shown.
    const std::vector<MessageBoxCall>& messageBoxes() const { return messageBoxes_; }
    const std::vector<platform::SaveDialogRequest>& saveRequests() const { return saveRequests_; }
    int printDialogCount() const { return printDialogCount_; }
    // The logs of the canvases handed out by printDialog, in order.
    const std::vector<std::shared_ptr<PrintLog>>& printJobs() const { return printJobs_; }

    // Test hooks: the answers, each used once, in order.
    void queueMessageBoxAnswer(int button) { messageBoxAnswers_.push_back(button); }
    void queueSavePath(std::string windowsPath) { saveAnswers_.push_back(std::move(windowsPath)); }
    void queueSaveCancel() { saveAnswers_.push_back(std::nullopt); }
    void queuePrinter(PageSetup setup = {}) { printAnswers_.push_back(setup); }
    void queuePrintCancel() { printAnswers_.push_back(std::nullopt); }

    // The button a message box of `type` answers when the user presses Enter.
    static int defaultButton(std::uint32_t type);

  private:
    std::vector<MessageBoxCall> messageBoxes_;
    std::vector<platform::SaveDialogRequest> saveRequests_;
    int printDialogCount_ = 0;
    std::vector<std::shared_ptr<PrintLog>> printJobs_;
    std::deque<int> messageBoxAnswers_;
    std::deque<std::optional<std::string>> saveAnswers_;
    std::deque<std::optional<PageSetup>> printAnswers_;
};

}  // namespace tamux::sim
