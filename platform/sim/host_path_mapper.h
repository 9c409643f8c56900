// How a simulated service turns the program's Windows paths into host paths (the machine's
// PathMap with its current directory). An empty host path means the path leads nowhere.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace tamux::sim {

using HostPathMapper = std::function<std::filesystem::path(std::string_view)>;

}  // namespace tamux::sim
