// SimRegistry through the Registry interface: the answers RegOpenKeyExA, RegQueryValueExA,
// RegEnumKeyExA, RegEnumValueA and RegCloseKey give, links, deletions and injected failures.
#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "tests/support/test_paths.h"
#include "tests/unit/sim_registry/test_helpers.h"

namespace tamux::sim {
namespace {

using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
using test::bytes;
namespace status = platform::status;
namespace regtype = platform::regtype;

constexpr Registry::Key kSentinelKey = 0xBAD0;
constexpr long kBadPathname = 161;

class SimRegistryTest : public ::testing::Test {
  protected:
    // Opens and expects success; the key is closed at the end of the test.
    Registry::Key open(RootKey root, std::string_view path, KeyAccess access = KeyAccess::Read) {
        Registry::Key key = kSentinelKey;
        long result = registry.openKey(root, path, access, key);
        EXPECT_EQ(result, status::kSuccess) << "opening " << path;
        EXPECT_NE(key, 0u);
        if (result == status::kSuccess) opened.push_back(key);
        return key;
    }

    // The status of an open that is expected to fail; also checks that nothing was left open.
    long failedOpen(RootKey root, std::string_view path, KeyAccess access = KeyAccess::Read) {
        std::size_t before = registry.openKeyCount();
        Registry::Key key = kSentinelKey;
        long result = registry.openKey(root, path, access, key);
        EXPECT_EQ(key, 0u) << "a failed open must set the key to 0";
        EXPECT_EQ(registry.openKeyCount(), before);
        if (result == status::kSuccess) registry.closeKey(key);
        return result;
    }

    std::vector<std::string> subkeys(RootKey root, std::string_view path) {
        std::vector<std::string> names;
        EXPECT_EQ(registry.subkeyNames(open(root, path), names), status::kSuccess);
        return names;
    }

    std::vector<std::string> values(RootKey root, std::string_view path) {
        std::vector<std::string> names;
        EXPECT_EQ(registry.valueNames(open(root, path), names), status::kSuccess);
        return names;
    }

    std::vector<std::uint8_t> data(RootKey root, std::string_view path, std::string_view name,
                                   std::uint32_t* type = nullptr) {
        std::uint32_t t = 0xDEADBEEF;
        std::vector<std::uint8_t> d;
        EXPECT_EQ(registry.queryValue(open(root, path), name, t, d), status::kSuccess)
            << path << " " << name;
        if (type) *type = t;
        return d;
    }

    void TearDown() override {
        for (auto key : opened) registry.closeKey(key);
        EXPECT_EQ(registry.openKeyCount(), 0u);
    }

    SimRegistry registry;
    std::vector<Registry::Key> opened;
};

TEST_F(SimRegistryTest, NamesAreComparedWithoutRegardToCase) {
    registry.setString(RootKey::LocalMachine, "Software\\Vendor", "Name", "v");
    EXPECT_EQ(data(RootKey::LocalMachine, "SOFTWARE\\vendor", "NAME"),
              bytes(std::string("v\0", 2)));
    EXPECT_EQ(data(RootKey::LocalMachine, "software\\VENDOR", "name"),
              bytes(std::string("v\0", 2)));
    // A key and a value keep the spelling they were first written with.
    registry.createKey(RootKey::LocalMachine, "SOFTWARE\\VENDOR\\Sub");
    registry.setDword(RootKey::LocalMachine, "software\\vendor", "NAME", 7);
    EXPECT_EQ(subkeys(RootKey::LocalMachine, ""), (std::vector<std::string>{"Software"}));
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "Software"), (std::vector<std::string>{"Vendor"}));
    EXPECT_EQ(values(RootKey::LocalMachine, "Software\\Vendor"),
              (std::vector<std::string>{"Name"}));
}

