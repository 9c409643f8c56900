// What one printer's driver can do: the device details, the names of its paper forms and five
// sets of drawing capabilities, read by queryPrinterCaps and kept until the next query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spooler.h"

namespace tamux {

// The GetDeviceCaps indices read here.
namespace devicecaps = platform::devicecaps;

// The five sets of drawing capabilities a driver reports as bit masks.
enum class CapabilitySet { Curve, Line, Polygonal, Raster, Text };
constexpr CapabilitySet kCapabilitySets[] = {CapabilitySet::Curve, CapabilitySet::Line,
                                             CapabilitySet::Polygonal, CapabilitySet::Raster,
                                             CapabilitySet::Text};

// One capability: its label, and the bit of the set's mask that makes it
// present.
struct CapabilityMember {
    std::string_view label;
    std::uint32_t bit;
};

// The members of a set in the order of their lines (the raster set in the alphabetical order of
// the bits' names, not in bit order).
std::span<const CapabilityMember> capabilityMembers(CapabilitySet set);
// The GetDeviceCaps index whose answer is the set's mask.
int capabilityIndex(CapabilitySet set);
// The set's name ("Polygonal Capabilities").
std::string_view capabilityTitle(CapabilitySet set);

// The device details of the printer last queried, written as signed decimal numbers; empty when
// the printer gave no device context.
struct PrinterDetails {
    std::string size;          // printable width " X " height, in millimetres
    std::string resolution;    // dots per inch across " X " down
    std::string colourFormat;  // bits per pixel " / " colour planes
    std::string pens;
    std::string fonts;
    std::string colours;
    // The names of the paper forms, in the driver's order.
    std::vector<std::string> paperNames;
};

// The results of the last query, owned by whoever shows printers. Every query overwrites all of
// them; nothing is cached per printer.
class PrinterCaps {
  public:
    // The spooler must outlive this object.
    explicit PrinterCaps(platform::Spooler& spooler) : spooler_(spooler) {}

    // Asks the printer's driver again. Without a device context for the printer the six details
    // are empty and no capability is present; the paper names come from the spooler and are
    // fetched either way. The context is released before this returns, whatever happens.
    void queryPrinterCaps(std::string_view printerName, std::string_view portName);

    const PrinterDetails& details() const { return details_; }

    // Whether member `member` (0-based, in capabilityMembers order) of `set` is present.
    bool hasCapability(CapabilitySet set, std::size_t member) const;

  private:
    void queryDetails(platform::Spooler::Dc dc);
    void queryPaperNames(std::string_view printerName, std::string_view portName);
    void queryCapabilities(platform::Spooler::Dc dc);

    platform::Spooler& spooler_;
    PrinterDetails details_;
    // Per set, bit k is set when member k is present.
    std::uint32_t present_[std::size(kCapabilitySets)] = {};
};

}  // namespace tamux
