#include "app/exception_report.h"

#include "app/app_state.h"

namespace tamux {

void showException(platform::Dialogs& dialogs, const std::exception& error) {
    dialogs.messageBox(error.what(), kApplicationTitle,
                       platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace tamux
