// The simulated print spooler and its printer drivers: the printers of machine.json, the
// EnumPrintersA size protocol (on an NT machine the connections to printers of a print server
// only with PRINTER_ENUM_CONNECTIONS, on 9x with the local ones), device contexts answering
// GetDeviceCaps from each printer's table, and DeviceCapabilitiesA's paper names in 64-byte slots.
// Tests can add a printer between the two enumeration calls, make the enumeration fail, and count
// device contexts left open.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/program_architecture.h"
#include "platform/spooler.h"

namespace tamux::sim {

// The index of a GetDeviceCaps name ("HORZRES"), or nullopt for an unknown name.
std::optional<int> deviceCapsIndex(std::string_view name);
// The name of a GetDeviceCaps index (kHorzRes: "HORZRES"), or nullopt for one machine.json cannot
// name.
std::optional<std::string_view> deviceCapsName(int index);

// sizeof(PRINTER_INFO_2A) as the program sees it: thirteen pointers and eight DWORDs, so 84 bytes
// in a 32-bit program and 136 in a 64-bit one.
constexpr std::uint32_t printerInfo2Size(ProgramArchitecture architecture) {
    return architecture == ProgramArchitecture::X86_64 ? 136 : 84;
}

struct SimPrinter {
    platform::PrinterInfo2 info;
    std::map<int, int> deviceCaps;  // GetDeviceCaps answers by index
    std::optional<std::vector<std::string>> paperNames = std::vector<std::string>{};  // null: -1
    bool createDcFails = false;
    bool connection = false;  // a connection to a print server's printer
};

class SimSpooler : public platform::Spooler {
  public:
    // `ntFamily`: connections are listed apart from the local printers, as on NT. EnumPrintersA
    // answers the sizes of a program of `architecture`.
    explicit SimSpooler(std::vector<SimPrinter> printers = {}, unsigned codePage = 1252,
                        bool ntFamily = true,
                        ProgramArchitecture architecture = ProgramArchitecture::I386);

    // platform::Spooler
    bool enumPrinters(std::uint32_t flags, std::uint32_t bufferSize, std::uint32_t& needed,
                      std::vector<platform::PrinterInfo2>& printers) override;
    Dc createDC(std::string_view device) override;
    int getDeviceCaps(Dc dc, int index) override;
    void deleteDC(Dc dc) override;
    int deviceCapabilities(std::string_view device, std::string_view port, std::uint16_t capability,
                           std::vector<char>* output) override;

    // The bytes EnumPrintersA of a program of `architecture` needs for these records at level 2:
    // the fixed record of each and every non-null string with its NUL.
    static std::uint32_t bytesNeeded(const std::vector<SimPrinter>& printers,
                                     ProgramArchitecture architecture);

    ProgramArchitecture programArchitecture() const { return architecture_; }
    void setProgramArchitecture(ProgramArchitecture architecture) { architecture_ = architecture; }

    // Test hooks.
    std::vector<SimPrinter>& printers() { return printers_; }
    void addPrinter(SimPrinter printer) { printers_.push_back(std::move(printer)); }
    // `printer` is installed right after the next enumPrinters call (between the size query and
    // the fetch of the two-call protocol).
    void addPrinterAfterNextEnum(SimPrinter printer) {
        addAfterEnum_.push_back(std::move(printer));
    }
    // Every enumPrinters call fails with a needed size of 0 (a spooler that cannot be asked).
    void setEnumFails(bool fails) { enumFails_ = fails; }
    int enumCallCount() const { return enumCalls_; }
    // Device contexts created and not yet deleted, and deletions of a context that was not open.
    std::size_t openDcCount() const { return openDcs_.size(); }
    int strayDeleteCount() const { return strayDeletes_; }
    int createDcCount() const { return createDcCalls_; }

  private:
    const SimPrinter* find(std::string_view name) const;

    std::vector<SimPrinter> printers_;
    unsigned codePage_;
    bool ntFamily_;
    ProgramArchitecture architecture_;
    std::vector<SimPrinter> addAfterEnum_;
    bool enumFails_ = false;
    int enumCalls_ = 0;
    std::map<Dc, std::map<int, int>> openDcs_;  // a context keeps its printer's answers
    Dc nextDc_ = 0x2000;
    int strayDeletes_ = 0;
    int createDcCalls_ = 0;
};

}  // namespace tamux::sim
