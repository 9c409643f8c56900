// Version blocks as the version functions of an NT system hand them out and read them: the block
// that GetFileVersionInfoA fills from a file's version resource, and VerQueryValueA over it.
// Every length in the block is checked against the block's size, so a corrupt resource gives
// "no such value" instead of reading outside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tamux::sim {

// GetFileVersionInfoSizeA for a version resource of `resourceSize` bytes: twice the resource and
// four bytes, the room VerQueryValueA needs for its 8-bit copies of the texts.
std::uint32_t versionInfoSize(std::size_t resourceSize);

// GetFileVersionInfoA into a zeroed buffer of versionInfoSize bytes: the resource, the signature
// "FE2X" right after the block's own length, zeros after that.
std::vector<std::uint8_t> versionInfoBlock(const std::vector<std::uint8_t>& resource);

// VerQueryValueA. `subBlock` is a path of keys separated by backslashes ("" and "\\" name the root,
// empty components are skipped), each key compared without regard to case. The value as the
// function hands it over: the root's VS_FIXEDFILEINFO, a binary value's bytes, a text's stored
// characters (with the NUL only when the stored count includes it) converted to the 8-bit code
// page, or nothing when that would not fit the block's spare room. nullopt when the block has no
// such value. Blocks in the 16-bit layout (8-bit keys, no type word) give every value as bytes.
std::optional<std::vector<std::uint8_t>> queryVersionValue(const std::vector<std::uint8_t>& block,
                                                           std::string_view subBlock,
                                                           unsigned codePage);

}  // namespace tamux::sim
