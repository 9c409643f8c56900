// One capture: the program started on the machine as tamux.exe starts, the report of every entry
// saved, and every service answer on the way recorded and turned into a machine folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/capture/capture_writer.h"

namespace tamux::capture {

struct CaptureResult {
    MachineFiles files;
    std::string report;                 // the report of every entry, as tamux.exe saves it
    std::vector<std::string> messages;  // message boxes the program showed
    std::vector<std::string> warnings;  // what the folder cannot hold
};

// Raises tamux::Error when the program raises or saves no report.
CaptureResult captureMachine(platform::Platform platform,
                             const std::optional<ClockPictures>& pictures);

}  // namespace tamux::capture
