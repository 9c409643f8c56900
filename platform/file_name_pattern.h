// Wildcards in file names. Where Windows 95 lacks the attribute query, the program reads a file's
// times from the directory entry FindFirstFileA finds; that call takes a pattern, so a name with
// wildcards would find some other file instead of failing as the attribute query does.
#pragma once

#include <string_view>

namespace tamux::platform {

// True when the path holds "*" or "?".
bool hasWildcard(std::string_view path);

}  // namespace tamux::platform
