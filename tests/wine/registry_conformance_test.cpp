// The Registry service against the real registry and the simulated one, on the same data
// (data/conformance.reg and data/dyn-data-9x.reg). Outputs are pre-filled with sentinels so that
// a failing call that writes anyway is caught.
#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/registry_sides.h"

namespace tamux::wine_test {
namespace {

using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
namespace status = platform::status;
namespace regtype = platform::regtype;

constexpr Registry::Key kKeySentinel = 0xDEADBEEF;
constexpr std::uint32_t kTypeSentinel = 0xCCCCCCCC;
const std::vector<std::uint8_t> kDataSentinel = {0xAB, 0xCD, 0xEF};
const std::vector<std::string> kNamesSentinel = {"sentinel"};

template <typename Side>
class RegistryConformance : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Side::hasData()) GTEST_SKIP() << "the lane script imports this side's data";
    }

    void TearDown() override {
        for (Registry::Key key : opened_) reg().closeKey(key);
    }

    Registry& reg() { return side_.registry(); }

    // Opens a key that must exist; 0 (and a test failure) when it does not.
    Registry::Key open(std::string_view path, RootKey root = RootKey::CurrentUser,
                       KeyAccess access = KeyAccess::Read) {
        Registry::Key key = kKeySentinel;
        long result = reg().openKey(root, path, access, key);
        EXPECT_EQ(result, status::kSuccess) << "opening " << path << ": expected 0, got " << result;
        if (result != status::kSuccess) return 0;
        EXPECT_NE(key, 0u) << "opening " << path << " succeeded without a key";
        opened_.push_back(key);
        return key;
    }

    Registry::Key conformanceKey() { return open(kConformanceKey); }

    Side side_;
    std::vector<Registry::Key> opened_;
};

using RegistrySides = ::testing::Types<Win32RegistrySide, SimRegistrySide>;
TYPED_TEST_SUITE(RegistryConformance, RegistrySides, SideName);

TYPED_TEST(RegistryConformance, OpenOfAMissingKeyFailsAndLeavesNoKey) {
    for (std::string_view path : {"Software\\Tamux Conformance\\No Such Key",
                                  "Software\\No Such Vendor\\No Such Product"}) {
        Registry::Key key = kKeySentinel;
        long result = this->reg().openKey(RootKey::CurrentUser, path, KeyAccess::Read, key);
        EXPECT_EQ(result, status::kFileNotFound)
            << path << ": expected " << status::kFileNotFound << ", got " << result;
        EXPECT_EQ(key, 0u) << path << ": expected key 0, got " << key;
    }
}

TYPED_TEST(RegistryConformance, PathsAreComparedWithoutRegardToCase) {
    for (std::string_view path :
         {"SOFTWARE\\TAMUX CONFORMANCE\\SUB C\\DEEP", "software\\tamux conformance\\sub c\\deep"}) {
        Registry::Key key = this->open(path);
        if (!key) continue;
        std::uint32_t type = kTypeSentinel;
        std::vector<std::uint8_t> data = kDataSentinel;
        ASSERT_EQ(this->reg().queryValue(key, "", type, data), status::kSuccess) << path;
        EXPECT_EQ(data, bytesOf("deep default")) << path << ": got " << describe(data);
    }
}

TYPED_TEST(RegistryConformance, PathEndsAndStartsAsWindowsAllows) {
    // A trailing backslash names the same key; a leading one is a bad path name.
    EXPECT_NE(this->open("Software\\Tamux Conformance\\Sub C\\"), 0u);
    Registry::Key key = kKeySentinel;
    long result = this->reg().openKey(RootKey::CurrentUser, "\\Software\\Tamux Conformance",
                                      KeyAccess::Read, key);
    EXPECT_EQ(result, 161) << "leading backslash: expected ERROR_BAD_PATHNAME, got " << result;
    EXPECT_EQ(key, 0u);
}

TYPED_TEST(RegistryConformance, EmptyPathOpensTheRootItself) {
    Registry::Key root = this->open("");
    ASSERT_NE(root, 0u);
    std::vector<std::string> names = kNamesSentinel;
    ASSERT_EQ(this->reg().subkeyNames(root, names), status::kSuccess);
    bool hasSoftware = std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.size() == 8 &&
               std::equal(name.begin(), name.end(), "SOFTWARE", [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == b;
               });
    });
    EXPECT_TRUE(hasSoftware) << "the root of HKEY_CURRENT_USER lists no Software key";
}

TYPED_TEST(RegistryConformance, KeyZeroIsAnInvalidHandleAndChangesNothing) {
    std::uint32_t type = kTypeSentinel;
    std::vector<std::uint8_t> data = kDataSentinel;
    long result = this->reg().queryValue(0, "Text", type, data);
    EXPECT_EQ(result, status::kInvalidHandle)
        << "expected " << status::kInvalidHandle << ", got " << result;
    EXPECT_EQ(type, kTypeSentinel) << "type overwritten with " << type;
    EXPECT_EQ(data, kDataSentinel) << "data overwritten with " << describe(data);

    std::vector<std::string> names = kNamesSentinel;
    EXPECT_EQ(this->reg().subkeyNames(0, names), status::kInvalidHandle);
    EXPECT_EQ(names, kNamesSentinel);
    EXPECT_EQ(this->reg().valueNames(0, names), status::kInvalidHandle);
    EXPECT_EQ(names, kNamesSentinel);
    this->reg().closeKey(0);  // must do nothing
}

