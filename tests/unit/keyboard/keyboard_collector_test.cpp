// The keyboard facts gathered from the sample machines, from small registries written for one
// case each, and from the registry of a fresh Wine prefix.
#include "devices/keyboard/keyboard_collector.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/keyboard/input_test_machine.h"

namespace tamux {

// Layouts read in failure messages.
void PrintTo(const LayoutEntry& layout, std::ostream* out) {
    *out << "{" << layout.layoutId << ", " << layout.layoutText << ", " << layout.layoutFile << "}";
}

namespace test {
namespace {

using platform::RootKey;
namespace regtype = platform::regtype;

constexpr auto HKCU = RootKey::CurrentUser;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr const char* kResponseNt = "Control Panel\\Accessibility\\Keyboard Response";
constexpr const char* kResponse9x = "Control Panel\\Accessibility\\KeyboardResponse";
constexpr const char* kToggleKeys = "Control Panel\\Accessibility\\ToggleKeys";
constexpr const char* kStickyKeys = "Control Panel\\Accessibility\\StickyKeys";
constexpr const char* kMouseKeys = "Control Panel\\Accessibility\\MouseKeys";
constexpr const char* kSerialKeys = "Control Panel\\Accessibility\\SerialKeys";
constexpr const char* kPreloadNt = "Keyboard Layout\\Preload";

KeyboardFacts collect(InputTestMachine& m, const DeviceTable& devices = {}) {
    KeyboardFacts facts;
    readKeyboardFacts(m.platform(), devices, m.lang(), facts);
    EXPECT_EQ(m.registry().openKeyCount(), 0u) << "a key was left open";
    return facts;
}

// --- The sample machines ---

KeyboardFacts winxpFacts() {
    KeyboardFacts f;
    f.keyboardName = "Standard 101/102-Key or Microsoft Natural PS/2 Keyboard";
    f.driverDesc = f.keyboardName;
    f.providerName = "Microsoft";
    f.driverVersion = "5.1.2600.0";
    f.driverDate = "7-1-2001";
    f.infPath = "keyboard.inf";
    f.keyboardDelay = "1";
    f.keyboardSpeed = "31";
    // Preload "3" is a REG_EXPAND_SZ: skipped, while "4" after it still counts.
    f.layouts = {{"00000409", "US", "KBDUS.DLL"},
                 {"00000407", "German", "KBDGR.DLL"},
                 {"00000405", "Czech", "KBDCZ.DLL"}};
    f.functionKeys = "12";
    f.filterKeysState = "Off";  // "126"
    f.autoRepeatDelay = "1000";
    f.autoRepeatRate = "500";
    f.bounceTime = "0";
    f.delayBeforeAcceptance = "1000";
    f.toggleKeysState = "On";   // "63"
    f.stickyKeysState = "Off";  // "510"
    f.mouseKeysState = "Off";   // "62"
    f.serialKeysState = "Off";  // DWORD 2
    f.maximumSpeed = "80";
    f.timeToMaximumSpeed = "3000";
    return f;
}

TEST(KeyboardCollector, XpSampleGivesEveryFactOfTheNtBranchAndTheDevice) {
    InputTestMachine m("winxp");
    EXPECT_EQ(collect(m, m.enumDevices()), winxpFacts());
}

TEST(KeyboardCollector, ALimitedAccountSeesTheLayoutsAndDriverOfTheMachine) {
    InputTestMachine m("winxp-user");
    // The account really is limited: asking for full access to the machine's keys fails.
    platform::Registry::Key key = 1;
    EXPECT_EQ(m.registry().openKey(HKLM, "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts",
                                   platform::KeyAccess::AllAccess, key),
              platform::status::kAccessDenied);
    EXPECT_EQ(collect(m, m.enumDevices()), winxpFacts());
}

TEST(KeyboardCollector, OtherNtSamples) {
    {
        InputTestMachine m("win2000");
        const KeyboardFacts f = collect(m, m.enumDevices());
        ASSERT_EQ(f.layouts.size(), 3u);
        EXPECT_EQ(f.layouts[0], (LayoutEntry{"00000405",
                                             "\xC8"
                                             "esk\xE1",
                                             "KBDCZ.DLL"}));
        EXPECT_EQ(f.layouts[2].layoutId, "00010405");
        EXPECT_EQ(f.keyboardDelay, "0");
        EXPECT_EQ(f.stickyKeysState, "On");   // "59"
        EXPECT_EQ(f.serialKeysState, "Off");  // "2" stored as text
        EXPECT_EQ(f.driverVersion, "5.0.2195.1");
    }
    {
        InputTestMachine m("nt4");
        const KeyboardFacts f = collect(m, m.enumDevices());
        EXPECT_EQ(f.filterKeysState, "On");  // "127"
        // A SerialKeys key without flags: off.
        EXPECT_EQ(f.serialKeysState, "Off");
        ASSERT_EQ(f.layouts.size(), 2u);
        EXPECT_EQ(f.layouts[1], (LayoutEntry{"00000809", "United Kingdom", "KBDUK.DLL"}));
    }
}

TEST(KeyboardCollector, NinexSamplesReadTheirOwnKeysAndTheRepeatSettingsWhere9xKeepsThem) {
    struct Case {
        const char* machine;
        std::vector<LayoutEntry> layouts;
        const char *delay, *speed, *toggle, *sticky, *mouseKeys, *serial, *maxSpeed;
    };
    const std::vector<Case> cases = {
        {"win95",
         {{"00000409", "United States 101", "KBDUS.KBD"}},
         "1",
         "31",
         "On",
         "Off",
         "Off",
         "Off",
         "40"},
        {"win98se",
         {{"00000407", "Deutsch (Standard)", "KBDGR.KBD"},
          {"00000409", "US-amerikanisch", "KBDUS.KBD"}},
         "2",
         "28",
         "Off",
         "On",
         "Off",
         "Off",
         "40"},
        {"winme",
         {{"00000419", "\xD0\xF3\xF1\xF1\xEA\xE0\xFF", "KBDRU.KBD"},
          {"00000409", "\xD1\xD8\xC0", "KBDUS.KBD"}},
         "1",
         "31",
         "Off",
         "Off",
         "On",
         "On",
         "80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine);
        InputTestMachine m(c.machine);
        const KeyboardFacts f = collect(m, m.enumDevices());
        EXPECT_EQ(f.layouts, c.layouts);
        EXPECT_EQ(f.keyboardDelay, c.delay);
        EXPECT_EQ(f.keyboardSpeed, c.speed);
        EXPECT_EQ(f.functionKeys, "12");
        EXPECT_EQ(f.filterKeysState, "Off");
        EXPECT_EQ(f.autoRepeatDelay, "1000");
        EXPECT_EQ(f.delayBeforeAcceptance, "1000");
        EXPECT_EQ(f.toggleKeysState, c.toggle);
        EXPECT_EQ(f.stickyKeysState, c.sticky);
        EXPECT_EQ(f.mouseKeysState, c.mouseKeys);
        EXPECT_EQ(f.serialKeysState, c.serial);
        EXPECT_EQ(f.maximumSpeed, c.maxSpeed);
        EXPECT_FALSE(f.keyboardName.empty());
        EXPECT_FALSE(f.infPath.empty());
    }
}

TEST(KeyboardCollector, VistaReadsNoSettingsOnlyTheDevice) {
    InputTestMachine m("vista");
    EXPECT_TRUE(m.enumDevices().empty());  // no walk runs on NT 6
    EXPECT_EQ(collect(m, m.enumDevices()), KeyboardFacts{});

    // With a keyboard in the table, the device part still runs.
    const KeyboardFacts f = collect(m, {deviceRecord("Keyboard", "", "PS/2 Keyboard")});
    KeyboardFacts expected;
    expected.keyboardName = "PS/2 Keyboard";
    EXPECT_EQ(f, expected);
}

TEST(KeyboardCollector, WinePrefixRegistry) {
    TAMUX_REQUIRE_FIXTURES();
    InputTestMachine m;
    for (const char* file : {"hkcu-control-panel.reg", "hkcu-keyboard-layout.reg",
                             "hklm-control-class.reg", "hklm-enum.reg"}) {
        m.registry().importFile(fixturesDir() / "wine-8.0" / file);
    }
    const KeyboardFacts f = collect(m, m.enumDevices());
    KeyboardFacts expected;
    expected.keyboardDelay = "1";
    expected.keyboardSpeed = "31";
    // The exported keys hold no layout names, and Wine lists no keyboard device.
    expected.layouts = {{"00000409", "", ""}};
    expected.functionKeys = "12";
    // No accessibility keys: every state empty but the serial keys', which is off without flags.
    expected.serialKeysState = "Off";
    EXPECT_EQ(f, expected);
}

// --- NT branch, one case each ---

TEST(KeyboardCollector, LayoutNamesComeThroughTheCurrentSetWhenControlSet001LacksThem) {
    // As under Wine: CurrentControlSet is a key of its own, not a link to ControlSet001.
    InputTestMachine m;
    m.registry().deleteKey(HKLM, "SYSTEM\\CurrentControlSet");
    const std::string layout = "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\00000407";
    m.registry().setString(HKCU, "Keyboard Layout\\Preload", "1", "00000407");
    m.registry().setString(HKLM, layout, "Layout Text", "German");
    m.registry().setString(HKLM, layout, "Layout File", "KBDGR.DLL");
    const KeyboardFacts f = collect(m);
    ASSERT_EQ(f.layouts.size(), 1u);
    EXPECT_EQ(f.layouts[0], (LayoutEntry{"00000407", "German", "KBDGR.DLL"}));
}

TEST(KeyboardCollector, NtFlagTestIsBitZeroOfTheDecimalText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"126", "Off"}, {"1", "On"},  {"127", "On"},        {"0", "Off"},
        {"-1", "On"},   {"+3", "On"}, {"2147483647", "On"}, {"-2147483648", "Off"},
    };
    for (const auto& [flags, state] : cases) {
        SCOPED_TRACE(flags);
        InputTestMachine m;
        for (const char* key : {kResponseNt, kToggleKeys, kStickyKeys, kMouseKeys}) {
            m.registry().setString(HKCU, key, "Flags", flags);
        }
        const KeyboardFacts f = collect(m);
        EXPECT_EQ(f.filterKeysState, state);
        EXPECT_EQ(f.toggleKeysState, state);
        EXPECT_EQ(f.stickyKeysState, state);
        EXPECT_EQ(f.mouseKeysState, state);
    }
}

TEST(KeyboardCollector, NtFlagsThatAreNoDecimalNumberLeaveTheirStateEmptyAndTheRestGoesOn) {
    for (const char* flags : {"", "1 ", " 1", "0x1", "$7F", "abc", "1.0", "-", "2147483648"}) {
        SCOPED_TRACE(flags);
        InputTestMachine m;
        m.registry().setString(HKCU, kResponseNt, "Flags", flags);
        m.registry().setString(HKCU, kResponseNt, "BounceTime", "5");
        m.registry().setString(HKCU, kStickyKeys, "Flags", "1");
        const KeyboardFacts f = collect(m, {deviceRecord("Keyboard", "Kbd", "")});
        EXPECT_EQ(f.filterKeysState, "");
        EXPECT_EQ(f.bounceTime, "5");
        EXPECT_EQ(f.stickyKeysState, "On");
        EXPECT_EQ(f.keyboardName, "Kbd");
    }
}

TEST(KeyboardCollector, NtSerialKeysFlagsInEveryStoredForm) {
    struct Case {
        const char* name;
        std::function<void(sim::SimRegistry&)> write;
        std::string state;
    };
    const std::vector<Case> cases = {
        {"dword on", [](sim::SimRegistry& r) { r.setDword(HKCU, kSerialKeys, "Flags", 3); }, "On"},
        {"dword off", [](sim::SimRegistry& r) { r.setDword(HKCU, kSerialKeys, "Flags", 2); },
         "Off"},
        {"text on", [](sim::SimRegistry& r) { r.setString(HKCU, kSerialKeys, "Flags", "3"); },
         "On"},
        {"text off", [](sim::SimRegistry& r) { r.setString(HKCU, kSerialKeys, "Flags", "126"); },
         "Off"},
        {"expandable text",
         [](sim::SimRegistry& r) {
             r.setString(HKCU, kSerialKeys, "Flags", "1", regtype::kExpandSz);
         },
         "On"},
        {"text no number",
         [](sim::SimRegistry& r) { r.setString(HKCU, kSerialKeys, "Flags", "on"); }, ""},
        {"no flags", [](sim::SimRegistry& r) { r.setString(HKCU, kSerialKeys, "Port", "COM1"); },
         "Off"},
        {"no key", [](sim::SimRegistry&) {}, "Off"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputTestMachine m;
        c.write(m.registry());
        const KeyboardFacts f = collect(m, {deviceRecord("Keyboard", "Kbd", "")});
        EXPECT_EQ(f.serialKeysState, c.state);
        // The collection reaches the device part whatever the form.
        EXPECT_EQ(f.keyboardName, "Kbd");
        // The other on/off states stay empty when their keys are missing.
        EXPECT_EQ(f.filterKeysState, "");
        EXPECT_EQ(f.toggleKeysState, "");
    }
}

TEST(KeyboardCollector, NtPreloadTakesPlainStringValuesInTheirOrder) {
    InputTestMachine m;
    sim::SimRegistry& r = m.registry();
    r.setString(HKCU, kPreloadNt, "1", "00000409");
    r.setString(HKCU, kPreloadNt, "2", "00000407", regtype::kExpandSz);
    r.setDword(HKCU, kPreloadNt, "3", 0x0405);
    r.setValue(HKCU, kPreloadNt, "4", regtype::kMultiSz, {'0', '0', 0, 0});
    r.setValue(HKCU, kPreloadNt, "5", regtype::kBinary, {'0', '0'});
    r.setString(HKCU, kPreloadNt, "6", "0000040c");
    r.setString(HKCU, kPreloadNt, "7", "00000419");
    const std::string layouts = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts\\";
    r.setString(HKLM, layouts + "00000409", "Layout Text", "US");
    r.setString(HKLM, layouts + "00000409", "Layout File", "KBDUS.DLL");
    r.setString(HKLM, layouts + "0000040C", "Layout Text", "French");  // names ignore case
    // 00000419 has no key: its names stay empty.
    const KeyboardFacts f = collect(m);
    const std::vector<LayoutEntry> expected = {
        {"00000409", "US", "KBDUS.DLL"}, {"0000040c", "French", ""}, {"00000419", "", ""}};
    EXPECT_EQ(f.layouts, expected);
}

TEST(KeyboardCollector, NtValuesAreShownAsStoredAndTheFunctionKeysCounted) {
    InputTestMachine m;
    m.registry().setString(HKCU, "Control Panel\\Keyboard", "KeyboardDelay", "1");
    m.registry().setString(HKCU, "Control Panel\\Keyboard", "KeyboardSpeed", "");
    m.machine().system().setKeyboardType({4, 0, 10});
    const KeyboardFacts f = collect(m);
    EXPECT_EQ(f.keyboardDelay, "1");  // not converted to milliseconds
    EXPECT_EQ(f.keyboardSpeed, "");
    EXPECT_EQ(f.functionKeys, "10");
    // On NT the 9x place is not read.
    InputTestMachine other;
    other.registry().setString(HKCU, kResponse9x, "KeyboardDelay", "3");
    EXPECT_EQ(collect(other).keyboardDelay, "");
}

TEST(KeyboardCollector, AValueOfTheWrongTypeEndsTheCollectionKeepingWhatCameBefore) {
    InputTestMachine m;
    m.registry().setString(HKCU, "Control Panel\\Keyboard", "KeyboardDelay", "2");
    m.registry().setString(HKCU, kPreloadNt, "1", "00000409");
    m.registry().setString(HKCU, kResponseNt, "AutoRepeatDelay", "1000");
    m.registry().setDword(HKCU, kResponseNt, "AutoRepeatRate", 500);
    m.registry().setString(HKCU, kToggleKeys, "Flags", "1");
    KeyboardFacts f;
    try {
        readKeyboardFacts(m.platform(), {deviceRecord("Keyboard", "Kbd", "")}, m.lang(), f);
        FAIL() << "expected a RegistryError";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'AutoRepeatRate'");
    }
    EXPECT_EQ(f.keyboardDelay, "2");
    EXPECT_EQ(f.layouts.size(), 1u);
    EXPECT_EQ(f.autoRepeatDelay, "1000");
    EXPECT_EQ(f.toggleKeysState, "");  // after the failure
    EXPECT_EQ(f.keyboardName, "");
    EXPECT_EQ(m.registry().openKeyCount(), 0u);
}

// --- 9x branch, one case each ---

class NinexKeyboard : public ::testing::Test {
  protected:
    void SetUp() override { m.setVersion(1, 4, 10); }
    InputTestMachine m;
};

TEST_F(NinexKeyboard, OnTestIsOnOnlyForExactlyOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1", "On"}, {"0", "Off"}, {"01", "Off"}, {"1 ", "Off"}, {" 1", "Off"}, {"", "Off"}};
    for (const auto& [on, state] : cases) {
        SCOPED_TRACE("\"" + on + "\"");
        InputTestMachine nx;
        nx.setVersion(1, 4, 0);
        for (const char* key :
             {kResponse9x, kToggleKeys, "Control Panel\\Accessibility\\Stickykeys", kMouseKeys}) {
            nx.registry().setString(HKCU, key, "On", on);
        }
        const KeyboardFacts f = collect(nx);
        EXPECT_EQ(f.filterKeysState, state);
        EXPECT_EQ(f.toggleKeysState, state);
        EXPECT_EQ(f.stickyKeysState, state);
        EXPECT_EQ(f.mouseKeysState, state);
    }
}

TEST_F(NinexKeyboard, FlagsAreNotReadOnlyOnIs) {
    m.registry().setString(HKCU, kToggleKeys, "Flags", "1");
    m.registry().setString(HKCU, kStickyKeys, "On", "1");
    const KeyboardFacts f = collect(m);
    EXPECT_EQ(f.toggleKeysState, "");
    EXPECT_EQ(f.stickyKeysState, "On");
}

TEST_F(NinexKeyboard, SerialKeysFlagsText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"3", "On"}, {"2", "Off"}, {"x", ""}, {"1 ", ""}};
    for (const auto& [flags, state] : cases) {
        SCOPED_TRACE(flags);
        InputTestMachine nx;
        nx.setVersion(1, 4, 90);
        nx.registry().setString(HKCU, kSerialKeys, "flags", flags);
        const KeyboardFacts f = collect(nx, {deviceRecord("keyboard", "Kbd", "")});
        EXPECT_EQ(f.serialKeysState, state);
        EXPECT_EQ(f.keyboardName, "Kbd");
    }
    EXPECT_EQ(collect(m).serialKeysState, "Off");  // no key at all
}

TEST_F(NinexKeyboard, PreloadSubkeysNameTheLayoutsInTheirOrder) {
    sim::SimRegistry& r = m.registry();
    r.setString(HKCU, "keyboard layout\\preload\\1", "", "00000407");
    r.setString(HKCU, "keyboard layout\\preload\\2", "", "00000409");
    r.createKey(HKCU, "keyboard layout\\preload\\3");  // no default value
    const std::string layouts = "System\\CurrentControlSet\\Control\\keyboard layouts\\";
    r.setString(HKLM, layouts + "00000407", "layout text", "German (Standard)");
    r.setString(HKLM, layouts + "00000407", "layout file", "KBDGR.KBD");
    // The NT places are not read on 9x.
    r.setString(HKCU, kPreloadNt + std::string(), "9", "00000405");
    const std::vector<LayoutEntry> expected = {
        {"00000407", "German (Standard)", "KBDGR.KBD"}, {"00000409", "", ""}, {"", "", ""}};
    EXPECT_EQ(collect(m).layouts, expected);
}

TEST_F(NinexKeyboard, RepeatSettingsUnderKeyboardResponseComeFirst) {
    m.registry().setString(HKCU, "Control Panel\\Keyboard", "KeyboardDelay", "1");
    m.registry().setString(HKCU, "Control Panel\\Keyboard", "KeyboardSpeed", "31");
    m.registry().setString(HKCU, kResponse9x, "KeyboardDelay", "3");
    const KeyboardFacts f = collect(m);
    EXPECT_EQ(f.keyboardDelay, "3");
    EXPECT_EQ(f.keyboardSpeed, "31");
}

// --- The device part ---

TEST(KeyboardCollector, OnlyTheFirstKeyboardRecordCountsInAnyLetterCase) {
    InputTestMachine m;
    const std::string driver1 = "SYSTEM\\CurrentControlSet\\Control\\Class\\{kbd}\\0000";
    const std::string driver2 = "SYSTEM\\CurrentControlSet\\Control\\Class\\{kbd}\\0001";
    m.registry().setString(HKLM, driver1, "DriverDesc", "First driver");
    m.registry().setString(HKLM, driver1, "InfPath", "first.inf");
    m.registry().setString(HKLM, driver2, "DriverDesc", "Second driver");
    const DeviceTable table = {
        deviceRecord("Mouse", "Mouse name", "Mouse"),
        deviceRecord("Keyboards", "Not a keyboard", ""),
        deviceRecord("kEyBoArD", "", "First keyboard", driver1),
        deviceRecord("KEYBOARD", "Second keyboard", "", driver2),
    };
    const KeyboardFacts f = collect(m, table);
    EXPECT_EQ(f.keyboardName, "First keyboard");  // the description when no display name
    EXPECT_EQ(f.driverDesc, "First driver");
    EXPECT_EQ(f.infPath, "first.inf");
    EXPECT_EQ(f.providerName, "");
}

TEST(KeyboardCollector, TheDisplayNameWinsAndTheNameIsCutTo255) {
    InputTestMachine m;
    EXPECT_EQ(collect(m, {deviceRecord("Keyboard", "Vendor  Device", "Description")}).keyboardName,
              "Vendor  Device");
    const std::string longName(300, 'k');
    EXPECT_EQ(collect(m, {deviceRecord("Keyboard", longName, "")}).keyboardName,
              std::string(255, 'k'));
    EXPECT_EQ(collect(m, {deviceRecord("Keyboard", std::string(255, 'x'), "")}).keyboardName,
              std::string(255, 'x'));
}

}  // namespace
}  // namespace test
}  // namespace tamux
