// An open resumes its walk from where the previous open's path led, when the two share leading
// names. These cases change the registry or the path between two opens in every way that could
// make a remembered key wrong: deletions, new keys, links, names that begin alike, other roots,
// other letter case and spelling of the same path.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_registry.h"

namespace tamux::sim {
namespace {

using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
namespace status = platform::status;

constexpr RootKey kLocal = RootKey::LocalMachine;

class PathResumeTest : public ::testing::Test {
  protected:
    // The "Name" string of the key at `path`, "<missing>" when the open fails.
    std::string name(std::string_view path, RootKey root = kLocal) {
        Registry::Key key = 0;
        if (registry.openKey(root, path, KeyAccess::Read, key) != status::kSuccess) {
            return "<missing>";
        }
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        const long result = registry.queryValue(key, "Name", type, data);
        registry.closeKey(key);
        if (result != status::kSuccess) return "<no name>";
        return std::string(data.begin(), data.end() - 1);
    }

    void setName(std::string_view path, std::string_view text, RootKey root = kLocal) {
        registry.setString(root, path, "Name", text);
    }

    SimRegistry registry;
};

TEST_F(PathResumeTest, DeletedAndRecreatedKeysAreFoundAnew) {
    setName("Enum\\PCI\\Dev\\0", "first");
    EXPECT_EQ(name("Enum\\PCI\\Dev\\0"), "first");

    registry.deleteKey(kLocal, "Enum\\PCI\\Dev");
    EXPECT_EQ(name("Enum\\PCI\\Dev\\0"), "<missing>");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "<missing>");

    setName("Enum\\PCI\\Dev\\0", "second");
    EXPECT_EQ(name("Enum\\PCI\\Dev\\0"), "second");

    // A deleted parent after an open of its child, then the parent itself.
    registry.deleteKey(kLocal, "Enum\\PCI");
    EXPECT_EQ(name("Enum\\PCI"), "<missing>");
}

TEST_F(PathResumeTest, AKeyMissingAtOneOpenIsFoundOnceItExists) {
    EXPECT_EQ(name("Enum\\USB\\Hub"), "<missing>");
    setName("Enum\\USB\\Hub", "hub");
    EXPECT_EQ(name("Enum\\USB\\Hub"), "hub");
    // Through a .reg import too.
    EXPECT_EQ(name("Enum\\USB\\Hub\\Port"), "<missing>");
    registry.importText(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Enum\\USB\\Hub\\Port]\r\n"
        "\"Name\"=\"port\"\r\n",
        "port.reg");
    EXPECT_EQ(name("Enum\\USB\\Hub\\Port"), "port");
}

TEST_F(PathResumeTest, NamesThatBeginAlikeAreNotTakenForEachOther) {
    setName("Enum\\PCI\\Dev", "pci");
    setName("Enum\\PCIIDE\\Dev", "pciide");
    setName("Enum\\PC\\Dev", "pc");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "pci");
    EXPECT_EQ(name("Enum\\PCIIDE\\Dev"), "pciide");
    EXPECT_EQ(name("Enum\\PC\\Dev"), "pc");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "pci");
    EXPECT_EQ(name("Enum\\PCI\\De"), "<missing>");
    EXPECT_EQ(name("Enum\\PCI\\Dev2"), "<missing>");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "pci");
}

TEST_F(PathResumeTest, OtherSpellingsOfTheSamePathReachTheSameKey) {
    setName("Enum\\PCI\\Dev", "pci");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "pci");
    EXPECT_EQ(name("ENUM\\pci\\dEV"), "pci");
    EXPECT_EQ(name("Enum\\\\PCI\\Dev\\"), "pci");
    EXPECT_EQ(name("Enum\\PCI\\\\Dev"), "pci");
    EXPECT_EQ(name("Enum\\PCI"), "<no name>");
    EXPECT_EQ(name(""), "<no name>");
    EXPECT_EQ(name("Enum\\PCI\\Dev"), "pci");
}

