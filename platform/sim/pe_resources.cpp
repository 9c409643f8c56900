#include "platform/sim/pe_resources.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

namespace tamux::sim {

namespace {

constexpr std::uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kOptionalMagic32 = 0x010B;
constexpr std::uint16_t kOptionalMagic64 = 0x020B;
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kDirectoryHeaderSize = 16;
constexpr std::uint32_t kDirectoryEntrySize = 8;
constexpr std::uint32_t kDirectoryFlag = 0x80000000;
// No resource the program reads comes near this; a larger size in a data entry is corrupt, and
// reading it would only allocate for nothing.
constexpr std::uint32_t kMaxResourceSize = 64u << 20;

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void pushLanguage(std::vector<std::uint16_t>& list, std::uint16_t language) {
    if (std::find(list.begin(), list.end(), language) == list.end()) list.push_back(language);
}

}  // namespace

std::optional<PeImage> PeImage::fromFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()),
                             static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return fromBytes(std::move(bytes));
}

std::optional<PeImage> PeImage::fromBytes(std::vector<std::uint8_t> bytes) {
    PeImage image;
    image.bytes_ = std::move(bytes);
    if (!image.parseHeaders()) return std::nullopt;
    return image;
}

bool PeImage::parseHeaders() {
    const std::uint64_t size = bytes_.size();
    const std::uint8_t* data = bytes_.data();
    if (size < 0x40 || le16(data) != kDosSignature) return false;

    const std::uint64_t pe = le32(data + 0x3C);
    if (pe + 24 > size || le32(data + pe) != kPeSignature) return false;
    machine_ = le16(data + pe + 4);
    const std::uint32_t sectionCount = le16(data + pe + 6);
    const std::uint32_t optionalSize = le16(data + pe + 20);
    characteristics_ = le16(data + pe + 22);

    const std::uint64_t optional = pe + 24;
    const std::uint64_t optionalEnd = optional + optionalSize;
    if (optionalSize < 2 || optionalEnd > size) return false;
    optionalMagic_ = le16(data + optional);
    std::uint64_t countField = 0;
    if (optionalMagic_ == kOptionalMagic32) {
        countField = optional + 92;
    } else if (optionalMagic_ == kOptionalMagic64) {
        countField = optional + 108;
    } else {
        return false;
    }
    // A header too short for the resource entry simply has no resources.
    if (countField + 4 <= optionalEnd && le32(data + countField) > kResourceDirectoryIndex) {
        const std::uint64_t entry = countField + 4 + 8 * kResourceDirectoryIndex;
        if (entry + 8 <= optionalEnd) {
            resourceRva_ = le32(data + entry);
            resourceSize_ = le32(data + entry + 4);
        }
    }

    const std::uint64_t table = optionalEnd;
    if (table + std::uint64_t{sectionCount} * kSectionHeaderSize > size) return false;
    sections_.reserve(sectionCount);
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* header = data + table + i * kSectionHeaderSize;
        Section section;
        const std::uint32_t virtualSize = le32(header + 8);
        section.virtualAddress = le32(header + 12);
        section.rawSize = le32(header + 16);
        section.rawOffset = le32(header + 20);
        // The loader refuses an image whose section data is cut off by the end of the file.
        if (section.rawSize > 0 &&
            std::uint64_t{section.rawOffset} + std::uint64_t{section.rawSize} > size) {
            return false;
        }
        section.virtualExtent = std::max(virtualSize, section.rawSize);
        sections_.push_back(section);
    }
    return true;
}

bool PeImage::isLoadableModule(ProgramArchitecture architecture, ModuleLoad load) const {
    if ((characteristics_ & kExecutableImage) == 0) return false;
    const bool pe32 = machine_ == kMachineI386 && optionalMagic_ == kOptionalMagic32;
    const bool pe64 = machine_ == kMachineAmd64 && optionalMagic_ == kOptionalMagic64;
    if (load == ModuleLoad::AsData) return pe32 || pe64;
    return architecture == ProgramArchitecture::X86_64 ? pe64 : pe32;
}

