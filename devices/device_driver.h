// What the keyboard and the mouse facts take from the device table: the first device of their
// class, the name it goes by, and the values of its driver key.
#pragma once

#include <string>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/reg_key.h"
#include "platform/registry.h"
#include "registry/devices.h"

namespace tamux {

// The first record whose class, upper-cased, is `upperClassName`; null when there is none.
inline const DeviceEntry* firstDeviceOfClass(const DeviceTable& table,
                                             std::string_view upperClassName) {
    for (const DeviceEntry& record : table) {
        if (toAsciiUpper(record.className) == upperClassName) return &record;
    }
    return nullptr;
}

// The display name, or the description when the device has none.
inline const std::string& deviceDisplayName(const DeviceEntry& record) {
    return record.displayName.empty() ? record.description : record.displayName;
}

// Reads DriverDate, DriverDesc, DriverVersion, InfPath and ProviderName of the driver key (a
// path under HKEY_LOCAL_MACHINE) into the facts' fields of the same names. A field whose value
// is missing keeps what it holds; an empty path (a device without a driver key) reads nothing.
template <typename Facts>
void readDriverValues(platform::Registry& registry, const std::string& driverKey, Facts& facts) {
    if (driverKey.empty()) return;
    RegKey driver(registry, platform::RootKey::LocalMachine, platform::KeyAccess::Read);
    driver.openKey(driverKey);
    const auto read = [&driver](std::string_view name, std::string& field) {
        if (driver.valueExists(name)) field = driver.readString(name);
    };
    read("DriverDate", facts.driverDate);
    read("DriverDesc", facts.driverDesc);
    read("DriverVersion", facts.driverVersion);
    read("InfPath", facts.infPath);
    read("ProviderName", facts.providerName);
}

}  // namespace tamux
