#include "platform/ascii_case.h"

namespace tamux {

std::string toAsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = toAsciiUpper(c);
    return upper;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (toAsciiUpper(a[i]) != toAsciiUpper(b[i])) return false;
    }
    return true;
}

}  // namespace tamux
