// The NT 5.x device trees of the samples: what the two NT walks meet there. Every driver and
// class the tree names exists, except the gaps each machine has on purpose, and the keyboard and
// mouse are where the walks look for them.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

using platform::RootKey;

constexpr const char* kEnum = "SYSTEM\\CurrentControlSet\\Enum";
constexpr const char* kClass = "SYSTEM\\CurrentControlSet\\Control\\Class";
constexpr auto HKLM = RootKey::LocalMachine;

struct DriverFacts {
    std::string desc, provider, version, date, inf;
};

struct NtTree {
    const char* machine;
    // Enumerator and device-id keys (below Enum) that carry a "DeviceDesc" of their own.
    std::set<std::string> traps;
    // Instances (below Enum, outside the traps) without a Control subkey, without "Driver", and
    // whose class GUID has no class key.
    std::set<std::string> withoutControl, withoutDriver, classMissing;
    std::string keyboard, keyboardDesc, keyboardHardwareIds;
    DriverFacts keyboardDriver;
    std::string mouse;
    DriverFacts mouseDriver;
};

const std::vector<NtTree>& trees() {
    static const std::vector<NtTree> list = {
        {"winxp",
         {"LPTENUM", "Root\\RDPDR"},
         {"ACPI\\PNP0F13\\4&2658d0a0&0", "HTREE\\ROOT\\0"},
         {"Root\\LEGACY_BEEP\\0000"},
         {"Root\\VIRTUALCD\\0000"},
         "ACPI\\PNP0303\\4&2658d0a0&0",
         "Standard 101/102-Key or Microsoft Natural PS/2 Keyboard",
         withNuls("ACPI\\PNP0303\0*PNP0303\0\0"),
         {"Standard 101/102-Key or Microsoft Natural PS/2 Keyboard", "Microsoft", "5.1.2600.0",
          "7-1-2001", "keyboard.inf"},
         "HID\\VID_046D&PID_C00E\\6&3a24b5b0&0&0000",
         {"HID-compliant mouse", "Microsoft", "5.1.2600.0", "7-1-2001", "msmouse.inf"}},
        // Czech texts arrive in code page 1250.
        {"win2000",
         {},
         {"USB\\VID_03F0&PID_0604\\MY0B51R1HK9N", "HTREE\\ROOT\\0"},
         {"Root\\LEGACY_BEEP\\0000"},
         {},
         "ACPI\\PNP0303\\3&13c0b0c5&0",
         "Standardn\xED kl\xE1vesnice 101/102 kl\xE1ves nebo Microsoft Natural PS/2 Keyboard",
         withNuls("ACPI\\PNP0303\0*PNP0303\0\0"),
         {"Standardn\xED kl\xE1vesnice 101/102 kl\xE1ves nebo Microsoft Natural PS/2 Keyboard",
          "Microsoft", "5.0.2195.1", "11-19-1999", "keyboard.inf"},
         "ACPI\\PNP0F13\\3&13c0b0c5&0",
         {"My\x9A kompatibiln\xED s PS/2", "Microsoft", "5.0.2195.1", "11-19-1999", "msmouse.inf"}},
    };
    return list;
}

struct Instance {
    std::string path;  // below Enum
    bool hasDeviceDesc;
};

// Every instance three levels below Enum, in the registry's order, leaving out the traps.
std::vector<Instance> instances(SampleMachine& sample, std::set<std::string>& trapsSeen) {
    std::vector<Instance> list;
    for (const std::string& e : sample.subkeys(HKLM, kEnum)) {
        if (sample.value(HKLM, joinKey(kEnum, e), "DeviceDesc")) {
            trapsSeen.insert(e);
            continue;
        }
        for (const std::string& d : sample.subkeys(HKLM, joinKey(kEnum, e))) {
            const std::string ed = joinKey(e, d);
            if (sample.value(HKLM, joinKey(kEnum, ed), "DeviceDesc")) {
                trapsSeen.insert(ed);
                continue;
            }
            for (const std::string& i : sample.subkeys(HKLM, joinKey(kEnum, ed))) {
                const std::string p = joinKey(ed, i);
                list.push_back(
                    {p, sample.value(HKLM, joinKey(kEnum, p), "DeviceDesc").has_value()});
            }
        }
    }
    return list;
}

DriverFacts driverFacts(SampleMachine& sample, const std::string& instance) {
    const std::string key = joinKey(kEnum, instance);
    const std::string driver = joinKey(kClass, sample.text(HKLM, key, "Driver").value_or("?"));
    auto get = [&](const char* name) { return sample.text(HKLM, driver, name).value_or("<none>"); };
    return {get("DriverDesc"), get("ProviderName"), get("DriverVersion"), get("DriverDate"),
            get("InfPath")};
}

void expectFacts(const DriverFacts& got, const DriverFacts& want) {
    EXPECT_EQ(got.desc, want.desc);
    EXPECT_EQ(got.provider, want.provider);
    EXPECT_EQ(got.version, want.version);
    EXPECT_EQ(got.date, want.date);
    EXPECT_EQ(got.inf, want.inf);
}

