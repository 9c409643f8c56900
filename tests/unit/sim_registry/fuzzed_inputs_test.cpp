// Files that fuzzing found to break the loader, kept so that they stay mended.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace tamux::sim {
namespace {

using platform::KeyAccess;
using platform::RootKey;

// A key `depth` levels below HKEY_LOCAL_MACHINE\Deep, each level named "k".
std::string deepPath(int depth) {
    std::string path = "Deep";
    for (int i = 0; i < depth; ++i) path += "\\k";
    return path;
}

TEST(FuzzedFiles, KeysNestedFarDeeperThanTheCallStackLoadDeleteAndGo) {
    // The deletion marked the subtree deleted, and looked for open keys in it, by recursion, one
    // call per level: a file nesting a key 200000 deep overflowed the stack. The registry's
    // destructor released the tree the same way.
    constexpr int kDepth = 200000;
    const std::string path = deepPath(kDepth);
    auto registry = std::make_unique<SimRegistry>();
    registry->importText("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\" + path + "]\r\n\"v\"=\"bottom\"\r\n",
                         "deep.reg");

    platform::Registry::Key bottom = 0;
    ASSERT_EQ(registry->openKey(RootKey::LocalMachine, path, KeyAccess::Read, bottom), 0);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry->queryValue(bottom, "v", type, data), 0);
    EXPECT_EQ(std::string(data.begin(), data.end()), std::string("bottom", 7));

    // Deleting the top while the bottom key is open: the open key answers "key deleted".
    registry->importText("REGEDIT4\r\n[-HKEY_LOCAL_MACHINE\\Deep]\r\n", "delete.reg");
    platform::Registry::Key gone = 0;
    EXPECT_NE(registry->openKey(RootKey::LocalMachine, "Deep", KeyAccess::Read, gone), 0);
    EXPECT_NE(registry->queryValue(bottom, "v", type, data), 0);
    registry->closeKey(bottom);
    EXPECT_EQ(registry->openKeyCount(), 0u);

    // A second deep tree that the registry still holds when it goes.
    registry->importText("REGEDIT4\r\n[HKEY_CURRENT_USER\\" + path + "]\r\n", "again.reg");
    registry.reset();
}

}  // namespace
}  // namespace tamux::sim
