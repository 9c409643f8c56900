// How the device database reads its deciphered lines.
//
// A vendor line contains ".="; its vendor name is the text after ".=", up to the first "#".
// Any other line with "=" is a device line: a key, "=", then the device name, which ends before
// the first "_0" after the "=". A key either occurs in a device's upper-cased hardware id, or is
// exactly 24 characters long and names a PCI device by its normalized key: blanks removed, its
// first 8 and last 8 characters.
//
// The "_0" and the "#" are looked for after the "=" only: keys such as "VID_046D&PID_0..." hold
// "_0" themselves, and a search from the line's start would leave such a device without a name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamux {

// The text before the first "=", or "" for an empty line or one without "=".
std::string_view lineKey(std::string_view line);

// A normalized key, held without touching the heap (it is deciphered text).
struct NormalizedKeyText {
    std::array<char, 16> text{};
    std::uint8_t size = 0;
    std::string_view view() const { return {text.data(), size}; }
    bool empty() const { return size == 0; }
};

// For a key of exactly 24 characters: blanks removed, its first 8 characters followed by its
// last 8 (fewer when less is left), upper-cased. Empty for any other key.
NormalizedKeyText normalizedKey(std::string_view key);

// The PCI key of a hardware id: the text after "VEN_" up to the "&" before "DEV_", after "DEV_"
// up to the "&" before "SUBSYS_", and after "SUBSYS_" up to the "&" before "REV_", joined. The
// same formulas apply to ids of any form; a part whose length is not positive is empty.
std::string pciKeyOf(std::string_view hardwareId);

// The three parts of the PCI key, as views into the id: the key without a copy of it.
struct PciKeyParts {
    std::array<std::string_view, 3> parts;
    std::size_t size() const { return parts[0].size() + parts[1].size() + parts[2].size(); }
};
PciKeyParts pciKeyParts(std::string_view hardwareId);

bool isVendorLine(std::string_view line);

struct VendorParts {
    std::string name;   // after ".=", up to the first "#"
    std::string extra;  // after that "#", without the line's last character
};
VendorParts parseVendorLine(std::string_view line);

struct DeviceParts {
    std::string name;   // after the first "=", up to the first "_0" after it
    std::string extra;  // from that "_0", without the line's last character
};
DeviceParts parseDeviceLine(std::string_view line);

}  // namespace tamux
