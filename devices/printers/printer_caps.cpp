#include "devices/printers/printer_caps.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tamux {

namespace {

constexpr std::array<CapabilityMember, 9> kCurveMembers{{
    {"Circles", 0x0001},                  // CC_CIRCLES
    {"Pie Wedges", 0x0002},               // CC_PIE
    {"Chords", 0x0004},                   // CC_CHORD
    {"Ellipses", 0x0008},                 // CC_ELLIPSES
    {"Wide Borders", 0x0010},             // CC_WIDE
    {"Styled Borders", 0x0020},           // CC_STYLED
    {"Wide and Styled Borders", 0x0040},  // CC_WIDESTYLED
    {"Interiors", 0x0080},                // CC_INTERIORS
    {"Rounded Rectangles", 0x0100},       // CC_ROUNDRECT
}};

constexpr std::array<CapabilityMember, 7> kLineMembers{{
    {"Polylines", 0x0002},              // LC_POLYLINE
    {"Markers", 0x0004},                // LC_MARKER
    {"Multiple Markers", 0x0008},       // LC_POLYMARKER
    {"Wide Lines", 0x0010},             // LC_WIDE
    {"Styled Lines", 0x0020},           // LC_STYLED
    {"Wide and Styled Lines", 0x0040},  // LC_WIDESTYLED
    {"Interiors", 0x0080},              // LC_INTERIORS
}};

constexpr std::array<CapabilityMember, 8> kPolygonalMembers{{
    {"Alternate Fill Polygons", 0x0001},  // PC_POLYGON
    {"Rectangles", 0x0002},               // PC_RECTANGLE
    {"Winding Fill Polygons", 0x0004},    // PC_WINDPOLYGON
    {"Single Scanlines", 0x0008},         // PC_SCANLINE
    {"Wide Borders", 0x0010},             // PC_WIDE
    {"Styled Borders", 0x0020},           // PC_STYLED
    {"Wide and Styled Borders", 0x0040},  // PC_WIDESTYLED
    {"Interiors", 0x0080},                // PC_INTERIORS
}};

// In the alphabetical order of the bits' names, which is how the lines have always been listed;
// "Transer" is the label's spelling as readers of the text know it.
constexpr std::array<CapabilityMember, 11> kRasterMembers{{
    {"Requires Banding", 0x0002},                  // RC_BANDING
    {"Can Transer Bitmaps", 0x0001},               // RC_BITBLT
    {"Supports Bitmaps > 64K", 0x0008},            // RC_BITMAP64
    {"Supports SetDIBits and GetDIBits", 0x0080},  // RC_DI_BITMAP
    {"Supports SetDIBitsToDevice", 0x0200},        // RC_DIBTODEV
    {"Can Perform Floodfills", 0x1000},            // RC_FLOODFILL
    {"Supports Windows 2.0 Features", 0x0010},     // RC_GDI20_OUTPUT
    {"Palette Based", 0x0100},                     // RC_PALETTE
    {"Scaling", 0x0004},                           // RC_SCALING
    {"Supports StretchBlt", 0x0800},               // RC_STRETCHBLT
    {"Supports StretchDIBits", 0x2000},            // RC_STRETCHDIB
}};

// TC_RESERVED (0x8000) has no line; the last line tests TC_SCROLLBLT, which is 0x10000.
constexpr std::array<CapabilityMember, 16> kTextMembers{{
    {"Capable of Character Output Precision", 0x0001},               // TC_OP_CHARACTER
    {"Capable of Stroke Output Precision", 0x0002},                  // TC_OP_STROKE
    {"Capable of Stroke Clip Precision", 0x0004},                    // TC_CP_STROKE
    {"Supports 90 Degree Character Rotation", 0x0008},               // TC_CR_90
    {"Supports Character Rotation to Any Angle", 0x0010},            // TC_CR_ANY
    {"X And Y Scale Independent", 0x0020},                           // TC_SF_X_YINDEP
    {"Supports Doubled Character Scaling", 0x0040},                  // TC_SA_DOUBLE
    {"Supports Integer Multiples Only When Scaling", 0x0080},        // TC_SA_INTEGER
    {"Supports Any Multiples For Exact Character Scaling", 0x0100},  // TC_SA_CONTIN
    {"Supports Double Weight Characters", 0x0200},                   // TC_EA_DOUBLE
    {"Supports Italics", 0x0400},                                    // TC_IA_ABLE
    {"Supports Underlines", 0x0800},                                 // TC_UA_ABLE
    {"Supports Strikeouts", 0x1000},                                 // TC_SO_ABLE
    {"Supports Raster Fonts", 0x2000},                               // TC_RA_ABLE
    {"Supports Vector Fonts", 0x4000},                               // TC_VA_ABLE
    {"Cannot Scroll Using Blts", 0x10000},                           // TC_SCROLLBLT
}};

std::size_t setIndex(CapabilitySet set) {
    return static_cast<std::size_t>(set);
}

// Releases the printer's device context however the queries end.
class DeviceContext {
  public:
    DeviceContext(platform::Spooler& spooler, std::string_view printerName)
        : spooler_(spooler), dc_(spooler.createDC(printerName)) {}
    ~DeviceContext() { spooler_.deleteDC(dc_); }
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    platform::Spooler::Dc get() const { return dc_; }

