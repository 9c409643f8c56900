#include "platform/sim/sim_dialogs.h"

namespace tamux::sim {

namespace {

constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdTryAgain = 10;
constexpr int kIdContinue = 11;

}  // namespace

int SimDialogs::defaultButton(std::uint32_t type) {
    using namespace platform::mb;
    // The buttons of each MB_ button set, left to right.
    static const std::vector<std::vector<int>> kButtons = {
        {kIdOk},                                // MB_OK
        {kIdOk, kIdCancel},                     // MB_OKCANCEL
        {kIdAbort, kIdRetry, kIdIgnore},        // MB_ABORTRETRYIGNORE
        {kIdYes, kIdNo, kIdCancel},             // MB_YESNOCANCEL
        {kIdYes, kIdNo},                        // MB_YESNO
        {kIdRetry, kIdCancel},                  // MB_RETRYCANCEL
        {kIdCancel, kIdTryAgain, kIdContinue},  // MB_CANCELTRYCONTINUE
    };
    const std::uint32_t set = type & 0xF;
    if (set >= kButtons.size()) return kIdOk;
    const auto& buttons = kButtons[set];
    // MB_DEFBUTTON2..4 pick another button; one beyond the set falls back to the first.
    const std::size_t index = (type >> 8) & 0xF;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

int SimDialogs::messageBox(std::string_view text, std::string_view caption, std::uint32_t type) {
    messageBoxes_.push_back({std::string(text), std::string(caption), type});
    if (messageBoxAnswers_.empty()) return defaultButton(type);
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

std::optional<std::string> SimDialogs::saveFile(const platform::SaveDialogRequest& request) {
    saveRequests_.push_back(request);
    if (saveAnswers_.empty()) return std::nullopt;
    auto answer = std::move(saveAnswers_.front());
    saveAnswers_.pop_front();
    return answer;
}

std::unique_ptr<platform::PrintCanvas> SimDialogs::printDialog() {
    ++printDialogCount_;
    if (printAnswers_.empty()) return nullptr;
    const auto answer = printAnswers_.front();
    printAnswers_.pop_front();
    if (!answer) return nullptr;
    auto canvas = std::make_unique<RecordingCanvas>(*answer);
    printJobs_.push_back(canvas->log());
    return canvas;
}

}  // namespace tamux::sim
