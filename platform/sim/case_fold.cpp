#include "platform/sim/case_fold.h"

#include "platform/sim/codepage.h"

namespace tamux::sim {

char16_t upperCase(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c < 0x80) return c;
    // Latin-1: à..þ except the division sign; ÿ has its capital in Latin Extended-A.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    // Latin Extended-A: mostly capital/small pairs at even/odd positions, shifted by one between
    // U+0139 and U+0148 and between U+0179 and U+017E.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return (c & 1) ? static_cast<char16_t>(c - 1) : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c : static_cast<char16_t>(c - 1);
    }
    // Greek and Cyrillic.
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    if (c == 0x491) return 0x490;
    return c;
}

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperCase(a[i]) != upperCase(b[i])) return false;
    }
    return true;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b, unsigned codePage) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const char16_t ua = upperCase(toUnicode(codePage, static_cast<unsigned char>(a[i])));
        const char16_t ub = upperCase(toUnicode(codePage, static_cast<unsigned char>(b[i])));
        if (ua != ub) return false;
    }
    return true;
}

std::string upperCase(std::string_view text, unsigned codePage) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const char16_t unit = toUnicode(codePage, static_cast<unsigned char>(c));
        const char16_t upper = upperCase(unit);
        // A capital that the code page lacks (ÿ in 1250) leaves the letter as it was.
        const char mapped = upper == unit ? c : fromUnicode(codePage, upper);
        out.push_back(upper != unit && mapped == '?' ? c : mapped);
    }
    return out;
}

}  // namespace tamux::sim
