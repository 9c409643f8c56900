#include "registry/database_lines.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "registry/secure_wipe.h"

namespace tamux {

namespace {

constexpr std::size_t kPciKeyLength = 24;
constexpr std::size_t kPciHalf = 8;

// 1-based position of the first occurrence, 0 when absent.
long position(std::string_view text, std::string_view what) {
    auto at = text.find(what);
    return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

// `count` characters from the 1-based position `start` (at least 1), clipped at the end; empty
// when `count` is not positive.
std::string_view part(std::string_view text, long start, long count) {
    if (count <= 0 || start > static_cast<long>(text.size())) return {};
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

// The text after position `from` without the line's last character.
std::string tailWithoutLast(std::string_view line, std::size_t from) {
    if (from + 1 >= line.size()) return {};
    return std::string(line.substr(from, line.size() - 1 - from));
}

}  // namespace

std::string_view lineKey(std::string_view line) {
    auto equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

NormalizedKeyText normalizedKey(std::string_view key) {
    NormalizedKeyText normalized;
    if (key.size() != kPciKeyLength) return normalized;
    std::array<char, kPciKeyLength> solid{};
    std::size_t length = 0;
    for (char c : key) {
        if (c != ' ') solid[length++] = toAsciiUpper(c);
    }
    const std::size_t head = std::min(length, kPciHalf);
    const std::size_t tailStart = length > kPciHalf ? length - kPciHalf : 0;
    for (std::size_t i = 0; i < head; ++i) normalized.text[normalized.size++] = solid[i];
    for (std::size_t i = tailStart; i < length; ++i) normalized.text[normalized.size++] = solid[i];
    secureFill(solid.data(), solid.size(), 0);
    return normalized;
}

PciKeyParts pciKeyParts(std::string_view h) {
    const long ven = position(h, "VEN_");
    const long dev = position(h, "DEV_");
    const long subsys = position(h, "SUBSYS_");
    const long rev = position(h, "REV_");
    return {{part(h, ven + 4, dev - ven - 5), part(h, dev + 4, subsys - dev - 5),
             part(h, subsys + 7, rev - subsys - 8)}};
}

std::string pciKeyOf(std::string_view h) {
    const PciKeyParts key = pciKeyParts(h);
    std::string joined;
    joined.reserve(key.size());
    for (std::string_view part : key.parts) joined += part;
    return joined;
}

bool isVendorLine(std::string_view line) {
    return line.find(".=") != std::string_view::npos;
}

VendorParts parseVendorLine(std::string_view line) {
    VendorParts parts;
    auto at = line.find(".=");
    if (at == std::string_view::npos) return parts;
    const std::size_t start = at + 2;
    auto hash = line.find('#', start);
    parts.name =
        std::string(line.substr(start, hash == std::string_view::npos ? line.npos : hash - start));
    if (hash != std::string_view::npos) parts.extra = tailWithoutLast(line, hash + 1);
    return parts;
}

DeviceParts parseDeviceLine(std::string_view line) {
    DeviceParts parts;
    auto equals = line.find('=');
    if (equals == std::string_view::npos) return parts;
    const std::size_t start = equals + 1;
    auto suffix = line.find("_0", start);
    parts.name = std::string(
        line.substr(start, suffix == std::string_view::npos ? line.npos : suffix - start));
    if (suffix != std::string_view::npos) parts.extra = tailWithoutLast(line, suffix);
    return parts;
}

}  // namespace tamux
