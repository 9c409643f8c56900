// What the MinGW objdump prints about a PE file, read back: the resource tree of `objdump -p`
// (types, ids, languages, and where each resource's data lies) and the bytes of a section from
// `objdump -s`. It is the independent account of a file that the reader is checked against.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamux::test {

// One resource as the tree of `objdump -p` lists it.
struct ResourceLeaf {
    std::uint16_t type = 0;
    std::uint16_t id = 0;
    std::uint16_t language = 0;
    bool named = false;  // its type or name is a text rather than an id
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct ObjdumpView {
    std::uint64_t imageBase = 0;
    std::vector<ResourceLeaf> resources;
    std::uint64_t rsrcAddress = 0;  // virtual address of the first byte of `rsrc`
    std::vector<std::uint8_t> rsrc;

    // The bytes of a resource, taken from the section dump; empty when not inside it.
    std::vector<std::uint8_t> dataOf(const ResourceLeaf& leaf) const;
};

// Runs `objdump -p` and `objdump -s -j .rsrc` on `file`, keeping their output in `scratch`.
// Throws when objdump fails or prints something this reader does not understand.
ObjdumpView readWithObjdump(const std::string& objdump, const std::filesystem::path& file,
                            const std::filesystem::path& scratch);

}  // namespace tamux::test