TEST_F(SimRegistryTest, OpeningPaths) {
    registry.createKey(RootKey::CurrentUser, "Control Panel\\Mouse");
    registry.setString(RootKey::CurrentUser, "", "AtRoot", "r");

    // The empty path is the root itself.
    EXPECT_EQ(subkeys(RootKey::CurrentUser, ""), (std::vector<std::string>{"Control Panel"}));
    EXPECT_EQ(data(RootKey::CurrentUser, "", "AtRoot"), bytes(std::string("r\0", 2)));
    // Trailing and doubled backslashes name the same key; a leading one is a bad path, as on NT.
    open(RootKey::CurrentUser, "Control Panel\\Mouse\\");
    open(RootKey::CurrentUser, "Control Panel\\\\Mouse");
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "\\Control Panel"), kBadPathname);

    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "Control Panel\\Keyboard"), status::kFileNotFound);
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "Control Panel\\Mouse\\Deeper"),
              status::kFileNotFound);
    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "Control Panel"), status::kFileNotFound);
    EXPECT_EQ(failedOpen(static_cast<RootKey>(7), ""), status::kInvalidHandle);
    // A failed open creates nothing.
    EXPECT_EQ(subkeys(RootKey::CurrentUser, "Control Panel"), (std::vector<std::string>{"Mouse"}));

    // Each open is a handle of its own.
    Registry::Key a = open(RootKey::CurrentUser, "Control Panel");
    Registry::Key b = open(RootKey::CurrentUser, "Control Panel");
    EXPECT_NE(a, b);
}

TEST_F(SimRegistryTest, QueriesThatFailLeaveTheOutputsAlone) {
    registry.setString(RootKey::LocalMachine, "K", "there", "x");
    Registry::Key key = open(RootKey::LocalMachine, "K");
    std::uint32_t type = 0xDEADBEEF;
    std::vector<std::uint8_t> out = {0xBD, 0xBD};
    const std::vector<std::uint8_t> sentinel = out;

    EXPECT_EQ(registry.queryValue(key, "missing", type, out), status::kFileNotFound);
    EXPECT_EQ(registry.queryValue(key, "", type, out), status::kFileNotFound);  // no default set
    EXPECT_EQ(registry.queryValue(0, "there", type, out), status::kInvalidHandle);
    EXPECT_EQ(registry.queryValue(0xF00D, "there", type, out), status::kInvalidHandle);
    Registry::Key closed = open(RootKey::LocalMachine, "K");
    registry.closeKey(closed);
    opened.pop_back();
    EXPECT_EQ(registry.queryValue(closed, "there", type, out), status::kInvalidHandle);
    EXPECT_EQ(type, 0xDEADBEEF);
    EXPECT_EQ(out, sentinel);

    std::vector<std::string> names = {"kept"};
    EXPECT_EQ(registry.subkeyNames(0, names), status::kInvalidHandle);
    EXPECT_EQ(registry.valueNames(closed, names), status::kInvalidHandle);
    EXPECT_EQ(names, (std::vector<std::string>{"kept"}));
}

// Two threads may use the registry at once: a key opened on one is read on the other, and a key
// closed on one is closed for the other too, also the key that one opened last.
TEST_F(SimRegistryTest, KeysCrossThreads) {
    registry.setString(RootKey::LocalMachine, "K", "there", "x");
    std::uint32_t type = 0;
    std::vector<std::uint8_t> out;
    Registry::Key theirs = 0;
    std::thread([&] { theirs = open(RootKey::LocalMachine, "K"); }).join();
    EXPECT_EQ(registry.queryValue(theirs, "there", type, out), status::kSuccess);

    const Registry::Key mine = open(RootKey::LocalMachine, "K");
    opened.pop_back();
    EXPECT_EQ(registry.queryValue(mine, "there", type, out), status::kSuccess);
    std::thread([&] { registry.closeKey(mine); }).join();
    EXPECT_EQ(registry.queryValue(mine, "there", type, out), status::kInvalidHandle);
    EXPECT_EQ(registry.queryValue(theirs, "there", type, out), status::kSuccess);
}

