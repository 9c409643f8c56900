#include "tests/unit/pe_resources/objdump_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace tamux::test {

namespace {

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

std::uint32_t hexNumber(const std::string& text) {
    return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw std::runtime_error(std::string("not a hex digit: ") + c);
}

// The tree: entries indented by 3, 5 and 7 blanks after their offset are types, names and
// languages; a leaf under a language gives the data's address and size.
void readTree(std::istream& in, ObjdumpView& view) {
    static const std::regex imageBase(R"(^ImageBase\s+([0-9a-fA-F]+)\s*$)");
    static const std::regex entry(
        R"(^[0-9a-f]+( +)Entry: (ID: (0x)?([0-9a-f]+)|name: .*), Value: .*$)");
    static const std::regex leaf(
        R"(^[0-9a-f]+ +Leaf: Addr: 0x([0-9a-f]+), Size: 0x([0-9a-f]+),.*$)");
    ResourceLeaf current;
    bool typeNamed = false, nameNamed = false;
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
        // Most of the output is about other things (imports, exports); spare them the regexes.
        if (line.find("ImageBase") == std::string::npos &&
            line.find("Entry:") == std::string::npos && line.find("Leaf:") == std::string::npos) {
            continue;
        }
        if (std::regex_match(line, match, imageBase)) {
            view.imageBase = std::stoull(match[1].str(), nullptr, 16);
        } else if (std::regex_match(line, match, entry)) {
            const bool named = match[4].str().empty();
            const auto id = named ? 0 : static_cast<std::uint16_t>(hexNumber(match[4].str()));
            switch (match[1].length()) {
                case 3:
                    current.type = id;
                    typeNamed = named;
                    break;
                case 5:
                    current.id = id;
                    nameNamed = named;
                    break;
                case 7:
                    current.language = id;
                    break;
                default:
                    throw std::runtime_error("unexpected resource tree line: " + line);
            }
        } else if (std::regex_match(line, match, leaf)) {
            current.named = typeNamed || nameNamed;
            current.rva = hexNumber(match[1].str());
            current.size = hexNumber(match[2].str());
            view.resources.push_back(current);
        }
    }
}

// The rows of a section dump: an address, up to sixteen bytes in four groups, their characters.
void readSection(std::istream& in, ObjdumpView& view) {
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (line.size() < 2 || line[0] != ' ' ||
            !std::isxdigit(static_cast<unsigned char>(line[1]))) {
            continue;
        }
        const std::size_t addressEnd = line.find(' ', 1);
        if (addressEnd == std::string::npos) continue;
        const std::uint64_t address = std::stoull(line.substr(1, addressEnd - 1), nullptr, 16);
        if (first) {
            view.rsrcAddress = address;
            first = false;
        }
        if (address != view.rsrcAddress + view.rsrc.size()) {
            throw std::runtime_error("section dump is not contiguous at " + line);
        }
        const std::size_t end = std::min(line.size(), addressEnd + 1 + 35);
        int high = -1;
        for (std::size_t i = addressEnd + 1; i < end; ++i) {
            if (line[i] == ' ') continue;
            const int digit = hexDigit(line[i]);
            if (high < 0) {
                high = digit;
            } else {
                view.rsrc.push_back(static_cast<std::uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> ObjdumpView::dataOf(const ResourceLeaf& leaf) const {
    const std::uint64_t address = imageBase + leaf.rva;
    if (address < rsrcAddress || address + leaf.size > rsrcAddress + rsrc.size()) return {};
    const auto begin = rsrc.begin() + static_cast<std::ptrdiff_t>(address - rsrcAddress);
    return std::vector<std::uint8_t>(begin, begin + leaf.size);
}

ObjdumpView readWithObjdump(const std::string& objdump, const std::filesystem::path& file,
                            const std::filesystem::path& scratch) {
    const std::filesystem::path headers = scratch / (file.filename().string() + ".p.txt");
    const std::filesystem::path section = scratch / (file.filename().string() + ".s.txt");
    run("\"" + objdump + "\" -p \"" + file.string() + "\" > \"" + headers.string() + "\"");
    run("\"" + objdump + "\" -s -j .rsrc \"" + file.string() + "\" > \"" + section.string() + "\"");
    ObjdumpView view;
    std::ifstream headerText(headers);
    readTree(headerText, view);
    std::ifstream sectionText(section);
    readSection(sectionText, view);
    if (view.imageBase == 0 || view.resources.empty() || view.rsrc.empty()) {
        throw std::runtime_error("objdump showed no resources in " + file.string());
    }
    return view;
}

}  // namespace tamux::test