TEST_F(PathResumeTest, EachRootHasItsOwnKeys) {
    setName("Software\\Same", "machine");
    setName("Software\\Same", "user", RootKey::CurrentUser);
    EXPECT_EQ(name("Software\\Same"), "machine");
    EXPECT_EQ(name("Software\\Same", RootKey::CurrentUser), "user");
    EXPECT_EQ(name("Software\\Same", RootKey::DynData), "<missing>");
    EXPECT_EQ(name("Software\\Same"), "machine");
}

TEST_F(PathResumeTest, ALinkLeadsWhereItLeadsNow) {
    setName("SYSTEM\\ControlSet001\\Enum\\Dev", "one");
    setName("SYSTEM\\ControlSet002\\Enum\\Dev", "two");
    registry.linkKey(kLocal, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    EXPECT_EQ(name("SYSTEM\\CurrentControlSet\\Enum\\Dev"), "one");

    registry.linkKey(kLocal, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet002");
    EXPECT_EQ(name("SYSTEM\\CurrentControlSet\\Enum\\Dev"), "two");

    // The link's target deleted and written again.
    registry.deleteKey(kLocal, "SYSTEM\\ControlSet002\\Enum");
    EXPECT_EQ(name("SYSTEM\\CurrentControlSet\\Enum\\Dev"), "<missing>");
    setName("SYSTEM\\ControlSet002\\Enum\\Dev", "three");
    EXPECT_EQ(name("SYSTEM\\CurrentControlSet\\Enum\\Dev"), "three");
}

TEST_F(PathResumeTest, ADeniedKeyIsDeniedWhicheverOpenCameBefore) {
    setName("Enum\\Open\\Dev", "open");
    setName("Enum\\Shut\\Dev", "shut");
    EXPECT_EQ(name("Enum\\Shut\\Dev"), "shut");
    registry.denyOpen(kLocal, "Enum\\Shut\\Dev");
    EXPECT_EQ(name("Enum\\Open\\Dev"), "open");
    EXPECT_EQ(name("Enum\\Shut\\Dev"), "<missing>");
    EXPECT_EQ(name("Enum\\Open\\Dev"), "open");
}

// A key with thousands of subkeys, as a device class has: each found by name however the list
// changes between opens, and listed in order.
TEST_F(PathResumeTest, KeysWithManySubkeysFindEachOfThem) {
    for (int i = 0; i < 300; ++i) setName("Enum\\PCI\\Dev" + std::to_string(i), std::to_string(i));
    for (int i : {0, 299, 150, 7}) {
        EXPECT_EQ(name("Enum\\PCI\\DEV" + std::to_string(i)), std::to_string(i));
    }
    EXPECT_EQ(name("Enum\\PCI\\Dev300"), "<missing>");

    registry.deleteKey(kLocal, "Enum\\PCI\\Dev150");
    EXPECT_EQ(name("Enum\\PCI\\Dev150"), "<missing>");
    EXPECT_EQ(name("Enum\\PCI\\Dev151"), "151");
    setName("Enum\\PCI\\Dev300", "new");
    EXPECT_EQ(name("Enum\\PCI\\Dev300"), "new");
    setName("Enum\\PCI\\Dev150", "again");
    EXPECT_EQ(name("Enum\\PCI\\Dev150"), "again");
    // A key linked in among them.
    setName("Elsewhere\\Target", "linked");
    registry.linkKey(kLocal, "Enum\\PCI\\Link", "Elsewhere\\Target");
    EXPECT_EQ(name("Enum\\PCI\\link"), "linked");

    Registry::Key key = 0;
    ASSERT_EQ(registry.openKey(kLocal, "Enum\\PCI", KeyAccess::Read, key), status::kSuccess);
    std::vector<std::string> names;
    ASSERT_EQ(registry.subkeyNames(key, names), status::kSuccess);
    registry.closeKey(key);
    ASSERT_EQ(names.size(), 302u);
    EXPECT_EQ(names.front(), "Dev0");
    EXPECT_EQ(names.back(), "Link");
}

}  // namespace
}  // namespace tamux::sim
