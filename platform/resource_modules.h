// Resource module service: language modules (string tables) and version resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamux::platform {

class ResourceModules {
  public:
    // A loaded module; 0 is "none".
    using Module = std::uintptr_t;

    virtual ~ResourceModules() = default;

    // LoadLibraryA. Returns the module, or 0 when the file is missing or not a loadable module.
    virtual Module loadLibrary(std::string_view path) = 0;

    // FreeLibrary. Freeing 0 does nothing.
    virtual void freeLibrary(Module module) = 0;

    // LoadStringA(module, id, buffer, bufferSize): the text of `id` in the module's string table,
    // converted to the system's 8-bit code page and cut to bufferSize - 1 bytes. Returns the
    // number of bytes stored in `text`; 0 when the module has no such text (or module is 0), and
    // `text` is then empty.
    virtual int loadString(Module module, std::uint32_t id, std::string& text, int bufferSize) = 0;

    // GetFileVersionInfoSizeA: the size of the file's version block, 0 when it has none.
    virtual std::uint32_t fileVersionInfoSize(std::string_view path) = 0;

    // GetFileVersionInfoA: the version block, or nullopt when the file has none.
    virtual std::optional<std::vector<std::uint8_t>> fileVersionInfo(std::string_view path) = 0;

    // VerQueryValueA on a block from fileVersionInfo: "\" gives the 52-byte VS_FIXEDFILEINFO,
    // "\VarFileInfo\Translation" the translation words, "\StringFileInfo\<lang><cp>\<key>" the
    // string with its terminating NUL. nullopt when the block has no such value.
    virtual std::optional<std::vector<std::uint8_t>> queryVersionValue(
        const std::vector<std::uint8_t>& block, std::string_view subBlock) = 0;
};

}  // namespace tamux::platform