// NT keeps subkeys sorted by their upper-case names and values in the order they were created.
TEST_F(SimRegistryTest, SubkeysComeInNameOrderAndValuesInCreationOrder) {
    for (const char* name :
         {"beta", "Alpha", "GAMMA", "a_b", "AB", "0", "Zeta", "{guid}", "alpha2"}) {
        registry.createKey(RootKey::LocalMachine, std::string("Order\\") + name);
    }
    // "AB" before "a_b": '_' sorts after the upper-case letters, as NT compares names. (Wine
    // compares lower case and lists "a_b" first.)
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "Order"),
              (std::vector<std::string>{"0", "AB", "Alpha", "alpha2", "a_b", "beta", "GAMMA",
                                        "Zeta", "{guid}"}));

    for (const char* name : {"zulu", "Alpha", "", "mike"}) {
        registry.setString(RootKey::LocalMachine, "Order", name, "1");
    }
    EXPECT_EQ(values(RootKey::LocalMachine, "Order"),
              (std::vector<std::string>{"zulu", "Alpha", "", "mike"}));
    // Overwriting keeps the place; a value deleted and written again goes to the end.
    registry.setDword(RootKey::LocalMachine, "Order", "ZULU", 1);
    registry.importText(
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Order]\r\n\"alpha\"=-\r\n\"Alpha\"=\"again\"\r\n",
        "o.reg");
    EXPECT_EQ(values(RootKey::LocalMachine, "Order"),
              (std::vector<std::string>{"zulu", "", "mike", "Alpha"}));
}

TEST_F(SimRegistryTest, StringValuesArriveInTheRegistrysCodePage) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n"
        u"\"Name\"=\"\u0416\u0443\u043a h\u00f4te\"\r\n"
        u"\"Multi\"=hex(7):16,04,00,00,f4,00,00,00,00,00\r\n";
    SimRegistry cyrillic(1251);
    cyrillic.importText(test::utf16File(text), "t.reg");
    registry.importText(test::utf16File(text), "t.reg");

    Registry::Key key = 0;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> out;
    ASSERT_EQ(cyrillic.openKey(RootKey::CurrentUser, "T", KeyAccess::Read, key), status::kSuccess);
    EXPECT_EQ(cyrillic.queryValue(key, "Name", type, out), status::kSuccess);
    // Code page 1251 has no "ô": Windows writes its plain letter.
    EXPECT_EQ(out, bytes(std::string("\xC6\xF3\xEA hote\0", 9)));
    EXPECT_EQ(cyrillic.queryValue(key, "Multi", type, out), status::kSuccess);
    EXPECT_EQ(out, bytes(std::string("\xC6\0o\0\0", 5)));
    cyrillic.closeKey(key);
    EXPECT_EQ(cyrillic.openKeyCount(), 0u);

    EXPECT_EQ(data(RootKey::CurrentUser, "T", "Name"), bytes(std::string("??? h\xF4te\0", 9)));
    EXPECT_EQ(data(RootKey::CurrentUser, "T", "Multi"), bytes(std::string("?\0\xF4\0\0", 5)));
}

// Names are kept as NT keeps them, in UTF-16: ordered by their Unicode form, handed out in the
// code page, and a name the code page cannot spell comes out as "?" that opens nothing.
TEST_F(SimRegistryTest, NamesLiveInUtf16AndCrossTheCodePage) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\N\\\u0416]\r\n\"\u0416\"=\"1\"\r\n"
        u"[HKEY_CURRENT_USER\\N\\\u00e9]\r\n"
        u"[HKEY_CURRENT_USER\\N\\Z]\r\n";
    registry.importText(test::utf16File(text), "n.reg");
    EXPECT_EQ(subkeys(RootKey::CurrentUser, "N"), (std::vector<std::string>{"Z", "\xE9", "?"}));
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "N\\?"), status::kFileNotFound);
    open(RootKey::CurrentUser, "N\\\xE9");

    SimRegistry cyrillic(1251);
    cyrillic.importText(test::utf16File(text), "n.reg");
    cyrillic.importText("REGEDIT4\r\n[HKEY_CURRENT_USER\\N\\\xC6]\r\n\"\xC6\"=\"2\"\r\n", "n4.reg");
    Registry::Key key = 0;
    ASSERT_EQ(cyrillic.openKey(RootKey::CurrentUser, "N\\\xC6", KeyAccess::Read, key),
              status::kSuccess);
    std::vector<std::string> names;
    EXPECT_EQ(cyrillic.valueNames(key, names), status::kSuccess);
    EXPECT_EQ(names, (std::vector<std::string>{"\xC6"}));  // the 8-bit file wrote the same name
    std::uint32_t type = 0;
    std::vector<std::uint8_t> out;
    EXPECT_EQ(cyrillic.queryValue(key, "\xC6", type, out), status::kSuccess);
    EXPECT_EQ(out, bytes(std::string("2\0", 2)));
    cyrillic.closeKey(key);
}

