// RegKey's reading rules over the simulated registry.
#include "platform/reg_key.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "tests/unit/sim_registry/test_helpers.h"

namespace tamux {
namespace {

using platform::KeyAccess;
using platform::RootKey;
using sim::SimRegistry;
namespace regtype = platform::regtype;

// Expects `call` to raise RegistryError with exactly `message`.
template <typename Call>
void expectRegistryError(Call call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no error, wanted: " << message;
    } catch (const RegistryError& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

class RegKeyTest : public ::testing::Test {
  protected:
    RegKeyTest() {
        registry.importText(
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
            "\"DoubleClickSpeed\"=\"500\"\r\n"
            "\"Cut\"=hex(1):31,32,00,33,00\r\n"
            "\"Expand\"=hex(2):25,57,49,4e,44,49,52,25,00\r\n"
            "\"Empty\"=hex(1):\r\n"
            "\"EmptyString\"=\"\"\r\n"
            "\"Flags\"=dword:0000007e\r\n"
            "\"Short\"=hex(4):01,02\r\n"
            "\"Bin\"=hex:01,02,03\r\n"
            "\"Multi\"=hex(7):41,00,42,00,00\r\n"
            "\"Prop\"=hex(ffff0007):03,00,00,00\r\n"
            "\"None\"=hex(0):\r\n"
            "@=\"default\"\r\n"
            "[HKEY_CURRENT_USER\\Control Panel\\Mouse\\Sub1]\r\n"
            "[HKEY_CURRENT_USER\\Control Panel\\Mouse\\sub0]\r\n",
            "mouse.reg");
    }

    ~RegKeyTest() override { EXPECT_EQ(registry.openKeyCount(), 0u); }

    SimRegistry registry;
};

TEST_F(RegKeyTest, ReadStringAcceptsStringTypesOnly) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::AllAccess);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(key.readString("DoubleClickSpeed"), "500");
    EXPECT_EQ(key.readString("doubleclickspeed"), "500");
    EXPECT_EQ(key.readString("Cut"), "12");  // cut at the first NUL
    EXPECT_EQ(key.readString("Expand"), "%WINDIR%");
    EXPECT_EQ(key.readString("Empty"), "");  // a value of size 0
    EXPECT_EQ(key.readString("EmptyString"), "");
    EXPECT_EQ(key.readString(""), "default");
    EXPECT_EQ(key.readString("Missing"), "");

    for (const char* name : {"Flags", "Bin", "Multi", "Prop", "None"}) {
        expectRegistryError([&] { key.readString(name); },
                            std::string("Invalid data type for '") + name + "'");
    }
    key.closeKey();
    EXPECT_EQ(key.readString("DoubleClickSpeed"), "");  // no key open
}

// One query answers both questions, and stringOf reads the value later as readString would
// have read it then, errors included.
TEST_F(RegKeyTest, ReadValueIsValueExistsAndReadStringInOneQuery) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    EXPECT_EQ(key.readValue("Cut"), std::nullopt);  // no key open
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    for (const char* name : {"DoubleClickSpeed", "Cut", "Expand", "Empty", "EmptyString", "",
                             "Missing", "Flags", "Bin", "None"}) {
        SCOPED_TRACE(name);
        const std::optional<RegKey::Value> value = key.readValue(name);
        ASSERT_EQ(value.has_value(), key.valueExists(name));
        if (!value) continue;
        std::string expected, expectedError, text, error;
        try {
            expected = key.readString(name);
        } catch (const RegistryError& e) {
            expectedError = e.what();
        }
        key.readString("DoubleClickSpeed");  // another read meanwhile changes nothing
        try {
            text = RegKey::stringOf(*value, name);
        } catch (const RegistryError& e) {
            error = e.what();
        }
        EXPECT_EQ(text, expected);
        EXPECT_EQ(error, expectedError);
    }
}

TEST_F(RegKeyTest, ReadIntegerAcceptsFourByteDwordsOnly) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(key.readInteger("Flags"), 0x7eu);
    expectRegistryError([&] { key.readInteger("Missing"); }, "Failed to get data for 'Missing'");
    expectRegistryError([&] { key.readInteger("Short"); }, "Failed to get data for 'Short'");
    expectRegistryError([&] { key.readInteger("DoubleClickSpeed"); },
                        "Invalid data type for 'DoubleClickSpeed'");
    expectRegistryError([&] { key.readInteger("Bin"); }, "Invalid data type for 'Bin'");
    key.closeKey();
    expectRegistryError([&] { key.readInteger("Flags"); }, "Failed to get data for 'Flags'");
}

