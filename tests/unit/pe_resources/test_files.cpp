#include "tests/unit/pe_resources/test_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/sim/codepage.h"

namespace tamux::test {

namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

std::size_t align(std::size_t value, std::size_t to) {
    return (value + to - 1) / to * to;
}

}  // namespace

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::u16string u16(const char* utf8) {
    return sim::utf8ToUtf16(utf8);
}

std::vector<std::uint8_t> stringBlock(const std::vector<std::u16string>& texts) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < texts.size() ? texts[i] : std::u16string();
        out.push_back(static_cast<std::uint8_t>(text.size()));
        out.push_back(static_cast<std::uint8_t>(text.size() >> 8));
        for (char16_t c : text) {
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
        }
    }
    return out;
}

std::vector<std::uint8_t> resourceSection(const std::vector<HandmadeResource>& resources,
                                          std::uint32_t rva) {
    struct Name {
        std::uint16_t id;
        std::vector<std::size_t> resources;  // indexes into `resources`, one per language
    };
    struct Type {
        std::uint16_t id;
        std::vector<Name> names;
    };
    std::vector<Type> types;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const HandmadeResource& resource = resources[i];
        Type* type = nullptr;
        for (Type& t : types) {
            if (t.id == resource.type) type = &t;
        }
        if (!type) type = &types.emplace_back(Type{resource.type, {}});
        Name* name = nullptr;
        for (Name& n : type->names) {
            if (n.id == resource.id) name = &n;
        }
        if (!name) name = &type->names.emplace_back(Name{resource.id, {}});
        name->resources.push_back(i);
    }

    // Directories first (root, types, names), then the data entries, then the data.
    std::size_t offset = 16 + 8 * types.size();
    std::vector<std::size_t> typeDirs, nameDirs;
    for (const Type& type : types) {
        typeDirs.push_back(offset);
        offset += 16 + 8 * type.names.size();
    }
    for (const Type& type : types) {
        for (const Name& name : type.names) {
            nameDirs.push_back(offset);
            offset += 16 + 8 * name.resources.size();
        }
    }
    std::vector<std::size_t> dataEntries(resources.size()), data(resources.size());
    for (std::size_t i = 0; i < resources.size(); ++i) {
        dataEntries[i] = offset;
        offset += 16;
    }
    for (std::size_t i = 0; i < resources.size(); ++i) {
        data[i] = offset;
        offset = align(offset + resources[i].data.size(), 4);
    }

    std::vector<std::uint8_t> out(offset, 0);
    put16(out, 14, static_cast<std::uint32_t>(types.size()));
    std::size_t nameIndex = 0;
    for (std::size_t t = 0; t < types.size(); ++t) {
        put32(out, 16 + 8 * t, types[t].id);
        put32(out, 16 + 8 * t + 4, static_cast<std::uint32_t>(typeDirs[t]) | 0x80000000u);
        put16(out, typeDirs[t] + 14, static_cast<std::uint32_t>(types[t].names.size()));
        for (std::size_t n = 0; n < types[t].names.size(); ++n, ++nameIndex) {
            const Name& name = types[t].names[n];
            const std::size_t entry = typeDirs[t] + 16 + 8 * n;
            put32(out, entry, name.id);
            put32(out, entry + 4, static_cast<std::uint32_t>(nameDirs[nameIndex]) | 0x80000000u);
            put16(out, nameDirs[nameIndex] + 14, static_cast<std::uint32_t>(name.resources.size()));
            for (std::size_t l = 0; l < name.resources.size(); ++l) {
                const std::size_t index = name.resources[l];
                const std::size_t languageEntry = nameDirs[nameIndex] + 16 + 8 * l;
                put32(out, languageEntry, resources[index].language);
                put32(out, languageEntry + 4, static_cast<std::uint32_t>(dataEntries[index]));
            }
        }
    }
    for (std::size_t i = 0; i < resources.size(); ++i) {
        put32(out, dataEntries[i], rva + static_cast<std::uint32_t>(data[i]));
        put32(out, dataEntries[i] + 4, static_cast<std::uint32_t>(resources[i].data.size()));
        std::copy(resources[i].data.begin(), resources[i].data.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(data[i]));
    }
    return out;
}

