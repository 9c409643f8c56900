// The device table: one record per device instance that the registry's device tree shows, in
// the order the walks found them. Records are identified by their position only.
#pragma once

#include <string>
#include <vector>

namespace tamux {

struct DeviceEntry {
    // During the walks the class identifier (class GUID, or the class name in the Windows 95
    // walk); afterwards the class description, the class key's default value.
    std::string classDesc;
    // "Keyboard", "Mouse", ...; the database lookup may set it to the class it looked up.
    std::string className;
    // The instance key, relative to HKEY_LOCAL_MACHINE.
    std::string keyPath;
    // "friendlyname" when present, else "DeviceDesc".
    std::string description;
    // The driver's key, relative to HKEY_LOCAL_MACHINE.
    std::string driverKey;
    // NT 4: the service's adapter string; elsewhere vendor name, blank, device name from the
    // database lookup.
    std::string displayName;
    // Upper-cased hardware id (NT: the "HardwareID" strings run together; 9x: the hardware key).
    std::string hardwareID;
    // NT 5.x: has "CompatibleIDs"; 9x: not a network or software device; NT 4: has
    // "ConfigFlags".
    bool hwFlag = false;
    std::string vendorName;
    std::string DeviceName;
    std::string vendorExtra;
    std::string deviceExtra;

    bool operator==(const DeviceEntry&) const = default;
};

using DeviceTable = std::vector<DeviceEntry>;

}  // namespace tamux
