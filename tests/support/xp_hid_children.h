// The children that Windows XP adds under Enum\HID for USB keyboards and mice, made for a
// simulated registry that holds real XP exports of the USB devices alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/reg_key.h"
#include "platform/sim/sim_registry.h"

namespace tamux::test {

// XP gives every USB HID device of boot protocol 1 (keyboard) or 2 (mouse) a child under
// Enum\HID, named by the parent's ParentIdPrefix, of class Keyboard or Mouse. The real exports
// hold only the USB parents, so the children are made from them, as XP makes them. Returns how
// many it added.
inline int addXpHidChildren(sim::SimRegistry& registry) {
    using platform::RootKey;
    const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB";
    const std::string hid = "SYSTEM\\CurrentControlSet\\Enum\\HID\\";
    RegKey key(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
    if (!key.openKey(usb)) return 0;
    int added = 0;
    for (const std::string& deviceId : key.subkeyNames()) {
        RegKey device(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
        device.openKey(usb + "\\" + deviceId);
        for (const std::string& instance : device.subkeyNames()) {
            RegKey parent(registry, RootKey::LocalMachine, platform::KeyAccess::Read);
            parent.openKey(usb + "\\" + deviceId + "\\" + instance);
            if (parent.readString("Class") != "HIDClass") continue;
            std::vector<std::uint8_t> compatible = parent.readBinaryData("CompatibleIDs");
            const std::string ids(compatible.begin(), compatible.end());
            std::string className, guid;
            if (ids.find("Prot_01") != std::string::npos) {
                className = "Keyboard";
                guid = "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
            } else if (ids.find("Prot_02") != std::string::npos) {
                className = "Mouse";
                guid = "{4D36E96F-E325-11CE-BFC1-08002BE10318}";
            } else {
                continue;
            }
            // USB\Vid_413c&Pid_2105&Rev_0352 -> HID\Vid_413c&Pid_2105&Rev_0352
            std::vector<std::uint8_t> hardwareIds = parent.readBinaryData("HardwareID");
            std::string text(hardwareIds.begin(), hardwareIds.end());
            for (std::size_t at = 0; (at = text.find("USB\\", at)) != std::string::npos;) {
                text.replace(at, 4, "HID\\");
            }
            const std::string child =
                hid + deviceId + "\\" + parent.readString("ParentIdPrefix") + "&0000";
            registry.setString(RootKey::LocalMachine, child, "DeviceDesc", className + " device");
            registry.setString(RootKey::LocalMachine, child, "Class", className);
            registry.setString(RootKey::LocalMachine, child, "ClassGUID", guid);
            registry.setValue(RootKey::LocalMachine, child, "HardwareID",
                              platform::regtype::kMultiSz,
                              std::vector<std::uint8_t>(text.begin(), text.end()));
            registry.createKey(RootKey::LocalMachine, child + "\\Control");
            ++added;
        }
    }
    return added;
}

}  // namespace tamux::test
