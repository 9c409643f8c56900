// regimport's copier: a tree loaded into the simulated registry, written into a scratch key of
// the real registry, reads back the same through the Registry service.
#include <map>

#include <gtest/gtest.h>

#include "tests/wine/conformance_support.h"
#include "tests/wine/lane_environment.h"
#include "tests/wine/registry_sides.h"
#include "tools/regimport/registry_copier.h"

namespace tamux::wine_test {
namespace {

using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
namespace status = platform::status;

constexpr const char* kScratch = "Software\\Tamux Copier Test";

class RegistryCopier : public ::testing::Test {
  protected:
    void SetUp() override {
        source_.importFile(dataDir() / "conformance.reg");
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &scratch_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (scratch_) RegCloseKey(scratch_);
        deleteTree(HKEY_CURRENT_USER, kScratch);
    }

    static void deleteTree(HKEY parent, const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
        char name[256];
        DWORD length = sizeof(name);
        while (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS) {
            deleteTree(key, name);
            length = sizeof(name);
        }
        RegCloseKey(key);
        RegDeleteKeyA(parent, path.c_str());
    }

    sim::SimRegistry source_{hostCodePage()};
    HKEY scratch_ = nullptr;
};

// Reads every value of a key into name -> (type, data).
std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>> valuesOf(
    Registry& registry, RootKey root, const std::string& path) {
    std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>> values;
    Registry::Key key = 0;
    if (registry.openKey(root, path, KeyAccess::Read, key) != status::kSuccess) return values;
    std::vector<std::string> names;
    registry.valueNames(key, names);
    for (const std::string& name : names) {
        auto& entry = values[name];
        registry.queryValue(key, name, entry.first, entry.second);
    }
    registry.closeKey(key);
    return values;
}

TEST_F(RegistryCopier, CopiesEveryKeyAndValueWithTypeAndData) {
    regimport::CopyResult result = regimport::copyTree(source_, RootKey::CurrentUser, scratch_);
    ASSERT_EQ(result.error, 0) << "failed at " << result.failedAt;
    // Software, Tamux Conformance, Sub B, sub a, Sub C, Deep.
    EXPECT_EQ(result.keys, 6);
    EXPECT_EQ(result.values, 17 + 1 + 1);

    win32::Win32Registry real;
    const std::string copied = std::string(kScratch) + "\\" + std::string(kConformanceKey);
    for (std::string_view sub : {"", "\\Sub B", "\\sub a", "\\Sub C\\Deep"}) {
        auto expected = valuesOf(source_, RootKey::CurrentUser,
                                 std::string(kConformanceKey) + std::string(sub));
        auto actual = valuesOf(real, RootKey::CurrentUser, copied + std::string(sub));
        EXPECT_EQ(actual.size(), expected.size()) << "key '" << sub << "'";
        for (const auto& [name, value] : expected) {
            auto found = actual.find(name);
            ASSERT_NE(found, actual.end()) << "'" << name << "' was not copied";
            EXPECT_EQ(found->second.first, value.first) << "'" << name << "' type";
            EXPECT_EQ(found->second.second, value.second)
                << "'" << name << "': expected " << describe(value.second) << ", got "
                << describe(found->second.second);
        }
    }
}

TEST_F(RegistryCopier, StopsAtTheFirstKeyItCannotCreate) {
    regimport::CopyResult result = regimport::copyTree(source_, RootKey::CurrentUser, nullptr);
    EXPECT_EQ(result.error, ERROR_INVALID_HANDLE)
        << "expected ERROR_INVALID_HANDLE, got " << result.error;
    EXPECT_EQ(result.failedAt, "Software");
    EXPECT_EQ(result.keys, 0);
}

TEST_F(RegistryCopier, StopsAtTheFirstValueItCannotWrite) {
    sim::SimRegistry source(hostCodePage());
    source.setString(RootKey::DynData, "", "First", "1");
    source.setString(RootKey::DynData, "Below", "Second", "2");
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    regimport::CopyResult result = regimport::copyTree(source, RootKey::DynData, readOnly);
    RegCloseKey(readOnly);
    EXPECT_EQ(result.error, ERROR_ACCESS_DENIED)
        << "expected ERROR_ACCESS_DENIED, got " << result.error;
    EXPECT_EQ(result.failedAt, " 'First'");
    EXPECT_EQ(result.values, 0);
    EXPECT_EQ(result.keys, 0) << "the copy went on after the failure";
}

}  // namespace
}  // namespace tamux::wine_test
