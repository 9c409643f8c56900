#include "platform/win32/win32_spooler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// The portable code and the simulated machine use these values without the system headers.
static_assert(platform::kPrinterEnumLocal == PRINTER_ENUM_LOCAL &&
              platform::kPrinterEnumConnections == PRINTER_ENUM_CONNECTIONS &&
              platform::kDcPaperNames == DC_PAPERNAMES);
namespace devicecaps = platform::devicecaps;
static_assert(devicecaps::kDriverVersion == DRIVERVERSION &&
              devicecaps::kTechnology == TECHNOLOGY && devicecaps::kHorzSize == HORZSIZE &&
              devicecaps::kVertSize == VERTSIZE && devicecaps::kHorzRes == HORZRES &&
              devicecaps::kVertRes == VERTRES && devicecaps::kBitsPixel == BITSPIXEL &&
              devicecaps::kPlanes == PLANES && devicecaps::kNumBrushes == NUMBRUSHES &&
              devicecaps::kNumPens == NUMPENS && devicecaps::kNumMarkers == NUMMARKERS &&
              devicecaps::kNumFonts == NUMFONTS && devicecaps::kNumColors == NUMCOLORS &&
              devicecaps::kCurveCaps == CURVECAPS && devicecaps::kLineCaps == LINECAPS &&
              devicecaps::kPolygonalCaps == POLYGONALCAPS && devicecaps::kTextCaps == TEXTCAPS &&
              devicecaps::kClipCaps == CLIPCAPS && devicecaps::kRasterCaps == RASTERCAPS &&
              devicecaps::kLogPixelsX == LOGPIXELSX && devicecaps::kLogPixelsY == LOGPIXELSY &&
              devicecaps::kPhysicalWidth == PHYSICALWIDTH &&
              devicecaps::kPhysicalHeight == PHYSICALHEIGHT &&
              devicecaps::kPhysicalOffsetX == PHYSICALOFFSETX &&
              devicecaps::kPhysicalOffsetY == PHYSICALOFFSETY);

namespace {

std::optional<std::string> text(const char* value) {
    if (!value) return std::nullopt;
    return std::string(value);
}

platform::PrinterInfo2 fromRecord(const PRINTER_INFO_2A& record) {
    platform::PrinterInfo2 info;
    info.serverName = text(record.pServerName);
    info.printerName = text(record.pPrinterName);
    info.shareName = text(record.pShareName);
    info.portName = text(record.pPortName);
    info.driverName = text(record.pDriverName);
    info.comment = text(record.pComment);
    info.location = text(record.pLocation);
    info.sepFile = text(record.pSepFile);
    info.printProcessor = text(record.pPrintProcessor);
    info.datatype = text(record.pDatatype);
    info.parameters = text(record.pParameters);
    info.attributes = record.Attributes;
    info.priority = record.Priority;
    info.defaultPriority = record.DefaultPriority;
    info.startTime = record.StartTime;
    info.untilTime = record.UntilTime;
    info.status = record.Status;
    info.jobs = record.cJobs;
    info.averagePpm = record.AveragePPM;
    return info;
}

HDC toHandle(platform::Spooler::Dc dc) {
    return reinterpret_cast<HDC>(dc);
}

}  // namespace

std::size_t deviceCapabilityItemSize(std::uint16_t capability) {
    switch (capability) {
        case DC_PAPERS:
        case DC_BINS:
            return sizeof(WORD);
        case DC_PAPERSIZE:
            return sizeof(POINT);
        case DC_ENUMRESOLUTIONS:
            return 2 * sizeof(LONG);
        case DC_BINNAMES:
            return 24;
        case DC_FILEDEPENDENCIES:
        case DC_PAPERNAMES:
        case DC_MEDIATYPENAMES:
            return 64;
        case DC_PERSONALITY:
            return 32;
        case DC_MEDIATYPES:
        case DC_NUP:
            return sizeof(DWORD);
        default:
            return 0;
    }
}

bool Win32Spooler::enumPrinters(std::uint32_t flags, std::uint32_t bufferSize,
                                std::uint32_t& needed,
                                std::vector<platform::PrinterInfo2>& printers) {
    std::vector<BYTE> buffer(bufferSize);
    DWORD neededBytes = 0;
    DWORD returned = 0;
    BOOL ok = EnumPrintersA(flags, nullptr, 2, buffer.empty() ? nullptr : buffer.data(), bufferSize,
                            &neededBytes, &returned);
    needed = neededBytes;
    if (!ok) return false;
    std::vector<platform::PrinterInfo2> list;
    list.reserve(returned);
    // The records lie at the start of the buffer; never read past it whatever the count says.
    std::size_t fits = buffer.size() / sizeof(PRINTER_INFO_2A);
    for (DWORD i = 0; i < returned && i < fits; ++i) {
        PRINTER_INFO_2A record;
        std::memcpy(&record, buffer.data() + i * sizeof(record), sizeof(record));
        list.push_back(fromRecord(record));
    }
    printers = std::move(list);
    return true;
}

platform::Spooler::Dc Win32Spooler::createDC(std::string_view device) {
    const std::string name(device);
    return reinterpret_cast<Dc>(CreateDCA(nullptr, name.c_str(), nullptr, nullptr));
}

int Win32Spooler::getDeviceCaps(Dc dc, int index) {
    if (dc == 0) return 0;
    return GetDeviceCaps(toHandle(dc), index);
}

void Win32Spooler::deleteDC(Dc dc) {
    if (dc != 0) DeleteDC(toHandle(dc));
}

int Win32Spooler::deviceCapabilities(std::string_view device, std::string_view port,
                                     std::uint16_t capability, std::vector<char>* output) {
    const std::string deviceName(device), portName(port);
    auto query = [&](char* buffer) {
        return DeviceCapabilitiesA(deviceName.c_str(), portName.c_str(), capability, buffer,
                                   nullptr);
    };
    if (!output) return query(nullptr);
    // The driver writes as many items as it has now, whatever the caller sized its buffer for
    // (a form may have been added since the count was taken): let it write into a buffer sized
    // from a fresh count, and hand over what fits into the caller's.
    std::vector<char> buffer(output->size());
    if (std::size_t itemSize = deviceCapabilityItemSize(capability)) {
        int count = query(nullptr);
        if (count > 0) {
            // A count whose buffer size would not fit in a size_t is no answer at all.
            if (static_cast<std::size_t>(count) > SIZE_MAX / itemSize) return -1;
            buffer.resize(std::max(buffer.size(), static_cast<std::size_t>(count) * itemSize));
        }
    }
    if (buffer.empty()) return query(nullptr);
    int result = query(buffer.data());
    std::copy_n(buffer.begin(), std::min(buffer.size(), output->size()), output->begin());
    return result;
}

}  // namespace tamux::win32