TEST_F(RegKeyTest, ReadBinaryDataTakesRawTypesWhole) {
    std::vector<std::uint8_t> big(10000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    registry.setValue(RootKey::LocalMachine, "Big", "HardwareID", regtype::kBinary, big);

    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(key.readBinaryData("Bin"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(key.readBinaryData("Multi"), test::bytes(std::string("A\0B\0\0", 5)));
    EXPECT_EQ(key.readBinaryData("Prop"), (std::vector<std::uint8_t>{3, 0, 0, 0}));
    EXPECT_TRUE(key.readBinaryData("None").empty());
    EXPECT_TRUE(key.readBinaryData("Missing").empty());
    for (const char* name : {"DoubleClickSpeed", "Expand", "Flags"}) {
        expectRegistryError([&] { key.readBinaryData(name); },
                            std::string("Invalid data type for '") + name + "'");
    }

    RegKey machine(registry, RootKey::LocalMachine, KeyAccess::Read);
    ASSERT_TRUE(machine.openKey("Big"));
    EXPECT_EQ(machine.readBinaryData("HardwareID"), big);
    machine.closeKey();
    EXPECT_TRUE(machine.readBinaryData("HardwareID").empty());
}

TEST_F(RegKeyTest, ValueTypesAndExistence) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    EXPECT_FALSE(key.valueExists("Flags"));
    EXPECT_EQ(key.valueType("Flags"), std::nullopt);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_TRUE(key.valueExists("FLAGS"));
    EXPECT_FALSE(key.valueExists("Missing"));
    EXPECT_EQ(key.valueType("Flags"), regtype::kDword);
    EXPECT_EQ(key.valueType("Multi"), regtype::kMultiSz);
    EXPECT_EQ(key.valueType("Prop"), 0xFFFF0007u);
    EXPECT_EQ(key.valueType(""), regtype::kSz);
}

TEST_F(RegKeyTest, ListsNamesInTheRegistrysOrder) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    EXPECT_TRUE(key.valueNames().empty());
    EXPECT_TRUE(key.subkeyNames().empty());
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(key.valueNames(),
              (std::vector<std::string>{"DoubleClickSpeed", "Cut", "Expand", "Empty", "EmptyString",
                                        "Flags", "Short", "Bin", "Multi", "Prop", "None", ""}));
    EXPECT_EQ(key.subkeyNames(), (std::vector<std::string>{"sub0", "Sub1"}));

    // Into a list that held other names: replaced whole, longer or shorter.
    std::vector<std::string> names{"a name longer than any the key holds", "", "three"};
    key.subkeyNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"sub0", "Sub1"}));
    key.closeKey();
    key.subkeyNames(names);
    EXPECT_TRUE(names.empty());
}

TEST_F(RegKeyTest, EachOpenClosesTheKeyBefore) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(key.currentPath(), "Control Panel\\Mouse");
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse\\Sub1"));
    ASSERT_TRUE(key.openKey("Control Panel"));
    EXPECT_EQ(registry.openKeyCount(), 1u);

    EXPECT_FALSE(key.openKey("Control Panel\\Keyboard"));
    EXPECT_FALSE(key.isOpen());
    EXPECT_EQ(key.currentPath(), "");
    EXPECT_EQ(registry.openKeyCount(), 0u);
    EXPECT_EQ(key.readString("DoubleClickSpeed"), "");

    {
        RegKey scoped(registry, RootKey::CurrentUser, KeyAccess::Read);
        ASSERT_TRUE(scoped.openKey(""));
        EXPECT_EQ(registry.openKeyCount(), 1u);
    }
    EXPECT_EQ(registry.openKeyCount(), 0u);  // the destructor closes
}

TEST_F(RegKeyTest, LimitedAccountFailsAllAccessOpensButNotReadOpens) {
    registry.createKey(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts");
    registry.denyAllAccess(RootKey::LocalMachine);
    const std::string path = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts";

    RegKey all(registry, RootKey::LocalMachine, KeyAccess::AllAccess);
    EXPECT_FALSE(all.openKey(path));
    EXPECT_FALSE(all.isOpen());
    EXPECT_EQ(all.readString("Layout Text"), "");  // the reads after a failed open find nothing

    RegKey read(registry, RootKey::LocalMachine, KeyAccess::Read);
    EXPECT_TRUE(read.openKey(path));

    RegKey user(registry, RootKey::CurrentUser, KeyAccess::AllAccess);
    EXPECT_TRUE(user.openKey("Control Panel\\Mouse"));
}

TEST_F(RegKeyTest, AKeyDeletedWhileOpenFailsItsReads) {
    RegKey key(registry, RootKey::CurrentUser, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("Control Panel\\Mouse"));
    registry.deleteKey(RootKey::CurrentUser, "Control Panel");
    // The query itself fails: not the empty answer of a missing value.
    expectRegistryError([&] { key.readString("DoubleClickSpeed"); },
                        "Failed to get data for 'DoubleClickSpeed'");
    EXPECT_FALSE(key.valueExists("DoubleClickSpeed"));
    EXPECT_TRUE(key.valueNames().empty());
}

}  // namespace
}  // namespace tamux
