#include "app/wait_set.h"

#include <exception>

namespace tamux {

WaitSet::~WaitSet() {
    // The window goes with the dialog; the cursor is left to whoever outlives this.
    dialog_.reset();
}

void WaitSet::showWaitDialog() {
    if (dialog_) return;
    try {
        auto dialog = std::make_unique<Dialog>();
        if (views_) dialog->view = views_(dialog->texts);
        // Held before it is shown, so that a window that fails to show is still destroyed by
        // hideWaitDialog.
        dialog_ = std::move(dialog);
        if (dialog_->view) dialog_->view->show();
        setCursor(true);
    } catch (const std::exception&) {
        // The dialog only announces the work; the work goes on without it.
    }
}

void WaitSet::setWaitCaption(std::string_view caption) {
    if (!dialog_) return;
    dialog_->texts.caption = std::string(caption);
    if (dialog_->view) dialog_->view->captionChanged();
}

void WaitSet::setWaitText(std::string_view text) {
    if (!dialog_) return;
    dialog_->texts.labelWait = std::string(text);
    if (dialog_->view) dialog_->view->textChanged();
}

void WaitSet::hideWaitDialog() {
    if (!dialog_) return;
    std::unique_ptr<Dialog> dialog = std::move(dialog_);
    try {
        if (dialog->view) dialog->view->hide();
    } catch (const std::exception&) {
        // Destroying the window below removes it all the same.
    }
    dialog.reset();
    setCursor(false);
}

void WaitSet::setCursor(bool hourglass) {
    if (cursor_) cursor_(hourglass);
}

}  // namespace tamux
