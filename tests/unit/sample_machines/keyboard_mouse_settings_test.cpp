// The keyboard and mouse settings of the samples, in the forms each family stores them: what the
// keyboard and mouse collectors meet, and that between them the machines show every state.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

using platform::RootKey;
namespace regtype = platform::regtype;

constexpr auto HKCU = RootKey::CurrentUser;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr const char* kNtLayouts = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts";
constexpr const char* k9xLayouts = "System\\CurrentControlSet\\Control\\keyboard layouts";
constexpr const char* kAccess = "Control Panel\\Accessibility";

const std::vector<std::string> kNtMachines = {"winxp", "winxp-user", "win2000", "nt4", "vista"};
const std::vector<std::string> k9xMachines = {"win95", "win98se", "winme"};

struct Layout {
    std::string id, text, file;
};

// The installed layouts in preload order: NT keeps them as values, 9x as subkeys whose default
// value names the layout.
std::vector<Layout> ntLayouts(SampleMachine& sample, int& otherTypes) {
    std::vector<Layout> layouts;
    otherTypes = 0;
    const std::string preload = "Keyboard Layout\\Preload";
    for (const std::string& name : sample.valueNames(HKCU, preload)) {
        auto v = sample.value(HKCU, preload, name);
        if (v->type != regtype::kSz) {
            ++otherTypes;
            continue;
        }
        const std::string key = joinKey(kNtLayouts, v->text());
        layouts.push_back({v->text(), sample.text(HKLM, key, "Layout Text").value_or("<none>"),
                           sample.text(HKLM, key, "Layout File").value_or("<none>")});
    }
    return layouts;
}

std::vector<Layout> ninexLayouts(SampleMachine& sample) {
    std::vector<Layout> layouts;
    const std::string preload = "keyboard layout\\preload";
    for (const std::string& sub : sample.subkeys(HKCU, preload)) {
        const std::string id = sample.text(HKCU, joinKey(preload, sub), "").value_or("<none>");
        const std::string key = joinKey(k9xLayouts, id);
        layouts.push_back({id, sample.text(HKLM, key, "Layout Text").value_or("<none>"),
                           sample.text(HKLM, key, "Layout File").value_or("<none>")});
    }
    return layouts;
}

TEST(KeyboardSettings, PreloadedLayoutsAreInstalledAndNamedInTheMachinesCodePage) {
    const std::map<std::string, Layout> first = {
        {"winxp", {"00000409", "US", "KBDUS.DLL"}},
        {"winxp-user", {"00000409", "US", "KBDUS.DLL"}},
        {"win2000",
         {"00000405",
          "\xC8"
          "esk\xE1",
          "KBDCZ.DLL"}},
        {"nt4", {"00000409", "US", "KBDUS.DLL"}},
        {"vista", {"00000409", "US", "KBDUS.DLL"}},
        {"win95", {"00000409", "United States 101", "KBDUS.KBD"}},
        {"win98se", {"00000407", "Deutsch (Standard)", "KBDGR.KBD"}},
        {"winme", {"00000419", "\xD0\xF3\xF1\xF1\xEA\xE0\xFF", "KBDRU.KBD"}},
    };
    for (const auto& [machine, want] : first) {
        SCOPED_TRACE(machine);
        SampleMachine sample(machine);
        int otherTypes = 0;
        const bool ninex = std::count(k9xMachines.begin(), k9xMachines.end(), machine) > 0;
        const auto layouts = ninex ? ninexLayouts(sample) : ntLayouts(sample, otherTypes);
        ASSERT_FALSE(layouts.empty());
        EXPECT_EQ(layouts[0].id, want.id);
        EXPECT_EQ(layouts[0].text, want.text);
        EXPECT_EQ(layouts[0].file, want.file);
        for (const Layout& l : layouts) {
            EXPECT_NE(l.text, "<none>") << l.id;
            EXPECT_NE(l.file, "<none>") << l.id;
        }
    }
}