std::vector<std::uint8_t> buildPe(const std::vector<std::uint8_t>& section,
                                  const PeOptions& options) {
    const std::size_t rawSize = align(section.size(), 0x200);
    std::vector<std::uint8_t> out(kSectionFileOffset + rawSize, 0);
    out[0] = 'M';
    out[1] = 'Z';
    put32(out, 0x3C, 0x40);
    out[0x40] = 'P';
    out[0x41] = 'E';
    const std::size_t coff = 0x44;
    const std::size_t optionalSize = options.pe64 ? 240 : 224;
    put16(out, coff, options.machine);
    put16(out, coff + 2, 1);
    put16(out, coff + 16, static_cast<std::uint32_t>(optionalSize));
    put16(out, coff + 18, options.characteristics);

    const std::size_t optional = coff + 20;
    put16(out, optional, options.pe64 ? 0x20B : 0x10B);
    put32(out, optional + 32, 0x1000);  // section alignment
    put32(out, optional + 36, 0x200);   // file alignment
    put32(out, optional + 56,
          options.sectionRva + static_cast<std::uint32_t>(align(section.size(), 0x1000)));
    put32(out, optional + 60, static_cast<std::uint32_t>(kSectionFileOffset));
    const std::size_t count = optional + (options.pe64 ? 108 : 92);
    put32(out, count, 16);
    put32(out, count + 4 + 16, options.sectionRva + options.resourceOffset);
    put32(out, count + 4 + 20, static_cast<std::uint32_t>(section.size()) - options.resourceOffset);

    const std::size_t header = optional + optionalSize;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    std::copy(name, name + 8, out.begin() + static_cast<std::ptrdiff_t>(header));
    put32(out, header + 8,
          options.virtualSize ? options.virtualSize : static_cast<std::uint32_t>(section.size()));
    put32(out, header + 12, options.sectionRva);
    put32(out, header + 16, static_cast<std::uint32_t>(rawSize));
    put32(out, header + 20, static_cast<std::uint32_t>(kSectionFileOffset));
    put32(out, header + 36, 0x40000040);  // initialised data, readable

    std::copy(section.begin(), section.end(),
              out.begin() + static_cast<std::ptrdiff_t>(kSectionFileOffset));
    return out;
}

void padTo4(std::vector<std::uint8_t>& bytes) {
    while (bytes.size() % 4) bytes.push_back(0);
}

std::vector<std::uint8_t> serialize(const VersionNode& node) {
    std::vector<std::uint8_t> out;
    auto word = [&out](std::uint32_t value) {
        out.push_back(static_cast<std::uint8_t>(value));
        out.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    word(0);  // the length, known at the end
    word(node.valueLength);
    word(node.type);
    for (char16_t c : node.key) word(c);
    word(0);
    padTo4(out);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const VersionNode& child : node.children) {
        padTo4(out);
        const auto part = serialize(child);
        out.insert(out.end(), part.begin(), part.end());
    }
    put16(out, 0, static_cast<std::uint32_t>(out.size()));
    return out;
}

VersionNode versionText(std::u16string key, std::u16string value, std::size_t count) {
    VersionNode node{std::move(key), {}, static_cast<std::uint16_t>(count), 1, {}};
    value.push_back(u'\0');
    for (char16_t c : value) {
        node.value.push_back(static_cast<std::uint8_t>(c));
        node.value.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return node;
}

VersionNode versionRoot(std::vector<VersionNode> tables) {
    std::vector<std::uint8_t> fixed(52, 0);
    put32(fixed, 0, 0xFEEF04BD);
    VersionNode strings{u"StringFileInfo", {}, 0, 1, std::move(tables)};
    return VersionNode{u"VS_VERSION_INFO", fixed, 52, 0, {strings}};
}

}  // namespace tamux::test
