// Spooler and printer device contexts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamux::platform {

// PRINTER_INFO_2 without the device mode and the security descriptor; a null string member is
// nullopt.
struct PrinterInfo2 {
    std::optional<std::string> serverName, printerName, shareName, portName, driverName, comment,
        location, sepFile, printProcessor, datatype, parameters;
    std::uint32_t attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0,
                  status = 0, jobs = 0, averagePpm = 0;

    bool operator==(const PrinterInfo2&) const = default;
};

constexpr std::uint32_t kPrinterEnumLocal = 2;
// On the NT family the printers connected on a print server are not local: only this lists them.
// Windows 9x lists them as local.
constexpr std::uint32_t kPrinterEnumConnections = 4;
constexpr std::uint16_t kDcPaperNames = 16;

// DeviceCapabilities(DC_PAPERNAMES) hands each name over in a slot of this many bytes; a name
// that fills its slot has no NUL.
constexpr std::size_t kPaperNameSlotSize = 64;

// GetDeviceCaps indices.
namespace devicecaps {
constexpr int kDriverVersion = 0, kTechnology = 2, kHorzSize = 4, kVertSize = 6, kHorzRes = 8,
              kVertRes = 10, kBitsPixel = 12, kPlanes = 14, kNumBrushes = 16, kNumPens = 18,
              kNumMarkers = 20, kNumFonts = 22, kNumColors = 24, kCurveCaps = 28, kLineCaps = 30,
              kPolygonalCaps = 32, kTextCaps = 34, kClipCaps = 36, kRasterCaps = 38,
              kLogPixelsX = 88, kLogPixelsY = 90, kPhysicalWidth = 110, kPhysicalHeight = 111,
              kPhysicalOffsetX = 112, kPhysicalOffsetY = 113;
}  // namespace devicecaps

class Spooler {
  public:
    // A device context; 0 is "none".
    using Dc = std::uintptr_t;

    virtual ~Spooler() = default;

    // EnumPrintersA(flags, no name, level 2, buffer of `bufferSize` bytes). Sets `needed` to the
    // byte count the full list needs. Returns true and replaces `printers` when `bufferSize`
    // suffices (a size of 0 suffices only for an empty list); false otherwise, with `printers`
    // unchanged. The two-call protocol is the caller's.
    virtual bool enumPrinters(std::uint32_t flags, std::uint32_t bufferSize, std::uint32_t& needed,
                              std::vector<PrinterInfo2>& printers) = 0;

    // CreateDCA(no driver, device, no output, no initial data). 0 on failure.
    virtual Dc createDC(std::string_view device) = 0;
    // GetDeviceCaps(dc, index); 0 for an index the device does not know.
    virtual int getDeviceCaps(Dc dc, int index) = 0;
    // DeleteDC. Deleting 0 does nothing.
    virtual void deleteDC(Dc dc) = 0;

    // DeviceCapabilitiesA(device, port, capability, output, no device mode). With `output` null
    // it returns the number of items; otherwise it also fills `output` (resized by the caller to
    // the size the capability needs). Returns -1 on failure.
    virtual int deviceCapabilities(std::string_view device, std::string_view port,
                                   std::uint16_t capability, std::vector<char>* output) = 0;
};

}  // namespace tamux::platform
