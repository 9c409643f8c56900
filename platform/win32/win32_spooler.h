// The Spooler service over the real spooler and printer device contexts.
#pragma once

#include "platform/spooler.h"

namespace tamux::win32 {

class Win32Spooler final : public platform::Spooler {
  public:
    bool enumPrinters(std::uint32_t flags, std::uint32_t bufferSize, std::uint32_t& needed,
                      std::vector<platform::PrinterInfo2>& printers) override;
    Dc createDC(std::string_view device) override;
    int getDeviceCaps(Dc dc, int index) override;
    void deleteDC(Dc dc) override;
    int deviceCapabilities(std::string_view device, std::string_view port, std::uint16_t capability,
                           std::vector<char>* output) override;
};

// The size of one item that DeviceCapabilitiesA writes for `capability`, or 0 for the
// capabilities that write nothing or whose item size is not known.
std::size_t deviceCapabilityItemSize(std::uint16_t capability);

}  // namespace tamux::win32
