// Reading the public id lists the device databases are made from: the pci.ids / usb.ids format
// of Debian's hwdata, its pnp.ids vendor list, and our list of standard Plug and Play input
// device ids.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamux::dbgen {

struct IdSubsystem {
    std::string subvendor;  // 4 hex digits, upper-case
    std::string subdevice;  // 4 hex digits, upper-case
    std::string name;
};

struct IdDevice {
    std::string id;  // 4 hex digits, upper-case
    std::string name;
    std::vector<IdSubsystem> subsystems;
};

struct IdVendor {
    std::string id;  // 4 hex digits, upper-case
    std::string name;
    std::vector<IdDevice> devices;
};

// The vendors, devices and subsystems of a pci.ids or usb.ids text, in file order. Comments and
// blank lines are skipped; the class, language and other lists that follow the vendors (any
// other line at the start of a line) end the current vendor, and their indented lines are
// ignored.
std::vector<IdVendor> parseIdList(std::string_view text);

// The vendor name of a three-letter code in a pnp.ids text ("PNP\tMicrosoft"), or "".
std::string pnpVendorName(std::string_view text, std::string_view code);

struct PnpDevice {
    std::string id;         // "PNP0303"
    std::string className;  // "Keyboard" or "Mouse"
    std::string name;
};

// Lines "id<TAB>class<TAB>name"; "#" comments and blank lines are skipped.
std::vector<PnpDevice> parsePnpList(std::string_view text);

// UTF-8 text as Windows code page 1252, the code page the databases are written in; a
// character the code page lacks becomes "?".
std::string utf8ToCp1252(std::string_view text);

}  // namespace tamux::dbgen