TEST_F(SimRegistryTest, RootsOutOfReachKeepTheirKeysAway) {
    registry.importText(
        "REGEDIT4\r\n"
        "[HKEY_CLASSES_ROOT\\Software]\r\n\"x\"=\"1\"\r\n"
        "[HKEY_USERS\\.DEFAULT\\Control Panel]\r\n\"y\"=\"1\"\r\n"
        "[-HKEY_CURRENT_CONFIG\\System]\r\n"
        "[HKEY_DYN_DATA\\PerfStats]\r\n\"z\"=\"1\"\r\n",
        "roots.reg");
    EXPECT_TRUE(subkeys(RootKey::LocalMachine, "").empty());
    EXPECT_TRUE(subkeys(RootKey::CurrentUser, "").empty());
    EXPECT_TRUE(values(RootKey::CurrentUser, "").empty());
    EXPECT_EQ(subkeys(RootKey::DynData, ""), (std::vector<std::string>{"PerfStats"}));
}

TEST_F(SimRegistryTest, ImportedDeletionsRemoveWholeSubtrees) {
    registry.importText(
        "REGEDIT4\r\n"
        "[HKEY_LOCAL_MACHINE\\A\\B\\C]\r\n\"v\"=\"1\"\r\n"
        "[HKEY_LOCAL_MACHINE\\A\\B2]\r\n"
        "[-HKEY_LOCAL_MACHINE\\a\\b]\r\n"
        "[-HKEY_LOCAL_MACHINE\\A\\NotThere\\Either]\r\n",
        "del.reg");
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "A"), (std::vector<std::string>{"B2"}));
    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "A\\B\\C"), status::kFileNotFound);
    // A key made again after its deletion starts empty.
    registry.createKey(RootKey::LocalMachine, "A\\B");
    EXPECT_TRUE(subkeys(RootKey::LocalMachine, "A\\B").empty());
}

TEST_F(SimRegistryTest, AnOpenKeyThatIsDeletedAnswersKeyDeleted) {
    registry.setString(RootKey::LocalMachine, "A\\B\\C", "v", "1");
    Registry::Key inner = open(RootKey::LocalMachine, "A\\B\\C");
    Registry::Key outer = open(RootKey::LocalMachine, "A");
    registry.deleteKey(RootKey::LocalMachine, "A\\B");

    std::uint32_t type = 0;
    std::vector<std::uint8_t> out;
    std::vector<std::string> names;
    long q = registry.queryValue(inner, "v", type, out);
    EXPECT_NE(q, status::kSuccess);
    EXPECT_NE(q, status::kFileNotFound);  // not "no such value": the key itself is gone
    EXPECT_NE(registry.subkeyNames(inner, names), status::kSuccess);
    EXPECT_NE(registry.valueNames(inner, names), status::kSuccess);
    EXPECT_EQ(registry.subkeyNames(outer, names), status::kSuccess);
    EXPECT_TRUE(names.empty());

    // Made again under the same name: old handles stay dead, new opens see the new key.
    registry.setString(RootKey::LocalMachine, "A\\B\\C", "w", "2");
    EXPECT_NE(registry.queryValue(inner, "w", type, out), status::kSuccess);
    EXPECT_EQ(data(RootKey::LocalMachine, "A\\B\\C", "w"), bytes(std::string("2\0", 2)));
    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "A\\B\\C\\D"), status::kFileNotFound);
}

