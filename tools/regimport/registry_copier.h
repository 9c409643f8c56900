// Copies a registry tree, read through the Registry service (normally a simulated registry
// loaded from .reg files), into the real registry with RegCreateKeyExA and RegSetValueExA.
#pragma once

#include <string>

#include "platform/registry.h"
#include "platform/win32/windows_support.h"

namespace tamux::regimport {

struct CopyResult {
    int keys = 0;
    int values = 0;
    long error = 0;        // the first failure's status, 0 when everything was copied
    std::string failedAt;  // the source path where it happened
};

// Copies every key and value below `root` of `source` (the root's own values included) into
// `destination`, creating keys as needed and replacing values of the same name. Stops at the
// first failure.
CopyResult copyTree(platform::Registry& source, platform::RootKey root, HKEY destination);

}  // namespace tamux::regimport
