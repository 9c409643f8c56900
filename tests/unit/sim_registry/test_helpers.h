// Helpers of the registry tests: .reg files in both encodings, and a registry read back whole
// through the Registry interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tamux::test {

// `text` (ASCII or UTF-16 units) as a UTF-16LE file with its BOM, as regedit writes Version 5.00.
std::string utf16File(std::u16string_view text);

// Bytes as a std::vector, for comparing value data.
std::vector<std::uint8_t> bytes(std::string_view text);

// Every key below `path` (itself included), its values in order with type and data, its subkeys in
// order, as lines of text; read through openKey/valueNames/queryValue/subkeyNames only. Closes
// every key it opens.
std::string dumpTree(platform::Registry& registry, platform::RootKey root, const std::string& path);

}  // namespace tamux::test