TYPED_TEST(RegistryConformance, MissingValueFailsAndChangesNothing) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    for (std::string_view name : {"No Such Value", "Tex", "Text "}) {
        std::uint32_t type = kTypeSentinel;
        std::vector<std::uint8_t> data = kDataSentinel;
        long result = this->reg().queryValue(key, name, type, data);
        EXPECT_EQ(result, status::kFileNotFound)
            << "'" << name << "': expected " << status::kFileNotFound << ", got " << result;
        EXPECT_EQ(type, kTypeSentinel) << "'" << name << "': type overwritten";
        EXPECT_EQ(data, kDataSentinel) << "'" << name << "': got " << describe(data);
    }
    // A key without a default value has no "" value either.
    Registry::Key sub = this->open("Software\\Tamux Conformance\\Sub B");
    ASSERT_NE(sub, 0u);
    std::uint32_t type = kTypeSentinel;
    std::vector<std::uint8_t> data = kDataSentinel;
    EXPECT_EQ(this->reg().queryValue(sub, "", type, data), status::kFileNotFound);
    EXPECT_EQ(data, kDataSentinel);
}

TYPED_TEST(RegistryConformance, ValuesArriveWithTheirTypeAndData) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    struct Case {
        std::string_view name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    const std::vector<Case> cases = {
        {"", regtype::kSz, bytesOf("default text")},
        {"Text", regtype::kSz, bytesOf("plain text")},
        {"Empty", regtype::kSz, bytesOf("")},
        {"Quoted", regtype::kSz, bytesOf("say \"hi\" to C:\\Temp")},
        {"Accented", regtype::kSz, bytesOf("Caf\xe9 cr\xe8me")},
        {"Number", regtype::kDword, {0x2c, 0x01, 0x00, 0x00}},
        {"Expand", regtype::kExpandSz, bytesOf("%SystemRoot%\\inf")},
        {"Multi", regtype::kMultiSz, bytesOf(std::string_view("one\0two\0", 8))},
        {"Binary", regtype::kBinary, {0x00, 0x01, 0x02, 0xfe, 0xff}},
        {"NoData", regtype::kBinary, {}},
        {"Custom", 0x63, {0x01, 0x02, 0x03}},
    };
    for (const Case& c : cases) {
        std::uint32_t type = kTypeSentinel;
        std::vector<std::uint8_t> data = kDataSentinel;
        long result = this->reg().queryValue(key, c.name, type, data);
        EXPECT_EQ(result, status::kSuccess) << "'" << c.name << "': expected 0, got " << result;
        EXPECT_EQ(type, c.type) << "'" << c.name << "': expected type " << c.type << ", got "
                                << type;
        EXPECT_EQ(data, c.data) << "'" << c.name << "': expected " << describe(c.data) << ", got "
                                << describe(data);
    }
}

TYPED_TEST(RegistryConformance, LongValuesAreReadWhole) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    std::uint32_t type = kTypeSentinel;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(this->reg().queryValue(key, "Big", type, data), status::kSuccess);
    EXPECT_EQ(type, regtype::kBinary);
    ASSERT_EQ(data.size(), 6000u) << "expected 6000 bytes, got " << data.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        ASSERT_EQ(data[i], static_cast<std::uint8_t>(i * 7 + 3)) << "byte " << i;
    }

    ASSERT_EQ(this->reg().queryValue(key, "Long", type, data), status::kSuccess);
    std::string expected;
    for (int i = 0; i < 300; ++i) expected += "0123456789";
    EXPECT_EQ(type, regtype::kSz);
    EXPECT_EQ(data, bytesOf(expected)) << "got " << describe(data);

    // Around the size that a first read answers without asking for the size: 1,024 bytes with
    // the terminating NUL, and one more.
    for (const auto& [name, letter, length] :
         {std::tuple{"Fits", 'x', 1023}, std::tuple{"OneOver", 'y', 1024}}) {
        ASSERT_EQ(this->reg().queryValue(key, name, type, data), status::kSuccess) << name;
        EXPECT_EQ(data, bytesOf(std::string(length, letter))) << name;
    }
}

TYPED_TEST(RegistryConformance, ValueNamesMatchWithoutRegardToCase) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    for (std::string_view name : {"TEXT", "text", "APPLE"}) {
        std::uint32_t type = kTypeSentinel;
        std::vector<std::uint8_t> data;
        EXPECT_EQ(this->reg().queryValue(key, name, type, data), status::kSuccess) << name;
        EXPECT_EQ(type, regtype::kSz) << name;
    }
}