  private:
    platform::Spooler& spooler_;
    platform::Spooler::Dc dc_;
};

}  // namespace

std::span<const CapabilityMember> capabilityMembers(CapabilitySet set) {
    switch (set) {
        case CapabilitySet::Curve:
            return kCurveMembers;
        case CapabilitySet::Line:
            return kLineMembers;
        case CapabilitySet::Polygonal:
            return kPolygonalMembers;
        case CapabilitySet::Raster:
            return kRasterMembers;
        case CapabilitySet::Text:
            return kTextMembers;
    }
    return {};
}

int capabilityIndex(CapabilitySet set) {
    switch (set) {
        case CapabilitySet::Curve:
            return devicecaps::kCurveCaps;
        case CapabilitySet::Line:
            return devicecaps::kLineCaps;
        case CapabilitySet::Polygonal:
            return devicecaps::kPolygonalCaps;
        case CapabilitySet::Raster:
            return devicecaps::kRasterCaps;
        case CapabilitySet::Text:
            return devicecaps::kTextCaps;
    }
    return 0;
}

std::string_view capabilityTitle(CapabilitySet set) {
    switch (set) {
        case CapabilitySet::Curve:
            return "Curve Capabilities";
        case CapabilitySet::Line:
            return "Line Capabilities";
        case CapabilitySet::Polygonal:
            return "Polygonal Capabilities";
        case CapabilitySet::Raster:
            return "Raster Capabilities";
        case CapabilitySet::Text:
            return "Text Capabilities";
    }
    return {};
}

void PrinterCaps::queryPrinterCaps(std::string_view printerName, std::string_view portName) {
    DeviceContext dc(spooler_, printerName);
    queryDetails(dc.get());
    queryPaperNames(printerName, portName);
    queryCapabilities(dc.get());
}

void PrinterCaps::queryDetails(platform::Spooler::Dc dc) {
    if (dc == 0) {
        details_.size.clear();
        details_.resolution.clear();
        details_.colourFormat.clear();
        details_.pens.clear();
        details_.fonts.clear();
        details_.colours.clear();
        return;
    }
    auto caps = [&](int index) { return std::to_string(spooler_.getDeviceCaps(dc, index)); };
    details_.size = caps(devicecaps::kHorzSize) + " X " + caps(devicecaps::kVertSize);
    details_.resolution = caps(devicecaps::kLogPixelsX) + " X " + caps(devicecaps::kLogPixelsY);
    details_.colourFormat = caps(devicecaps::kBitsPixel) + " / " + caps(devicecaps::kPlanes);
    details_.pens = caps(devicecaps::kNumPens);
    details_.fonts = caps(devicecaps::kNumFonts);
    details_.colours = caps(devicecaps::kNumColors);
}

void PrinterCaps::queryPaperNames(std::string_view printerName, std::string_view portName) {
    details_.paperNames.clear();
    const int count =
        spooler_.deviceCapabilities(printerName, portName, platform::kDcPaperNames, nullptr);
    // No driver has this many forms; a count beyond it is a broken answer, and its buffer would
    // not even be addressable in a 32-bit process.
    constexpr int kMostPaperForms = 65536;
    if (count <= 0 || count > kMostPaperForms) return;

    std::vector<char> slots(static_cast<std::size_t>(count) * platform::kPaperNameSlotSize, '\0');
    const int fetched =
        spooler_.deviceCapabilities(printerName, portName, platform::kDcPaperNames, &slots);
    if (fetched < 0) return;
    // A driver that now has fewer forms than it counted leaves the later slots unwritten: those
    // are not forms, so only the names it says it wrote are taken.
    const int names = std::min(count, fetched);
    for (int i = 0; i < names; ++i) {
        const char* slot =
            slots.data() + static_cast<std::size_t>(i) * platform::kPaperNameSlotSize;
        const char* end = std::find(slot, slot + platform::kPaperNameSlotSize, '\0');
        details_.paperNames.emplace_back(slot, end);
    }
}

void PrinterCaps::queryCapabilities(platform::Spooler::Dc dc) {
    for (CapabilitySet set : kCapabilitySets) {
        std::uint32_t& present = present_[setIndex(set)];
        present = 0;
        if (dc == 0) continue;
        const auto mask =
            static_cast<std::uint32_t>(spooler_.getDeviceCaps(dc, capabilityIndex(set)));
        const auto members = capabilityMembers(set);
        for (std::size_t k = 0; k < members.size(); ++k) {
            if (mask & members[k].bit) present |= 1u << k;
        }
    }
}

bool PrinterCaps::hasCapability(CapabilitySet set, std::size_t member) const {
    return member < capabilityMembers(set).size() && ((present_[setIndex(set)] >> member) & 1u);
}

}  // namespace tamux