TEST(KeyboardSettings, OnePreloadValueOfAnotherTypeSitsBetweenStringValues) {
    SampleMachine sample("winxp");
    int otherTypes = 0;
    const auto layouts = ntLayouts(sample, otherTypes);
    EXPECT_EQ(otherTypes, 1);
    const auto names = sample.valueNames(HKCU, "Keyboard Layout\\Preload");
    ASSERT_EQ(names, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(sample.value(HKCU, "Keyboard Layout\\Preload", "3")->type, regtype::kExpandSz);
    ASSERT_EQ(layouts.size(), 3u);
    EXPECT_EQ(layouts[2].id, "00000405");
}

// Bit 0 of an NT "Flags" text, or the 9x "On" text equal to "1": whether the feature is on.
std::optional<bool> featureOn(SampleMachine& sample, bool ninex, const std::string& ntKey,
                              const std::string& ninexKey) {
    if (ninex) {
        auto on = sample.text(HKCU, joinKey(kAccess, ninexKey), "On");
        if (!on) return std::nullopt;
        return *on == "1";
    }
    auto flags = sample.value(HKCU, joinKey(kAccess, ntKey), "Flags");
    if (!flags) return std::nullopt;
    EXPECT_EQ(flags->type, regtype::kSz) << ntKey;
    const std::string text = flags->text();
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        << text;
    return (std::stoul(text) & 1) != 0;
}

TEST(KeyboardSettings, EveryAccessibilityFeatureIsOnSomewhereAndOffElsewhere) {
    const std::vector<std::tuple<std::string, std::string>> features = {
        {"Keyboard Response", "KeyboardResponse"},
        {"ToggleKeys", "ToggleKeys"},
        {"StickyKeys", "StickyKeys"},
        {"MouseKeys", "MouseKeys"}};
    std::map<std::string, std::set<bool>> seen;
    std::vector<std::string> all = kNtMachines;
    all.insert(all.end(), k9xMachines.begin(), k9xMachines.end());
    for (const std::string& machine : all) {
        SCOPED_TRACE(machine);
        SampleMachine sample(machine);
        const bool ninex = std::count(k9xMachines.begin(), k9xMachines.end(), machine) > 0;
        for (const auto& [nt, nx] : features) {
            auto on = featureOn(sample, ninex, nt, nx);
            ASSERT_TRUE(on.has_value()) << nt;
            seen[nt].insert(*on);
        }
    }
    for (const auto& [nt, nx] : features) EXPECT_EQ(seen[nt].size(), 2u) << nt;
}

TEST(KeyboardSettings, SerialKeysFlagsComeInEveryStoredForm) {
    struct Form {
        std::string machine;
        bool key;
        std::optional<std::uint32_t> type;
        std::string storedName;
    };
    const std::vector<Form> forms = {
        {"winxp", true, regtype::kDword, "Flags"},  // as XP writes it
        {"win2000", true, regtype::kSz, "Flags"},   // text, written by a script
        {"nt4", true, std::nullopt, ""},            // the key without its flags
        {"vista", false, std::nullopt, ""},         // no serial keys at all
        {"win95", true, regtype::kSz, "Flags"},     // 9x: text
        {"win98se", true, regtype::kSz, "flags"},   // 9x: text, lower-case name
        {"winme", true, regtype::kSz, "flags"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.machine);
        SampleMachine sample(form.machine);
        const std::string key = joinKey(kAccess, "SerialKeys");
        EXPECT_EQ(sample.keyExists(HKCU, key), form.key);
        auto flags = sample.value(HKCU, key, "Flags");
        EXPECT_EQ(flags ? std::optional<std::uint32_t>(flags->type) : std::nullopt, form.type);
        if (!form.storedName.empty()) {
            const auto names = sample.valueNames(HKCU, key);
            EXPECT_NE(std::find(names.begin(), names.end(), form.storedName), names.end());
        }
    }
}

TEST(MouseSettings, StoredAsTextAndCoveringEveryAccelerationSetting) {
    std::set<std::string> classes;
    std::vector<std::string> all = kNtMachines;
    all.insert(all.end(), k9xMachines.begin(), k9xMachines.end());
    for (const std::string& machine : all) {
        SCOPED_TRACE(machine);
        SampleMachine sample(machine);
        for (const char* name : {"SwapMouseButtons", "DoubleClickSpeed", "MouseSensitivity",
                                 "MouseSpeed", "MouseThreshold1", "MouseThreshold2"}) {
            auto v = sample.value(HKCU, "Control Panel\\Mouse", name);
            if (v) {
                EXPECT_EQ(v->type, regtype::kSz) << name;
            }
        }
        auto get = [&](const char* name) {
            return sample.text(HKCU, "Control Panel\\Mouse", name).value_or("-");
        };
        const std::string triple =
            get("MouseSpeed") + "," + get("MouseThreshold1") + "," + get("MouseThreshold2");
        const std::set<std::string> named = {"0,0,0", "1,7,0", "2,4,12", "2,4,6"};
        classes.insert(named.count(triple) ? triple : "other");
        // MouseSensitivity came with Windows 2000.
        const bool sensitivity =
            machine != "nt4" && machine.rfind("win9", 0) != 0 && machine != "winme";
        EXPECT_EQ(sample.value(HKCU, "Control Panel\\Mouse", "MouseSensitivity").has_value(),
                  sensitivity);
    }
    EXPECT_EQ(classes, (std::set<std::string>{"0,0,0", "1,7,0", "2,4,12", "2,4,6", "other"}));
}

TEST(MouseSettings, TheLimitedUserKeepsTheMachineButHasSettingsOfItsOwn) {
    SampleMachine machine("winxp");
    SampleMachine user("winxp-user");
    EXPECT_EQ(machine.text(HKCU, "Control Panel\\Mouse", "SwapMouseButtons"), "0");
    EXPECT_EQ(user.text(HKCU, "Control Panel\\Mouse", "SwapMouseButtons"), "1");
    EXPECT_EQ(user.text(HKCU, "Control Panel\\Mouse", "DoubleClickSpeed"), "700");
    // Everything else comes from the winxp registry.
    EXPECT_EQ(user.text(HKCU, "Control Panel\\Keyboard", "KeyboardSpeed"), "31");
    EXPECT_EQ(user.subkeys(HKLM, "SYSTEM\\CurrentControlSet\\Enum"),
              machine.subkeys(HKLM, "SYSTEM\\CurrentControlSet\\Enum"));
}

}  // namespace
}  // namespace tamux::test
