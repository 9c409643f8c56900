// Small helpers shared by the conformance suites: byte texts for messages, and the names under
// which GoogleTest reports the two sides of a typed suite.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/program_architecture.h"

namespace tamux::wine_test {

// The simulated side answers as Windows answers this very program: a 64-bit build faces the
// 64-bit loader and spooler.
#ifdef _WIN64
inline constexpr sim::ProgramArchitecture kThisProgram = sim::ProgramArchitecture::X86_64;
#else
inline constexpr sim::ProgramArchitecture kThisProgram = sim::ProgramArchitecture::I386;
#endif

// The bytes of `text`, with a terminating NUL when `withNul` is set.
std::vector<std::uint8_t> bytesOf(std::string_view text, bool withNul = true);

// "41 42 00" for short data; long data is shown by its size and first and last bytes.
std::string describe(const std::vector<std::uint8_t>& data);

// Typed suites are reported as .../Win32 and .../Sim.
struct SideName {
    template <typename Side>
    static std::string GetName(int) {
        return Side::kName;
    }
};

}  // namespace tamux::wine_test
