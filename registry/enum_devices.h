// Building the device table from the registry's device tree. Which trees are walked depends on
// the Windows family: the NT 5.x device tree, the 9x configuration manager (HKEY_DYN_DATA), or
// the NT 4 root devices. Keys are opened for reading only.
#pragma once

#include "platform/parallel.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "registry/devices.h"

namespace tamux {

// Empties `table` and appends one record per device instance, walk by walk: the two NT 5.x
// walks (Windows 2000, XP), the configuration manager walk by class GUID (9x) and by class name
// (Windows 95 only, so Windows 95 lists each device twice), the NT 4 walk. On NT 6 and later no
// walk runs. A registry error (RegistryError) ends the enumeration where it occurs and
// propagates; the records appended so far, the one being filled included, stay in the table.
// With `parallel`, the NT 5.x walk of a machine with many devices goes through two halves of them
// side by side, with the same records and errors; `registry` must then answer two threads at
// once.
void readDeviceTable(platform::Registry& registry, platform::System& system, DeviceTable& table,
                     platform::Parallel* parallel = nullptr);

}  // namespace tamux
