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

// The many subkeys of a key moved into a link's target, emptied with their root and written
// again: each found afterwards where it now is, and nowhere else.
TEST_F(PathResumeTest, ManySubkeysMovedOrEmptiedAreFoundWhereTheyAre) {
    for (int i = 0; i < 40; ++i) setName("Old\\Dev" + std::to_string(i), "old" + std::to_string(i));
    for (int i = 30; i < 70; ++i) {
        setName("New\\Dev" + std::to_string(i), "new" + std::to_string(i));
    }
    EXPECT_EQ(name("Old\\Dev5"), "old5");
    registry.linkKey(kLocal, "Old", "New");
    // The link's name now shows the target; same-named keys merged, what the link held won.
    for (auto [path, expected] :
         {std::pair{"New\\dev5", "old5"}, std::pair{"Old\\DEV5", "old5"},
          std::pair{"New\\Dev35", "old35"}, std::pair{"Old\\Dev69", "new69"},
          std::pair{"New\\Dev70", "<missing>"}}) {
        EXPECT_EQ(name(path), expected) << path;
    }

    // A root with many keys, emptied and written again.
    const RootKey user = RootKey::CurrentUser;
    for (int i = 0; i < 40; ++i) {
        setName("Top" + std::to_string(i), "top" + std::to_string(i), user);
    }
    EXPECT_EQ(name("top5", user), "top5");
    registry.deleteKey(user, "");
    EXPECT_EQ(name("Top5", user), "<missing>");
    for (int i = 0; i < 40; ++i) {
        setName("Top" + std::to_string(i), "again" + std::to_string(i), user);
    }
    EXPECT_EQ(name("TOP39", user), "again39");
    EXPECT_EQ(name("Top40", user), "<missing>");
}

// Names with letters of the code page's upper half, among enough subkeys to be found through the
// index: the bytes asked for convert to the same UTF-16 names in either code page, and only ASCII
// letters fold.
TEST_F(PathResumeTest, ManySubkeysWithLettersOfTheUpperHalf) {
    struct Case {
        unsigned codePage;
        const char* stored;  // in the code page
        const char* found;
        const char* other;  // the upper-case form of the letter: another name
    };
    for (const Case& c : {Case{1252, "Caf\xE9", "CAF\xE9", "caf\xC9"},
                          Case{1251, "\xE4\xE0", "\xE4\xE0", "\xC4\xC0"}}) {
        SimRegistry local(c.codePage);
        for (int i = 0; i < 40; ++i) {
            local.setString(kLocal, std::string("Many\\") + c.stored + std::to_string(i), "Name",
                            std::to_string(i));
        }
        for (auto [path, found] : {std::pair{std::string(c.found) + "7", true},
                                   std::pair{std::string(c.other) + "7", false}}) {
            Registry::Key key = 0;
            EXPECT_EQ(
                local.openKey(kLocal, "Many\\" + path, KeyAccess::Read, key) == status::kSuccess,
                found)
                << c.codePage << " " << path;
            local.closeKey(key);
        }
    }
}

}  // namespace
}  // namespace tamux::sim