TEST_F(SimRegistryTest, DeletingARootEmptiesIt) {
    registry.setString(RootKey::CurrentUser, "A\\B", "v", "1");
    registry.setString(RootKey::CurrentUser, "", "top", "1");
    registry.setString(RootKey::LocalMachine, "A", "v", "1");
    registry.deleteKey(RootKey::CurrentUser, "");
    EXPECT_TRUE(subkeys(RootKey::CurrentUser, "").empty());
    EXPECT_TRUE(values(RootKey::CurrentUser, "").empty());
    EXPECT_EQ(subkeys(RootKey::LocalMachine, ""), (std::vector<std::string>{"A"}));
}

TEST_F(SimRegistryTest, OpenKeyCountFollowsOpensAndCloses) {
    registry.createKey(RootKey::LocalMachine, "A");
    Registry::Key a = 0, b = 0;
    ASSERT_EQ(registry.openKey(RootKey::LocalMachine, "A", KeyAccess::Read, a), status::kSuccess);
    ASSERT_EQ(registry.openKey(RootKey::LocalMachine, "", KeyAccess::AllAccess, b),
              status::kSuccess);
    EXPECT_EQ(registry.openKeyCount(), 2u);
    registry.closeKey(a);
    registry.closeKey(a);  // twice: nothing more happens
    registry.closeKey(0);
    registry.closeKey(0xF00D);
    EXPECT_EQ(registry.openKeyCount(), 1u);
    registry.closeKey(b);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(SimRegistryTest, LimitedAccountFailsAllAccessOpensOnly) {
    registry.createKey(RootKey::LocalMachine, "SYSTEM\\Keyboard Layouts");
    registry.createKey(RootKey::CurrentUser, "Control Panel");
    registry.denyAllAccess(RootKey::LocalMachine);

    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "SYSTEM\\Keyboard Layouts", KeyAccess::AllAccess),
              status::kAccessDenied);
    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "SYSTEM", KeyAccess::AllAccess),
              status::kAccessDenied);
    // A missing key is still missing, whatever the rights.
    EXPECT_EQ(failedOpen(RootKey::LocalMachine, "Nope", KeyAccess::AllAccess),
              status::kFileNotFound);
    open(RootKey::LocalMachine, "SYSTEM\\Keyboard Layouts", KeyAccess::Read);
    open(RootKey::CurrentUser, "Control Panel", KeyAccess::AllAccess);
    // The root itself comes back without a check, as RegOpenKeyEx hands back a predefined key.
    open(RootKey::LocalMachine, "", KeyAccess::AllAccess);

    registry.denyAllAccess(RootKey::LocalMachine, false);
    open(RootKey::LocalMachine, "SYSTEM", KeyAccess::AllAccess);
}

TEST_F(SimRegistryTest, DeniedKeysFailEveryOpen) {
    registry.createKey(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB\\Hub");
    registry.linkKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    registry.denyOpen(RootKey::LocalMachine, "system\\currentcontrolset\\enum\\usb");

    for (auto access : {KeyAccess::Read, KeyAccess::AllAccess}) {
        EXPECT_EQ(failedOpen(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\USB", access),
                  status::kAccessDenied);
        EXPECT_EQ(failedOpen(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB\\", access),
                  status::kAccessDenied);
    }
    // Only that key: its parent and its subkeys open.
    open(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum");
    open(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\USB\\Hub");
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "SYSTEM\\CurrentControlSet\\Enum\\USB"),
              status::kFileNotFound);

    // A denial given before the key exists holds once it does.
    registry.denyOpen(RootKey::CurrentUser, "Later");
    registry.createKey(RootKey::CurrentUser, "later");
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "LATER"), status::kAccessDenied);
}

TEST_F(SimRegistryTest, LinksShowTheTargetsKeysThroughEitherPath) {
    registry.linkKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    registry.importText(
        "REGEDIT4\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB]\r\n\"a\"=\"via link\"\r\n"
        "[HKEY_LOCAL_MACHINE\\System\\ControlSet001\\Enum\\USB]\r\n\"b\"=\"via target\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\currentcontrolset\\Control\\Class]\r\n",
        "link.reg");

    EXPECT_EQ(values(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB"),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(values(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\USB"),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet"),
              (std::vector<std::string>{"Control", "Enum"}));
    // The link is listed as a key of its own, as RegEnumKeyEx lists CurrentControlSet.
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "SYSTEM"),
              (std::vector<std::string>{"ControlSet001", "CurrentControlSet"}));

    registry.importText("REGEDIT4\r\n[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum]\r\n",
                        "unlink.reg");
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "SYSTEM\\ControlSet001"),
              (std::vector<std::string>{"Control"}));
}

