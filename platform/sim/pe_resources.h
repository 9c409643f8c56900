// A reader of the resources of Windows PE files (the language modules and the executables whose
// version the program shows). It finds a resource the way the Windows loader does, by type, id and
// language, and reads string tables and version resources out of it. Every offset in the file is
// checked: a truncated, corrupt or hostile file yields "no such resource", never a read outside
// the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/program_architecture.h"

namespace tamux::sim {

// Resource type ids of the files' resource directories.
namespace restype {
inline constexpr std::uint16_t kString = 6;
inline constexpr std::uint16_t kVersion = 16;
inline constexpr std::uint16_t kRcData = 10;
}  // namespace restype

// Language ids as the resource directories store them (primary language in the low 10 bits).
namespace langid {
inline constexpr std::uint16_t kNeutral = 0x0000;
inline constexpr std::uint16_t kEnglishUs = 0x0409;
inline constexpr std::uint16_t primary(std::uint16_t language) {
    return language & 0x3FF;
}
}  // namespace langid

class PeImage {
  public:
    // Reads a file (at most kMaxFileSize bytes). nullopt when the file cannot be read or is not a
    // PE file whose headers and sections lie within it.
    static std::optional<PeImage> fromFile(const std::filesystem::path& file);
    static std::optional<PeImage> fromBytes(std::vector<std::uint8_t> bytes);

    static constexpr std::uintmax_t kMaxFileSize = 256u << 20;

    // Whether the loader accepts the file as a module: an executable image either way. As code,
    // only the program's own format: PE32 for the i386 machine in a 32-bit program, PE32+ for the
    // x86-64 machine in a 64-bit one; as data, either of the two.
    bool isLoadableModule(ProgramArchitecture architecture,
                          ModuleLoad load = ModuleLoad::AsCode) const;

    // The data of the resource of exactly this type, id and language; nullopt when there is none
    // or when it does not lie within the image.
    std::optional<std::vector<std::uint8_t>> resource(std::uint16_t type, std::uint16_t id,
                                                      std::uint16_t language) const;

    // FindResource + LoadResource without a language: the loader tries the neutral language, the
    // user's language, its primary language with the neutral sublanguage, US English, and then
    // takes the first language the resource has.
    std::optional<std::vector<std::uint8_t>> findResource(std::uint16_t type, std::uint16_t id,
                                                          std::uint16_t userLanguage) const;

    // The languages in which the resource exists, in the directory's order.
    std::vector<std::uint16_t> languages(std::uint16_t type, std::uint16_t id) const;

    // The ids of the resources of a type, in the directory's order (named resources left out).
    std::vector<std::uint16_t> ids(std::uint16_t type) const;

    // LoadString's view of the string table: the text of `id` (only its low 16 bits count, as
    // with LoadString) from the block of sixteen that holds it, in UTF-16. An empty text is an
    // empty string; nullopt when the block is missing or the text runs past the block's end.
    std::optional<std::u16string> stringText(std::uint32_t id, std::uint16_t userLanguage) const;

    // The version resource (type 16, id 1) as GetFileVersionInfo chooses it; nullopt when none.
    std::optional<std::vector<std::uint8_t>> versionResource(std::uint16_t userLanguage) const;

  private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t virtualExtent;
        std::uint32_t rawOffset;
        std::uint32_t rawSize;
    };

    PeImage() = default;
    bool parseHeaders();

    // Bytes of the mapped image at a relative virtual address; the part of a section beyond its
    // file data reads as zeros. false when the range does not lie within one section.
    bool read(std::uint32_t rva, std::uint32_t size, std::vector<std::uint8_t>& out) const;
    std::optional<std::uint32_t> readU32(std::uint64_t rva) const;
    std::optional<std::uint16_t> readU16(std::uint64_t rva) const;

    struct Entry {
        std::uint32_t name;
        std::uint32_t target;  // offset from the directory root, flag bit cleared
        bool isDirectory;
    };
    // The entries of the directory at `offset` from the root: first the named ones, then the ids.
    bool directoryCounts(std::uint32_t offset, std::uint32_t& named, std::uint32_t& ids) const;
    std::optional<Entry> entryAt(std::uint32_t directory, std::uint32_t index) const;
    // The entry with this id among the directory's id entries, when its kind is the one wanted.
    std::optional<std::uint32_t> findId(std::uint32_t directory, std::uint16_t id,
                                        bool wantDirectory) const;
    std::optional<std::uint32_t> languageDirectory(std::uint16_t type, std::uint16_t id) const;
    std::optional<std::vector<std::uint8_t>> dataOf(std::uint32_t dataEntry) const;

    std::vector<std::uint8_t> bytes_;
    std::vector<Section> sections_;
    std::uint16_t machine_ = 0;
    std::uint16_t characteristics_ = 0;
    std::uint16_t optionalMagic_ = 0;
    std::uint32_t resourceRva_ = 0;
    std::uint32_t resourceSize_ = 0;
};

}  // namespace tamux::sim
