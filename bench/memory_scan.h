// Looks through this process's own writable memory for a piece of text: how the benchmarks check
// that no deciphered database line is left behind after a lookup.
#pragma once

#include <string>

namespace tamux::bench {

// How many times `needle` occurs in the process's readable and writable memory, apart from the
// needle's own characters.
int occurrencesInMemory(const std::string& needle);

}  // namespace tamux::bench
