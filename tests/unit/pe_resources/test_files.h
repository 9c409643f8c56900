// Files for the PE resource tests: reading and writing them, and hand-made PE files, so that a
// test can lay out a resource directory exactly as it wants, hostile ones included.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tamux::test {

std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

// A text in UTF-8 source as UTF-16.
std::u16string u16(const char* utf8);

// One resource to put into a hand-made file.
struct HandmadeResource {
    std::uint16_t type;
    std::uint16_t id;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

// A string table block: sixteen counted texts, the missing ones empty.
std::vector<std::uint8_t> stringBlock(const std::vector<std::u16string>& texts);

// The section that holds `resources` as a resource directory (types, ids and languages in the
// order given, which should be ascending as a linker writes them), for a section at `rva`.
std::vector<std::uint8_t> resourceSection(const std::vector<HandmadeResource>& resources,
                                          std::uint32_t rva);

struct PeOptions {
    std::uint16_t machine = 0x014C;          // i386
    bool pe64 = false;                       // a 64-bit optional header
    std::uint16_t characteristics = 0x2102;  // DLL, 32-bit machine, executable image
    std::uint32_t sectionRva = 0x1000;
    std::uint32_t resourceOffset = 0;  // of the resource directory within the section
    std::uint32_t virtualSize = 0;     // 0: the section's size
};

// A DLL with one section, `section`, to which the resource entry of the header points.
std::vector<std::uint8_t> buildPe(const std::vector<std::uint8_t>& section,
                                  const PeOptions& options = {});
// Where buildPe puts the section in the file.
inline constexpr std::size_t kSectionFileOffset = 0x200;

// A node of a hand-made version block in the 32-bit layout (VS_VERSIONINFO and what it holds).
struct VersionNode {
    std::u16string key;
    std::vector<std::uint8_t> value;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;  // 1: text
    std::vector<VersionNode> children;
};

// The node as a version resource lays it out: header, key, value and children, each aligned to
// four bytes, the length word counting all of it.
std::vector<std::uint8_t> serialize(const VersionNode& node);

// A text value; `count` is the character count to store (the NUL included or not).
VersionNode versionText(std::u16string key, std::u16string value, std::size_t count);

// VS_VERSIONINFO with a zeroed fixed part and a StringFileInfo holding `tables`.
VersionNode versionRoot(std::vector<VersionNode> tables);

// Zeros up to the next multiple of four bytes.
void padTo4(std::vector<std::uint8_t>& bytes);

}  // namespace tamux::test
