#include "platform/file_name_pattern.h"

namespace tamux::platform {

bool hasWildcard(std::string_view path) {
    return path.find_first_of("*?") != std::string_view::npos;
}

}  // namespace tamux::platform
