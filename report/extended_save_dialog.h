// ExtendedSaveDialog: the report window's save dialog. On Windows 2000 and later it shows the
// places bar at the dialog's left (or hides it, as ShowPlacesBar says); older systems know only the
// plain dialog and get that.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/system.h"

namespace tamux {

class ExtendedSaveDialog {
  public:
    ExtendedSaveDialog(platform::Dialogs& dialogs, platform::System& system)
        : dialogs_(dialogs), system_(system) {}

    std::string filter;      // "description|pattern|..." pairs
    int filterIndex = 1;     // the pair selected when the dialog opens, from 1
    std::string defaultExt;  // added by the dialog to a name typed without one
    std::string fileName;    // the proposed name, and the chosen one after Execute
    bool overwritePrompt = false;
    bool showPlacesBar = true;

    // Runs the dialog. True, with FileName set to the chosen file, when the user confirmed a
    // name; false (FileName unchanged) when the dialog was cancelled.
    bool execute();

    // What Execute asks the system's dialog for on this system: the extended structure on NT 5
    // and later.
    platform::SaveDialogRequest request();

  private:
    platform::Dialogs& dialogs_;
    platform::System& system_;
};

}  // namespace tamux
