// The application's last word on an error: errors that propagate out of a start-up step or an
// event handler end there and are shown to the user in a message box, and the program goes on.
#pragma once

#include <exception>
#include <utility>

#include "platform/dialogs.h"

namespace tamux {

// An error message box: the error's text, the application's title as caption, one OK button.
void showException(platform::Dialogs& dialogs, const std::exception& error);

// Runs `work`; an error it raises is shown with showException. Returns whether it ran through.
template <typename Work>
bool runReportingErrors(platform::Dialogs& dialogs, Work&& work) {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::exception& error) {
        showException(dialogs, error);
        return false;
    }
}

}  // namespace tamux
