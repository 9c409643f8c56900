#include "platform/sim/sim_spooler.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/sim/case_fold.h"

namespace tamux::sim {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 25> kCapsNames = {{
    {"DRIVERVERSION", platform::devicecaps::kDriverVersion},
    {"TECHNOLOGY", platform::devicecaps::kTechnology},
    {"HORZSIZE", platform::devicecaps::kHorzSize},
    {"VERTSIZE", platform::devicecaps::kVertSize},
    {"HORZRES", platform::devicecaps::kHorzRes},
    {"VERTRES", platform::devicecaps::kVertRes},
    {"BITSPIXEL", platform::devicecaps::kBitsPixel},
    {"PLANES", platform::devicecaps::kPlanes},
    {"NUMBRUSHES", platform::devicecaps::kNumBrushes},
    {"NUMPENS", platform::devicecaps::kNumPens},
    {"NUMMARKERS", platform::devicecaps::kNumMarkers},
    {"NUMFONTS", platform::devicecaps::kNumFonts},
    {"NUMCOLORS", platform::devicecaps::kNumColors},
    {"CURVECAPS", platform::devicecaps::kCurveCaps},
    {"LINECAPS", platform::devicecaps::kLineCaps},
    {"POLYGONALCAPS", platform::devicecaps::kPolygonalCaps},
    {"TEXTCAPS", platform::devicecaps::kTextCaps},
    {"CLIPCAPS", platform::devicecaps::kClipCaps},
    {"RASTERCAPS", platform::devicecaps::kRasterCaps},
    {"LOGPIXELSX", platform::devicecaps::kLogPixelsX},
    {"LOGPIXELSY", platform::devicecaps::kLogPixelsY},
    {"PHYSICALWIDTH", platform::devicecaps::kPhysicalWidth},
    {"PHYSICALHEIGHT", platform::devicecaps::kPhysicalHeight},
    {"PHYSICALOFFSETX", platform::devicecaps::kPhysicalOffsetX},
    {"PHYSICALOFFSETY", platform::devicecaps::kPhysicalOffsetY},
}};

std::uint32_t stringBytes(const std::optional<std::string>& text) {
    return text ? static_cast<std::uint32_t>(text->size() + 1) : 0;
}

}  // namespace

std::optional<int> deviceCapsIndex(std::string_view name) {
    for (const auto& [capsName, index] : kCapsNames) {
        if (capsName == name) return index;
    }
    return std::nullopt;
}

std::optional<std::string_view> deviceCapsName(int index) {
    for (const auto& [capsName, capsIndex] : kCapsNames) {
        if (capsIndex == index) return capsName;
    }
    return std::nullopt;
}

SimSpooler::SimSpooler(std::vector<SimPrinter> printers, unsigned codePage, bool ntFamily,
                       ProgramArchitecture architecture)
    : printers_(std::move(printers)),
      codePage_(codePage),
      ntFamily_(ntFamily),
      architecture_(architecture) {}

std::uint32_t SimSpooler::bytesNeeded(const std::vector<SimPrinter>& printers,
                                      ProgramArchitecture architecture) {
    std::uint32_t total = 0;
    for (const SimPrinter& printer : printers) {
        const auto& i = printer.info;
        total += printerInfo2Size(architecture);
        for (const auto* text :
             {&i.serverName, &i.printerName, &i.shareName, &i.portName, &i.driverName, &i.comment,
              &i.location, &i.sepFile, &i.printProcessor, &i.datatype, &i.parameters}) {
            total += stringBytes(*text);
        }
    }
    return total;
}

bool SimSpooler::enumPrinters(std::uint32_t flags, std::uint32_t bufferSize, std::uint32_t& needed,
                              std::vector<platform::PrinterInfo2>& printers) {
    ++enumCalls_;
    bool ok = false;
    if (enumFails_) {
        needed = 0;
    } else {
        std::vector<SimPrinter> listed;
        for (const SimPrinter& printer : printers_) {
            const bool asLocal = !printer.connection || !ntFamily_;
            const bool asConnection = printer.connection && ntFamily_;
            if (((flags & platform::kPrinterEnumLocal) && asLocal) ||
                ((flags & platform::kPrinterEnumConnections) && asConnection)) {
                listed.push_back(printer);
            }
        }
        needed = bytesNeeded(listed, architecture_);
        if (bufferSize >= needed) {
            printers.clear();
            for (const SimPrinter& printer : listed) printers.push_back(printer.info);
            ok = true;
        }
    }
    for (SimPrinter& printer : addAfterEnum_) printers_.push_back(std::move(printer));
    addAfterEnum_.clear();
    return ok;
}

const SimPrinter* SimSpooler::find(std::string_view name) const {
    for (const SimPrinter& printer : printers_) {
        // Printer names are compared without regard to case, as the spooler does.
        if (printer.info.printerName &&
            equalsIgnoreCase(*printer.info.printerName, name, codePage_)) {
            return &printer;
        }
    }
    return nullptr;
}

platform::Spooler::Dc SimSpooler::createDC(std::string_view device) {
    ++createDcCalls_;
    const SimPrinter* printer = find(device);
    if (!printer || printer->createDcFails) return 0;
    const Dc dc = nextDc_++;
    openDcs_[dc] = printer->deviceCaps;
    return dc;
}

int SimSpooler::getDeviceCaps(Dc dc, int index) {
    const auto open = openDcs_.find(dc);
    if (open == openDcs_.end()) return 0;
    const auto answer = open->second.find(index);
    return answer == open->second.end() ? 0 : answer->second;
}

void SimSpooler::deleteDC(Dc dc) {
    if (dc == 0) return;
    if (openDcs_.erase(dc) == 0) ++strayDeletes_;
}

int SimSpooler::deviceCapabilities(std::string_view device, std::string_view,
                                   std::uint16_t capability, std::vector<char>* output) {
    const SimPrinter* printer = find(device);
    if (!printer) return -1;
    // The simulated drivers answer only for their paper names.
    if (capability != platform::kDcPaperNames) return -1;
    if (!printer->paperNames) return -1;
    const auto& names = *printer->paperNames;
    const int count = static_cast<int>(names.size());
    if (!output) return count;

    const std::size_t bytes = names.size() * platform::kPaperNameSlotSize;
    if (output->size() < bytes) {
        // The real driver would write past the end of the caller's buffer.
        throw std::length_error("DeviceCapabilities(DC_PAPERNAMES) needs " + std::to_string(bytes) +
                                " bytes, the buffer holds " + std::to_string(output->size()));
    }
    std::fill(output->begin(), output->begin() + static_cast<std::ptrdiff_t>(bytes), '\0');
    for (std::size_t i = 0; i < names.size(); ++i) {
        // A name of 64 characters fills its slot and has no NUL; longer names are cut there.
        const std::size_t n = std::min(names[i].size(), platform::kPaperNameSlotSize);
        std::memcpy(output->data() + i * platform::kPaperNameSlotSize, names[i].data(), n);
    }
    return count;
}

}  // namespace tamux::sim
