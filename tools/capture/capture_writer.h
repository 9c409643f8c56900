// A recording turned into a machine folder in the sample-machine format: machine.json and one
// registry file that platform/sim loads back into the answers the program was given.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/capture/recording.h"

namespace tamux::capture {

// The locale's date and time pictures (LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT, the AM and PM
// markers): the clock service hands out only formatted times, so the capture asks for them
// beside it.
struct ClockPictures {
    std::string shortDate, longTime, am, pm;
};

// Relative path ("machine.json", "registry/captured.reg") and content, in writing order.
using MachineFiles = std::vector<std::pair<std::string, std::string>>;

// Adds to the recording's warnings what a folder cannot hold and pictures that the simulated
// clock formats otherwise than the machine did.
MachineFiles machineFiles(Recording& recording, const std::optional<ClockPictures>& pictures,
                          const std::string& description);

// One key's values in REGEDIT4 form, in the machine's code page (exposed for the tests).
std::string regValueLine(const RecordedValue& value);

}  // namespace tamux::capture