TEST_F(SimRegistryTest, LinkingMergesWhatWasWrittenUnderTheLinksName) {
    registry.setString(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\PCI", "old", "t");
    registry.setString(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum", "same", "target");
    registry.setString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\USB", "new", "l");
    registry.setString(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum", "same", "link");
    Registry::Key before = open(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\USB");

    registry.linkKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    EXPECT_EQ(subkeys(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum"),
              (std::vector<std::string>{"PCI", "USB"}));
    EXPECT_EQ(data(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum", "same"),
              bytes(std::string("link\0", 5)));
    EXPECT_EQ(data(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB", "new"),
              bytes(std::string("l\0", 2)));
    // A key that moved into the target keeps answering through the handle opened before.
    std::uint32_t type = 0;
    std::vector<std::uint8_t> out;
    EXPECT_EQ(registry.queryValue(before, "new", type, out), status::kSuccess);
}

TEST_F(SimRegistryTest, LinksMadeBeforeTheirTargetAndRelinked) {
    registry.linkKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet002");
    open(RootKey::LocalMachine, "SYSTEM\\ControlSet002");  // the target exists from now on
    registry.setString(RootKey::LocalMachine, "SYSTEM\\ControlSet001", "which", "1");
    registry.linkKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    EXPECT_EQ(data(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet", "which"),
              bytes(std::string("1\0", 2)));
    // Another root's key can be the target too.
    registry.setString(RootKey::LocalMachine, "Software\\Classes", "c", "1");
    registry.linkKey(RootKey::CurrentUser, "Classes", "Software\\Classes");
    EXPECT_EQ(failedOpen(RootKey::CurrentUser, "Classes\\Missing"), status::kFileNotFound);
}

TEST_F(SimRegistryTest, LinksThatLeadBackIntoThemselvesAreRefused) {
    registry.setString(RootKey::LocalMachine, "A\\B", "v", "1");
    EXPECT_THROW(registry.linkKey(RootKey::LocalMachine, "A", "A\\B"), Error);
    EXPECT_THROW(registry.linkKey(RootKey::LocalMachine, "", "A"), Error);
    // The refused link changed nothing.
    EXPECT_EQ(data(RootKey::LocalMachine, "A\\B", "v"), bytes(std::string("1\0", 2)));

    registry.linkKey(RootKey::LocalMachine, "L1", "L2\\X");
    EXPECT_THROW(registry.linkKey(RootKey::LocalMachine, "L2", "L1\\Y"), Error);
    open(RootKey::LocalMachine, "L1");
}

TEST_F(SimRegistryTest, ImportFileReportsUnreadableAndMalformedFiles) {
    test::TempDir dir;
    EXPECT_THROW(registry.importFile(dir.path() / "absent.reg"), RegFileError);

    auto file = dir.path() / "half.reg";
    std::ofstream(file, std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n\"y\"=dword:zz\r\n";
    try {
        registry.importFile(file);
        ADD_FAILURE() << "no error";
    } catch (const RegFileError& e) {
        EXPECT_EQ(e.line(), 5);
        EXPECT_EQ(e.file(), file.string());
    }
    // What came before the bad line stays loaded.
    EXPECT_EQ(values(RootKey::CurrentUser, "A"), (std::vector<std::string>{"x"}));
}

}  // namespace
}  // namespace tamux::sim
