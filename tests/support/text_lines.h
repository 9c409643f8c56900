// Reading back what the program writes: files of CR LF lines.
#pragma once

#include <string>
#include <vector>

namespace tamux::test {

// Content split at CR LF; the last CR LF ends the last line.
std::vector<std::string> splitCrLf(const std::string& content);

}  // namespace tamux::test