bool PeImage::read(std::uint32_t rva, std::uint32_t size, std::vector<std::uint8_t>& out) const {
    if (size > kMaxResourceSize) return false;
    for (const Section& section : sections_) {
        if (rva < section.virtualAddress) continue;
        const std::uint64_t offset = rva - section.virtualAddress;
        if (offset >= section.virtualExtent) continue;
        if (offset + size > section.virtualExtent) return false;
        out.assign(size, 0);
        // An empty resource copies nothing: memcpy must not see the empty vector's null data.
        if (size > 0 && offset < section.rawSize) {
            const std::uint64_t available = section.rawSize - offset;
            const std::size_t count =
                static_cast<std::size_t>(std::min<std::uint64_t>(available, size));
            std::memcpy(out.data(), bytes_.data() + section.rawOffset + offset, count);
        }
        return true;
    }
    return false;
}

std::optional<std::uint32_t> PeImage::readU32(std::uint64_t rva) const {
    std::vector<std::uint8_t> buffer;
    if (rva > 0xFFFFFFFFu || !read(static_cast<std::uint32_t>(rva), 4, buffer)) return std::nullopt;
    return le32(buffer.data());
}

std::optional<std::uint16_t> PeImage::readU16(std::uint64_t rva) const {
    std::vector<std::uint8_t> buffer;
    if (rva > 0xFFFFFFFFu || !read(static_cast<std::uint32_t>(rva), 2, buffer)) return std::nullopt;
    return le16(buffer.data());
}

bool PeImage::directoryCounts(std::uint32_t offset, std::uint32_t& named,
                              std::uint32_t& ids) const {
    const std::uint64_t at = std::uint64_t{resourceRva_} + offset;
    auto namedCount = readU16(at + 12);
    auto idCount = readU16(at + 14);
    if (!namedCount || !idCount) return false;
    named = *namedCount;
    ids = *idCount;
    return true;
}

std::optional<PeImage::Entry> PeImage::entryAt(std::uint32_t directory, std::uint32_t index) const {
    const std::uint64_t at = std::uint64_t{resourceRva_} + directory + kDirectoryHeaderSize +
                             std::uint64_t{index} * kDirectoryEntrySize;
    auto name = readU32(at);
    auto target = readU32(at + 4);
    if (!name || !target) return std::nullopt;
    return Entry{*name, *target & ~kDirectoryFlag, (*target & kDirectoryFlag) != 0};
}