TYPED_TEST(RegistryConformance, ValueListHoldsEveryValueInItsOwnSpelling) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    std::vector<std::string> names = kNamesSentinel;
    ASSERT_EQ(this->reg().valueNames(key, names), status::kSuccess);
    const std::multiset<std::string> expected = {
        "",       "Zebra",  "Text",   "Empty", "Quoted", "Accented", "Number", "Expand", "Multi",
        "Binary", "NoData", "Custom", "apple", "Long",   "Big",      "Fits",   "OneOver"};
    EXPECT_EQ(std::multiset<std::string>(names.begin(), names.end()), expected);

    // Asking twice gives the same order.
    std::vector<std::string> again;
    ASSERT_EQ(this->reg().valueNames(key, again), status::kSuccess);
    EXPECT_EQ(again, names);
    std::string order;
    for (const std::string& name : names) order += "'" + name + "' ";
    ::testing::Test::RecordProperty("value_order", order);
}

TYPED_TEST(RegistryConformance, SubkeysAreListedInFoldedOrderInTheirOwnSpelling) {
    Registry::Key key = this->conformanceKey();
    ASSERT_NE(key, 0u);
    std::vector<std::string> names = kNamesSentinel;
    ASSERT_EQ(this->reg().subkeyNames(key, names), status::kSuccess);
    const std::vector<std::string> expected = {"sub a", "Sub B", "Sub C"};
    EXPECT_EQ(names, expected);
}

TYPED_TEST(RegistryConformance, AnEmptyKeyListsNothing) {
    Registry::Key key = this->open("Software\\Tamux Conformance\\sub a");
    ASSERT_NE(key, 0u);
    std::vector<std::string> names = kNamesSentinel;
    EXPECT_EQ(this->reg().subkeyNames(key, names), status::kSuccess);
    EXPECT_TRUE(names.empty()) << "expected no subkeys, got " << names.size();
    names = kNamesSentinel;
    EXPECT_EQ(this->reg().valueNames(key, names), status::kSuccess);
    EXPECT_TRUE(names.empty()) << "expected no values, got " << names.size();
}

TYPED_TEST(RegistryConformance, AKeyWithoutAccessCannotBeOpenedAtAll) {
    this->side_.denyEveryAccess("Denied");
    const std::string path = std::string(kAccessKey) + "\\Denied";
    for (KeyAccess access : {KeyAccess::Read, KeyAccess::AllAccess}) {
        Registry::Key key = kKeySentinel;
        long result = this->reg().openKey(RootKey::CurrentUser, path, access, key);
        EXPECT_EQ(result, status::kAccessDenied)
            << "expected " << status::kAccessDenied << ", got " << result;
        EXPECT_EQ(key, 0u) << "a failed open left key " << key;
    }
}

TYPED_TEST(RegistryConformance, AReadOnlyKeyOpensForReadingOnly) {
    this->side_.allowOnlyReading("ReadOnly");
    const std::string path = std::string(kAccessKey) + "\\ReadOnly";
    Registry::Key key = kKeySentinel;
    long result = this->reg().openKey(RootKey::CurrentUser, path, KeyAccess::AllAccess, key);
    EXPECT_EQ(result, status::kAccessDenied)
        << "all access: expected " << status::kAccessDenied << ", got " << result;
    EXPECT_EQ(key, 0u);
    EXPECT_NE(this->open(path), 0u);
}

TYPED_TEST(RegistryConformance, DynDataHoldsTheNineXHardwareTree) {
    Registry::Key key = this->open("Config Manager\\Enum\\C29A3A40", RootKey::DynData);
    ASSERT_NE(key, 0u);
    std::uint32_t type = kTypeSentinel;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(this->reg().queryValue(key, "HardWareKey", type, data), status::kSuccess);
    EXPECT_EQ(type, regtype::kSz);
    EXPECT_EQ(data, bytesOf("ROOT\\*PNP0303\\0000")) << "got " << describe(data);
    ASSERT_EQ(this->reg().queryValue(key, "Status", type, data), status::kSuccess);
    EXPECT_EQ(type, regtype::kBinary);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0x0b, 0x60, 0x00, 0x00}));

    Registry::Key stats = this->open("PerfStats\\StatData", RootKey::DynData);
    ASSERT_NE(stats, 0u);
    std::vector<std::string> names;
    ASSERT_EQ(this->reg().valueNames(stats, names), status::kSuccess);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"KERNEL\\CPUUsage", "KERNEL\\Threads"}));
}

// The predefined keys are numbered in a row; HKEY_DYN_DATA follows HKEY_CURRENT_CONFIG, widened
// to a handle the same way in a 32-bit and in a 64-bit program.
TEST(PredefinedKeys, DynDataFollowsCurrentConfig) {
    const auto dynData = reinterpret_cast<ULONG_PTR>(win32::rootKeyHandle(RootKey::DynData));
    EXPECT_EQ(dynData, reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_CONFIG) + 1)
        << std::hex << "HKEY_DYN_DATA is 0x" << dynData;
}

}  // namespace
}  // namespace tamux::wine_test
