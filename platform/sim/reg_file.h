// Reading .reg export files, as regedit writes them: "REGEDIT4" (8-bit text) and "Windows Registry
// Editor Version 5.00" (UTF-16LE with a BOM, or 8-bit). The parser knows nothing of how a registry
// stores its keys: it hands every edit the file makes, in file order, to a RegFileSink.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tamux::sim {

class RegFileSink {
  public:
    virtual ~RegFileSink() = default;

    // Key paths and value names arrive in UTF-16, as NT stores them (the text of an 8-bit file
    // converted from its code page); value data arrives as RegQueryValueExA delivers it.

    // "[root\path]": the key becomes the current one, created when missing. `path` is the part
    // after the root (empty for the root itself). `root` is empty for the roots that the program
    // never reads (HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG): their keys and values are
    // accepted and may be dropped.
    virtual void selectKey(std::optional<platform::RootKey> root, const std::u16string& path) = 0;

    // "[-root\path]": the key and its whole subtree go. `path` is never empty. No key is current
    // afterwards.
    virtual void deleteKey(std::optional<platform::RootKey> root, const std::u16string& path) = 0;

    // A value of the current key (the empty name is the default value). String types (REG_SZ,
    // REG_EXPAND_SZ, REG_MULTI_SZ) arrive in the 8-bit code page with their NULs, other types as
    // written.
    virtual void setValue(const std::u16string& name, std::uint32_t type,
                          std::vector<std::uint8_t> data) = 0;

    // "name"=- : the value of the current key goes, if it exists.
    virtual void deleteValue(const std::u16string& name) = 0;
};

// Parses a whole .reg file held in `bytes`. Text of an 8-bit file is taken to be in `codePage`.
// String data of a UTF-16 file (and the UTF-16 data of hex(1), hex(2) and hex(7) values in a
// Version 5.00 file) is converted to the code page, one UTF-16 unit to one byte.
// Raises RegFileError naming `sourceName`, the line and what was expected there at the first
// malformed line; the edits of the lines before it have been handed to the sink by then. A
// tamux::Error raised by the sink is passed on as a RegFileError at the line that caused it.
void parseRegFile(std::string_view bytes, std::string_view sourceName, unsigned codePage,
                  RegFileSink& sink);

}  // namespace tamux::sim