std::optional<std::uint32_t> PeImage::findId(std::uint32_t directory, std::uint16_t id,
                                             bool wantDirectory) const {
    std::uint32_t named = 0, ids = 0;
    if (!directoryCounts(directory, named, ids)) return std::nullopt;
    for (std::uint32_t i = named; i < named + ids; ++i) {
        auto entry = entryAt(directory, i);
        if (!entry) return std::nullopt;  // the table runs out of the image
        if ((entry->name & 0xFFFF) != id) continue;
        // An id that names the wrong kind of entry is a miss, as for the loader.
        if (entry->isDirectory != wantDirectory) return std::nullopt;
        return entry->target;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> PeImage::languageDirectory(std::uint16_t type,
                                                        std::uint16_t id) const {
    if (resourceRva_ == 0 || resourceSize_ == 0) return std::nullopt;
    auto typeDirectory = findId(0, type, true);
    if (!typeDirectory) return std::nullopt;
    return findId(*typeDirectory, id, true);
}

std::optional<std::vector<std::uint8_t>> PeImage::dataOf(std::uint32_t dataEntry) const {
    const std::uint64_t at = std::uint64_t{resourceRva_} + dataEntry;
    auto rva = readU32(at);
    auto size = readU32(at + 4);
    if (!rva || !size) return std::nullopt;
    std::vector<std::uint8_t> data;
    if (!read(*rva, *size, data)) return std::nullopt;
    return data;
}

std::optional<std::vector<std::uint8_t>> PeImage::resource(std::uint16_t type, std::uint16_t id,
                                                           std::uint16_t language) const {
    auto directory = languageDirectory(type, id);
    if (!directory) return std::nullopt;
    auto entry = findId(*directory, language, false);
    if (!entry) return std::nullopt;
    return dataOf(*entry);
}

std::optional<std::vector<std::uint8_t>> PeImage::findResource(std::uint16_t type, std::uint16_t id,
                                                               std::uint16_t userLanguage) const {
    auto directory = languageDirectory(type, id);
    if (!directory) return std::nullopt;

    std::vector<std::uint16_t> order;
    pushLanguage(order, langid::kNeutral);
    pushLanguage(order, userLanguage);
    pushLanguage(order, langid::primary(userLanguage));
    pushLanguage(order, langid::kEnglishUs);
    for (std::uint16_t language : order) {
        if (auto entry = findId(*directory, language, false)) return dataOf(*entry);
    }

    // None of the preferred languages: the first language the resource has.
    std::uint32_t named = 0, ids = 0;
    if (!directoryCounts(*directory, named, ids)) return std::nullopt;
    for (std::uint32_t i = 0; i < named + ids; ++i) {
        auto entry = entryAt(*directory, i);
        if (!entry) return std::nullopt;
        if (!entry->isDirectory) return dataOf(entry->target);
    }
    return std::nullopt;
}

std::vector<std::uint16_t> PeImage::languages(std::uint16_t type, std::uint16_t id) const {
    std::vector<std::uint16_t> result;
    auto directory = languageDirectory(type, id);
    std::uint32_t named = 0, ids = 0;
    if (!directory || !directoryCounts(*directory, named, ids)) return result;
    for (std::uint32_t i = named; i < named + ids; ++i) {
        auto entry = entryAt(*directory, i);
        if (!entry) break;
        if (!entry->isDirectory) result.push_back(static_cast<std::uint16_t>(entry->name));
    }
    return result;
}

std::vector<std::uint16_t> PeImage::ids(std::uint16_t type) const {
    std::vector<std::uint16_t> result;
    if (resourceRva_ == 0 || resourceSize_ == 0) return result;
    auto directory = findId(0, type, true);
    std::uint32_t named = 0, ids = 0;
    if (!directory || !directoryCounts(*directory, named, ids)) return result;
    for (std::uint32_t i = named; i < named + ids; ++i) {
        auto entry = entryAt(*directory, i);
        if (!entry) break;
        if (entry->isDirectory) result.push_back(static_cast<std::uint16_t>(entry->name));
    }
    return result;
}

std::optional<std::u16string> PeImage::stringText(std::uint32_t id,
                                                  std::uint16_t userLanguage) const {
    const auto block = static_cast<std::uint16_t>(((id & 0xFFFF) >> 4) + 1);
    auto data = findResource(restype::kString, block, userLanguage);
    if (!data) return std::nullopt;

    // Sixteen counted UTF-16 texts one after the other; skip to the one wanted.
    std::size_t pos = 0;
    for (std::uint32_t skip = id & 0xF; skip > 0; --skip) {
        if (pos + 2 > data->size()) return std::nullopt;
        pos += 2 + 2 * std::size_t{le16(data->data() + pos)};
    }
    if (pos + 2 > data->size()) return std::nullopt;
    const std::size_t length = le16(data->data() + pos);
    pos += 2;
    if (pos + 2 * length > data->size()) return std::nullopt;
    std::u16string text(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) text[i] = le16(data->data() + pos + 2 * i);
    return text;
}

std::optional<std::vector<std::uint8_t>> PeImage::versionResource(
    std::uint16_t userLanguage) const {
    return findResource(restype::kVersion, 1, userLanguage);
}

}  // namespace tamux::sim
