// A built suite folder laid out around the program of a simulated machine, as the suite's own
// layout has it.
#pragma once

#include <filesystem>
#include <string>

#include "platform/sim/machine.h"

namespace tamux {

// From `suite` (Tamux\ with the language modules, SHARED\DATABASES\ with the device databases):
// the module of `language` beside the machine's tamux.exe, the settings file choosing that
// language, and the three databases in ..\SHARED\DATABASES. Files already there are replaced.
// Raises Error "Missing <file>" for a file the suite lacks.
void installSuite(sim::Machine& machine, const std::filesystem::path& suite,
                  const std::string& language);

}  // namespace tamux
