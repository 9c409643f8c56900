// The 9x samples: the configuration manager's list under HKEY_DYN_DATA, the hardware keys under
// HKLM\Enum and the class keys, as the two 9x walks read them.
#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

using platform::RootKey;

constexpr const char* kConfigManager = "Config Manager\\Enum";
constexpr const char* kClass = "System\\CurrentControlSet\\Services\\Class";
constexpr auto HKLM = RootKey::LocalMachine;

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

struct NinexTree {
    const char* machine;
    std::set<std::string> hardwareKeysWithoutEnumKey;
    int entriesWithoutHardwareKey;
    int swDevices, networkDevices;
    std::string keyboard, keyboardDesc, keyboardClassDesc;
    std::string driverDesc, driverDate, inf;
};

const std::vector<NinexTree>& trees() {
    static const std::vector<NinexTree> list = {
        {"win95",
         {"htree\\root\\0"},
         1,
         0,
         1,
         "BIOS\\*PNP0303\\0D",
         "Standard 101/102-Key or Microsoft Natural Keyboard",
         "Keyboard",
         "Standard 101/102-Key or Microsoft Natural Keyboard",
         "<none>",
         "KEYBOARD.INF"},
        // German texts in code page 1252.
        {"win98se",
         {"htree\\root\\0"},
         0,
         1,
         1,
         "BIOS\\*PNP0303\\0D",
         "Standardtastatur (101/102 Tasten oder Microsoft Natural Keyboard)",
         "Tastatur",
         "Standardtastatur (101/102 Tasten oder Microsoft Natural Keyboard)",
         "4-23-1999",
         "KEYBOARD.INF"},
        // Russian texts in code page 1251.
        {"winme",
         {"htree\\root\\0"},
         0,
         1,
         2,
         "ACPI\\*PNP0303\\0",
         "\xD1\xF2\xE0\xED\xE4\xE0\xF0\xF2\xED\xE0\xFF \xEA\xEB\xE0\xE2\xE8\xE0\xF2\xF3\xF0\xE0 "
         "(101/102 \xEA\xEB\xE0\xE2\xE8\xF8\xE8) \xE8\xEB\xE8 Microsoft Natural Keyboard",
         "\xCA\xEB\xE0\xE2\xE8\xE0\xF2\xF3\xF0\xE0",
         "\xD1\xF2\xE0\xED\xE4\xE0\xF0\xF2\xED\xE0\xFF \xEA\xEB\xE0\xE2\xE8\xE0\xF2\xF3\xF0\xE0 "
         "(101/102 \xEA\xEB\xE0\xE2\xE8\xF8\xE8) \xE8\xEB\xE8 Microsoft Natural Keyboard",
         "6-8-2000",
         "KEYBOARD.INF"},
    };
    return list;
}

// The hardware keys the configuration manager lists, in its order.
std::vector<std::string> hardwareKeys(SampleMachine& sample, int& withoutKey) {
    std::vector<std::string> keys;
    withoutKey = 0;
    for (const std::string& n : sample.subkeys(RootKey::DynData, kConfigManager)) {
        auto key = sample.text(RootKey::DynData, joinKey(kConfigManager, n), "HardWareKey");
        if (key) {
            keys.push_back(*key);
        } else {
            ++withoutKey;
        }
    }
    return keys;
}

TEST(Win9xDeviceTrees, ConfigManagerEntriesLeadToEnumKeys) {
    for (const NinexTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        int withoutKey = 0;
        const auto keys = hardwareKeys(sample, withoutKey);
        EXPECT_GE(keys.size(), 8u);
        EXPECT_EQ(withoutKey, tree.entriesWithoutHardwareKey);
        std::set<std::string> missing;
        int sw = 0, network = 0;
        for (const std::string& k : keys) {
            if (!sample.keyExists(HKLM, joinKey("ENUM", k))) missing.insert(k);
            sw += upper(k).find("SW") != std::string::npos;
            network += upper(k).find("NETWORK") != std::string::npos;
        }
        EXPECT_EQ(missing, tree.hardwareKeysWithoutEnumKey);
        EXPECT_EQ(sw, tree.swDevices);
        EXPECT_EQ(network, tree.networkDevices);
    }
}

TEST(Win9xDeviceTrees, DriversClassesAndClassLinksResolve) {
    for (const NinexTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        int withoutKey = 0, withGuid = 0;
        for (const std::string& k : hardwareKeys(sample, withoutKey)) {
            const std::string key = joinKey("Enum", k);
            if (!sample.value(HKLM, key, "DeviceDesc")) continue;
            SCOPED_TRACE(k);
            const auto cls = sample.text(HKLM, key, "Class");
            ASSERT_TRUE(cls);
            EXPECT_TRUE(sample.text(HKLM, joinKey(kClass, *cls), "").has_value());
            if (auto driver = sample.text(HKLM, key, "driver")) {
                EXPECT_EQ(driver->substr(0, cls->size() + 1), *cls + "\\");
                EXPECT_TRUE(sample.keyExists(HKLM, joinKey(kClass, *driver)));
            }
            if (auto guid = sample.text(HKLM, key, "ClassGUID")) {
                ++withGuid;
                std::string lower = *guid;
                std::transform(lower.begin(), lower.end(), lower.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                EXPECT_EQ(*guid, lower) << "9x writes class GUIDs in lower case";
                const std::string guidKey = joinKey(kClass, *guid);
                EXPECT_EQ(sample.text(HKLM, guidKey, "Class"), cls);
                EXPECT_EQ(sample.text(HKLM, guidKey, "link"), cls);
            }
        }
        EXPECT_GE(withGuid, 5);
    }
}

TEST(Win9xDeviceTrees, KeyboardDeviceAndItsDriverKey) {
    for (const NinexTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        int withoutKey = 0;
        const auto keys = hardwareKeys(sample, withoutKey);
        EXPECT_NE(std::find(keys.begin(), keys.end(), tree.keyboard), keys.end());
        const std::string key = joinKey("Enum", tree.keyboard);
        EXPECT_EQ(sample.text(HKLM, key, "DeviceDesc"), tree.keyboardDesc);
        EXPECT_EQ(sample.text(HKLM, key, "HardwareID"), "*PNP0303");
        // The 9x walks read "driver" whatever its letter case; these machines store it in lower
        // case, as 9x's own device installer does.
        const auto names = sample.valueNames(HKLM, key);
        EXPECT_NE(std::find(names.begin(), names.end(), "driver"), names.end());
        const std::string driver = joinKey(kClass, sample.text(HKLM, key, "driver").value_or("?"));
        EXPECT_EQ(sample.text(HKLM, driver, "DriverDesc"), tree.driverDesc);
        EXPECT_EQ(sample.text(HKLM, driver, "ProviderName"), "Microsoft");
        EXPECT_EQ(sample.text(HKLM, driver, "DriverDate").value_or("<none>"), tree.driverDate);
        EXPECT_EQ(sample.text(HKLM, driver, "InfPath"), tree.inf);
        EXPECT_EQ(sample.text(HKLM, joinKey(kClass, "Keyboard"), ""), tree.keyboardClassDesc);
    }
}

}  // namespace
}  // namespace tamux::test
