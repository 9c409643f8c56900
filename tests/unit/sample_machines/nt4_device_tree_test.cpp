// The NT 4 sample: root devices with their status, the services that point back at them and the
// display's adapter string, as the NT 4 walk reads them.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

using platform::RootKey;

constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Enum\\Root";
constexpr const char* kServices = "SYSTEM\\CurrentControlSet\\Services";
constexpr auto HKLM = RootKey::LocalMachine;

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

struct RootInstance {
    std::string path;  // "Root\<id>\<instance>"
    std::optional<std::uint32_t> status;
};

std::optional<std::uint32_t> dword(SampleMachine& sample, const std::string& key,
                                   const char* name) {
    auto v = sample.value(HKLM, key, name);
    if (!v || v->type != platform::regtype::kDword || v->data.size() != 4) return std::nullopt;
    return v->data[0] | v->data[1] << 8 | v->data[2] << 16 | std::uint32_t{v->data[3]} << 24;
}

std::vector<RootInstance> rootInstances(SampleMachine& sample, int& traps) {
    std::vector<RootInstance> list;
    traps = 0;
    for (const std::string& id : sample.subkeys(HKLM, kRoot)) {
        const std::string idKey = joinKey(kRoot, id);
        if (sample.value(HKLM, idKey, "DeviceDesc")) {
            ++traps;
            continue;
        }
        for (const std::string& inst : sample.subkeys(HKLM, idKey)) {
            list.push_back(
                {"Root\\" + id + "\\" + inst, dword(sample, joinKey(idKey, inst), "StatusFlags")});
        }
    }
    return list;
}

TEST(Nt4DeviceTree, RootInstancesShowEveryKindOfStatus) {
    SampleMachine sample("nt4");
    int traps = 0;
    const auto list = rootInstances(sample, traps);
    EXPECT_EQ(traps, 1);
    int started = 0, other = 0, missing = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list[i].status) {
            ++missing;
            // Judged by the status read before it, it would count as started.
            ASSERT_GT(i, 0u);
            EXPECT_EQ(list[i - 1].status, 8u) << list[i].path;
        } else if (*list[i].status == 8) {
            ++started;
        } else {
            ++other;
        }
    }
    EXPECT_GE(started, 4);
    EXPECT_GE(other, 1);
    EXPECT_EQ(missing, 1);
}

TEST(Nt4DeviceTree, EveryStartedRootDeviceHasTheServiceThatPointsBack) {
    SampleMachine sample("nt4");
    const auto services = sample.subkeys(HKLM, kServices);
    int withoutEnumKey = 0, withoutZero = 0, otherCase = 0;
    std::vector<std::string> zeros;
    for (const std::string& s : services) {
        const std::string enumKey = joinKey(joinKey(kServices, s), "Enum");
        if (!sample.keyExists(HKLM, enumKey)) {
            ++withoutEnumKey;
            continue;
        }
        auto zero = sample.text(HKLM, enumKey, "0");
        if (!zero) {
            ++withoutZero;
            continue;
        }
        zeros.push_back(*zero);
    }
    EXPECT_EQ(withoutEnumKey, 1);
    EXPECT_EQ(withoutZero, 1);
    int traps = 0;
    for (const RootInstance& inst : rootInstances(sample, traps)) {
        if (inst.status != 8u) continue;
        SCOPED_TRACE(inst.path);
        const auto matches = std::count_if(zeros.begin(), zeros.end(), [&](const std::string& z) {
            return upper(z) == upper(inst.path);
        });
        EXPECT_EQ(matches, 1);
        otherCase += std::count_if(zeros.begin(), zeros.end(), [&](const std::string& z) {
            return upper(z) == upper(inst.path) && z != inst.path;
        });
    }
    EXPECT_EQ(otherCase, 1);
}

TEST(Nt4DeviceTree, TheDisplayServiceNamesItsAdapterInUtf16Bytes) {
    SampleMachine sample("nt4");
    auto adapter =
        sample.value(HKLM, joinKey(kServices, "s3\\Device0"), "HardwareInformation.AdapterString");
    ASSERT_TRUE(adapter);
    EXPECT_EQ(adapter->type, platform::regtype::kBinary);
    EXPECT_LE(adapter->data.size(), 255u);
    std::string expected;
    for (char c : std::string("S3 Trio64V+ (765)")) expected += {c, '\0'};
    expected += std::string(2, '\0');
    EXPECT_EQ(std::string(adapter->data.begin(), adapter->data.end()), expected);
}

TEST(Nt4DeviceTree, DriverKeysHaveNoDateOrVersionYet) {
    SampleMachine sample("nt4");
    const std::string kbd = joinKey(kRoot, "LEGACY_I8042PRT\\0000");
    EXPECT_EQ(sample.text(HKLM, kbd, "Class"), "Keyboard");
    const std::string driver = joinKey("SYSTEM\\CurrentControlSet\\Control\\Class",
                                       sample.text(HKLM, kbd, "driver").value_or("?"));
    EXPECT_EQ(sample.text(HKLM, driver, "DriverDesc"),
              "Standard 101/102-Key or Microsoft Natural Keyboard");
    EXPECT_EQ(sample.text(HKLM, driver, "InfPath"), "keyboard.inf");
    EXPECT_FALSE(sample.value(HKLM, driver, "DriverDate"));
    EXPECT_FALSE(sample.value(HKLM, driver, "DriverVersion"));
}

}  // namespace
}  // namespace tamux::test
