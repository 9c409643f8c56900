#include "tools/dbgen/id_lists.h"

#include <cstdint>
#include <utility>

namespace tamux::dbgen {

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Four hex digits at `at`, upper-cased into `id`.
bool readHex4(std::string_view line, std::size_t at, std::string& id) {
    if (line.size() < at + 4) return false;
    id.clear();
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = line[i];
        if (!isHex(c)) return false;
        id.push_back(c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return true;
}

// The name that starts at `at` after two blanks, without trailing blanks.
bool readName(std::string_view line, std::size_t at, std::string& name) {
    if (line.size() <= at + 2 || line[at] != ' ' || line[at + 1] != ' ') return false;
    name = std::string(line.substr(at + 2));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    return !name.empty();
}

// "xxxx  name": the id and the name.
bool splitIdLine(std::string_view line, std::string& id, std::string& name) {
    return readHex4(line, 0, id) && readName(line, 4, name);
}

template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        visit(line);
        start = end + 1;
    }
}

}  // namespace

std::vector<IdVendor> parseIdList(std::string_view text) {
    std::vector<IdVendor> vendors;
    bool inVendor = false;
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || line[0] == '#') return;
        std::string id, name;
        if (line.starts_with("\t\t")) {
            // "subvendor subdevice  name", under the last device.
            std::string_view rest = line.substr(2);
            if (!inVendor || vendors.back().devices.empty()) return;
            IdSubsystem subsystem;
            if (readHex4(rest, 0, subsystem.subvendor) && rest.size() > 4 && rest[4] == ' ' &&
                readHex4(rest, 5, subsystem.subdevice) && readName(rest, 9, subsystem.name)) {
                vendors.back().devices.back().subsystems.push_back(std::move(subsystem));
            }
        } else if (line[0] == '\t') {
            if (inVendor && splitIdLine(line.substr(1), id, name)) {
                vendors.back().devices.push_back({id, name, {}});
            }
        } else if (splitIdLine(line, id, name)) {
            vendors.push_back({id, name, {}});
            inVendor = true;
        } else {
            inVendor = false;
        }
    });
    return vendors;
}

std::string pnpVendorName(std::string_view text, std::string_view code) {
    std::string found;
    forEachLine(text, [&](std::string_view line) {
        if (!found.empty() || line.size() <= code.size() + 1) return;
        if (line.substr(0, code.size()) == code && line[code.size()] == '\t') {
            found = std::string(line.substr(code.size() + 1));
        }
    });
    return found;
}

std::vector<PnpDevice> parsePnpList(std::string_view text) {
    std::vector<PnpDevice> devices;
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || line[0] == '#') return;
        auto firstTab = line.find('\t');
        auto secondTab = firstTab == line.npos ? line.npos : line.find('\t', firstTab + 1);
        if (secondTab == line.npos) return;
        devices.push_back({std::string(line.substr(0, firstTab)),
                           std::string(line.substr(firstTab + 1, secondTab - firstTab - 1)),
                           std::string(line.substr(secondTab + 1))});
    });
    return devices;
}

std::string utf8ToCp1252(std::string_view text) {
    // Code points 0x80-0x9F of code page 1252, indexed by byte - 0x80 (0 where unassigned).
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::uint32_t code = lead;
        std::size_t length = 1;
        if (lead >= 0xF0) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0x80) {
            code = '?';  // a stray continuation byte
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
            if ((next & 0xC0) != 0x80) {
                code = '?';
                length = k;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        i += length;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] != 0 && kHigh[k] == code) mapped = static_cast<char>(0x80 + k);
        }
        out.push_back(mapped);
    }
    return out;
}

}  // namespace tamux::dbgen