TEST(NtDeviceTrees, EnumReadsTheSameThroughCurrentControlSetAndControlSet001) {
    for (const NtTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        const auto viaLink = sample.subkeys(HKLM, kEnum);
        EXPECT_GE(viaLink.size(), 5u);
        EXPECT_EQ(viaLink, sample.subkeys(HKLM, "SYSTEM\\ControlSet001\\Enum"));
        EXPECT_EQ(sample.subkeys(HKLM, kClass),
                  sample.subkeys(HKLM, "SYSTEM\\ControlSet001\\Control\\Class"));
    }
}

TEST(NtDeviceTrees, DriversAndClassesResolveExceptTheDeliberateGaps) {
    for (const NtTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        std::set<std::string> traps, withoutControl, withoutDriver, classMissing;
        const auto list = instances(sample, traps);
        EXPECT_EQ(traps, tree.traps);
        for (const Instance& inst : list) {
            SCOPED_TRACE(inst.path);
            const std::string key = joinKey(kEnum, inst.path);
            if (!sample.keyExists(HKLM, joinKey(key, "Control"))) withoutControl.insert(inst.path);
            if (!inst.hasDeviceDesc) continue;
            const auto driver = sample.text(HKLM, key, "Driver");
            if (!driver) withoutDriver.insert(inst.path);
            const auto guid = sample.text(HKLM, key, "ClassGUID");
            ASSERT_TRUE(guid.has_value());
            if (!sample.keyExists(HKLM, joinKey(kClass, *guid))) {
                classMissing.insert(inst.path);
                continue;
            }
            EXPECT_TRUE(sample.text(HKLM, joinKey(kClass, *guid), "Class").has_value());
            if (driver) {
                EXPECT_EQ(driver->substr(0, guid->size()), *guid);
                EXPECT_TRUE(sample.keyExists(HKLM, joinKey(kClass, *driver)));
            }
            // The HardwareID list is a multi-string that fits the walks' 255-byte buffer.
            const auto ids = sample.value(HKLM, key, "HardwareID");
            if (ids) {
                EXPECT_EQ(ids->type, platform::regtype::kMultiSz);
                EXPECT_LE(ids->data.size(), 255u);
            }
        }
        EXPECT_EQ(withoutControl, tree.withoutControl);
        EXPECT_EQ(withoutDriver, tree.withoutDriver);
        EXPECT_EQ(classMissing, tree.classMissing);
        // Every trap has a full device below it, so that descending into it would show.
        for (const std::string& trap : tree.traps) {
            bool device = false;
            for (const std::string& child : sample.subkeys(HKLM, joinKey(kEnum, trap))) {
                const std::string c = joinKey(joinKey(kEnum, trap), child);
                device |= sample.value(HKLM, c, "Driver").has_value();
                for (const std::string& i : sample.subkeys(HKLM, c)) {
                    device |= sample.value(HKLM, joinKey(c, i), "Driver").has_value();
                }
            }
            EXPECT_TRUE(device) << trap;
        }
    }
}

TEST(NtDeviceTrees, ControlKeysDifferInTheirDeviceReference) {
    for (const NtTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        std::set<std::string> traps;
        int with = 0, without = 0;
        for (const Instance& inst : instances(sample, traps)) {
            const std::string control = joinKey(joinKey(kEnum, inst.path), "Control");
            if (!sample.keyExists(HKLM, control)) continue;
            if (sample.value(HKLM, control, "DeviceReference")) {
                ++with;
            } else {
                ++without;
            }
        }
        EXPECT_GT(with, 0);
        EXPECT_GT(without, 0);
    }
}

TEST(NtDeviceTrees, KeyboardAndMouseAreWhereTheWalksLook) {
    for (const NtTree& tree : trees()) {
        SCOPED_TRACE(tree.machine);
        SampleMachine sample(tree.machine);
        const std::string kbd = joinKey(kEnum, tree.keyboard);
        EXPECT_TRUE(sample.value(HKLM, joinKey(kbd, "Control"), "DeviceReference"));
        EXPECT_EQ(sample.text(HKLM, kbd, "DeviceDesc"), tree.keyboardDesc);
        auto ids = sample.value(HKLM, kbd, "HardwareID");
        ASSERT_TRUE(ids);
        EXPECT_EQ(std::string(ids->data.begin(), ids->data.end()), tree.keyboardHardwareIds);
        expectFacts(driverFacts(sample, tree.keyboard), tree.keyboardDriver);

        const std::string mouse = joinKey(kEnum, tree.mouse);
        EXPECT_TRUE(sample.keyExists(HKLM, joinKey(mouse, "Control")));
        expectFacts(driverFacts(sample, tree.mouse), tree.mouseDriver);
    }
}

}  // namespace
}  // namespace tamux::test
