// The keys a .reg export names in its "[...]" lines, in file order: what a walk of "every key of
// the fixture" covers. Only the key lines are read; the values are left to the loaders under test.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tamux::wine_test {

struct RegFileKey {
    platform::RootKey root;
    std::string path;  // under the root, in the 8-bit code page
};

// Reads UTF-16LE files (with their BOM) and 8-bit files in `codePage`. Deletion lines ("[-...]")
// and keys under roots the program does not read are left out.
std::vector<RegFileKey> regFileKeys(const std::filesystem::path& file, unsigned codePage);

}  // namespace tamux::wine_test
