// Turning id lists into the lines of the suite's device databases, and enciphering them.
//
// A vendor line is "<bus> <vendor id>.=<vendor name>": its key holds a blank, and hardware ids
// never do, so a vendor line never names a device itself. Device lines are "<key>=<name>" with
// keys that occur in Windows hardware ids: "VEN_8086&DEV_7110" (PCI), "VID_046D&PID_C00E" (USB
// and HID), "PNP0303" (ACPI and legacy Plug and Play), and 24-character PCI subsystem keys
// "80867110 SUBSYS 197615AD" whose blank-free first and last 8 characters are vendor, device and
// SUBSYS_ value. A device's subsystem lines come before its own line, so that the more precise
// name is found first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/dbgen/id_lists.h"

namespace tamux::dbgen {

struct DatabaseSet {
    std::vector<std::string> keyboard;  // Keyboard.txt
    std::vector<std::string> mouse;     // Mouse.txt
    std::vector<std::string> other;     // other.txt: everything
};

// Whether a USB product's name says it is a keyboard, or a mouse (trackballs and touchpads
// included).
bool isKeyboardName(std::string_view name);
bool isMouseName(std::string_view name);

std::string vendorLineOf(std::string_view bus, std::string_view id, std::string_view name);
std::string deviceLine(std::string_view key, std::string_view name);
std::string pciSubsystemKey(std::string_view vendor, std::string_view device,
                            std::string_view subvendor, std::string_view subdevice);

// The three databases' plain lines. `pnpVendor` names the vendor of the PNP ids.
DatabaseSet buildDatabases(const std::vector<IdVendor>& pci, const std::vector<IdVendor>& usb,
                           const std::vector<PnpDevice>& pnp, std::string_view pnpVendor);

// Each line enciphered with the database keys, one per line, CR LF after each.
std::string encipherDatabase(const std::vector<std::string>& lines);

}  // namespace tamux::dbgen
