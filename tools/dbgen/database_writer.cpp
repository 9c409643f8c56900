#include "tools/dbgen/database_writer.h"

#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"

namespace tamux::dbgen {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool containsAny(std::string_view name, std::initializer_list<std::string_view> words) {
    const std::string text = lower(name);
    for (std::string_view word : words) {
        if (text.find(word) != std::string::npos) return true;
    }
    return false;
}

// The name ends at its first "#" in a vendor line; keep the number the "#" stood for.
std::string vendorName(std::string_view name) {
    std::string text(name);
    replaceAll(text, "#", "No.");
    return text;
}

// In a device line the name ends at "_0", and ".=" would make it a vendor line.
std::string deviceName(std::string_view name) {
    std::string text(name);
    replaceAll(text, "_0", "-0");
    replaceAll(text, ".=", ". =");
    return text;
}

// Appends the vendors' devices to `lines`, each vendor that has any under its vendor line.
// `keep` chooses the devices.
template <typename Keep>
void appendUsb(std::vector<std::string>& lines, const std::vector<IdVendor>& usb, Keep keep) {
    for (const IdVendor& vendor : usb) {
        bool vendorWritten = false;
        for (const IdDevice& device : vendor.devices) {
            if (!keep(device)) continue;
            if (!vendorWritten) {
                lines.push_back(vendorLineOf("USB", vendor.id, vendor.name));
                vendorWritten = true;
            }
            lines.push_back(deviceLine("VID_" + vendor.id + "&PID_" + device.id, device.name));
        }
    }
}

void appendPnp(std::vector<std::string>& lines, const std::vector<PnpDevice>& pnp,
               std::string_view pnpVendor, std::string_view className) {
    bool vendorWritten = false;
    for (const PnpDevice& device : pnp) {
        if (!className.empty() && device.className != className) continue;
        if (!vendorWritten) {
            lines.push_back(vendorLineOf("EISA", "PNP", pnpVendor));
            vendorWritten = true;
        }
        lines.push_back(deviceLine(device.id, device.name));
    }
}

}  // namespace

bool isKeyboardName(std::string_view name) {
    return containsAny(name, {"keyboard", "keypad"});
}

bool isMouseName(std::string_view name) {
    return containsAny(name, {"mouse", "mice", "trackball", "touchpad", "trackpoint"});
}

std::string vendorLineOf(std::string_view bus, std::string_view id, std::string_view name) {
    return std::string(bus) + " " + std::string(id) + ".=" + vendorName(name);
}

std::string deviceLine(std::string_view key, std::string_view name) {
    return std::string(key) + "=" + deviceName(name);
}

std::string pciSubsystemKey(std::string_view vendor, std::string_view device,
                            std::string_view subvendor, std::string_view subdevice) {
    // SUBSYS_ carries the subsystem's device id first, then its vendor id.
    return std::string(vendor) + std::string(device) + " SUBSYS " + std::string(subdevice) +
           std::string(subvendor);
}

DatabaseSet buildDatabases(const std::vector<IdVendor>& pci, const std::vector<IdVendor>& usb,
                           const std::vector<PnpDevice>& pnp, std::string_view pnpVendor) {
    DatabaseSet set;
    appendPnp(set.keyboard, pnp, pnpVendor, "Keyboard");
    appendUsb(set.keyboard, usb, [](const IdDevice& d) { return isKeyboardName(d.name); });
    appendPnp(set.mouse, pnp, pnpVendor, "Mouse");
    appendUsb(set.mouse, usb, [](const IdDevice& d) { return isMouseName(d.name); });

    appendPnp(set.other, pnp, pnpVendor, "");
    for (const IdVendor& vendor : pci) {
        set.other.push_back(vendorLineOf("PCI", vendor.id, vendor.name));
        for (const IdDevice& device : vendor.devices) {
            for (const IdSubsystem& sub : device.subsystems) {
                set.other.push_back(deviceLine(
                    pciSubsystemKey(vendor.id, device.id, sub.subvendor, sub.subdevice), sub.name));
            }
            set.other.push_back(deviceLine("VEN_" + vendor.id + "&DEV_" + device.id, device.name));
        }
    }
    appendUsb(set.other, usb, [](const IdDevice&) { return true; });
    return set;
}

std::string encipherDatabase(const std::vector<std::string>& lines) {
    CryptLib crypt;
    useDatabaseKeys(crypt);
    std::string text;
    for (const std::string& line : lines) {
        text += crypt.encryptString(line);
        text += "\r\n";
    }
    return text;
}

}  // namespace tamux::dbgen
