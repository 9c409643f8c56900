// The mouse facts gathered from the sample machines, from one-case registries and from a Wine
// prefix, and the twelve lines made of them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/mouse/mouse_collector.h"
#include "devices/mouse/mouse_section.h"
#include "platform/errors.h"
#include "tests/unit/keyboard/input_test_machine.h"
#include "ui/section_markup.h"

namespace tamux::test {
namespace {

using platform::RootKey;
constexpr auto HKCU = RootKey::CurrentUser;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr const char* kMouseKey = "Control Panel\\Mouse";

const std::string kMouseLine = "<IMG src=\"idx:0\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
const std::string kP3 = "<IMG src=\"idx:3\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
const std::string kV = "<IND x=\"200\"><FONT color=\"clmaroon\">";

MouseFacts collect(InputTestMachine& m, const DeviceTable& devices = {}) {
    MouseFacts facts;
    readMouseFacts(m.platform(), devices, m.lang(), facts);
    EXPECT_EQ(m.registry().openKeyCount(), 0u) << "a key was left open";
    return facts;
}

std::vector<std::string> xpLines(const std::string& buttons, const std::string& doubleClick,
                                 const std::string& sensitivity) {
    return {
        "<FONT color=\"clnavy\" size=\"12\">HID-compliant mouse</FONT>",
        "<FONT color=\"clblue\" size=\"11\">Driver</FONT>",
        kMouseLine + "Description" + kV + "HID-compliant mouse</FONT>",
        kMouseLine + "Provider" + kV + "Microsoft</FONT>",
        kMouseLine + "Version" + kV + "5.1.2600.0</FONT>",
        kMouseLine + "Date" + kV + "7-1-2001</FONT>",
        kMouseLine + "INF file" + kV + "msmouse.inf</FONT>",
        " ",
        kP3 + "Button configuration" + kV + buttons + "</FONT>",
        kP3 + "Double-click speed" + kV + doubleClick + "</FONT>",
        kP3 + "Pointer speed" + kV + sensitivity + "</FONT>",
        kP3 + "Acceleration" + kV + "Other</FONT>",
    };
}

TEST(Mouse, XpSampleGivesTwelveLinesWithTheFirstMouseThatHasADriver) {
    // The PS/2 mouse that is no longer present has no Control key, so the HID mouse is the
    // first of class Mouse in the table.
    InputTestMachine m("winxp");
    EXPECT_EQ(sectionMarkup(mouseSection(collect(m, m.enumDevices()), m.lang())),
              xpLines("Right-handed", "500", "10"));
}

TEST(Mouse, ALimitedAccountStillSeesTheDriverAndItsOwnSettings) {
    InputTestMachine m("winxp-user");
    EXPECT_EQ(sectionMarkup(mouseSection(collect(m, m.enumDevices()), m.lang())),
              xpLines("Left-handed", "700", "14"));
}

TEST(Mouse, EachSampleShowsItsAccelerationSetting) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"nt4", "None"},    {"win98se", "Low"}, {"win2000", "Medium"}, {"winme", "High"},
        {"win95", "Other"}, {"vista", "Other"}, {"winxp", "Other"}};
    for (const auto& [machine, text] : cases) {
        SCOPED_TRACE(machine);
        InputTestMachine m(machine);
        const MouseFacts f = collect(m, m.enumDevices());
        EXPECT_EQ(f.accelerationText, text);
        EXPECT_EQ(f.buttonsText, "Right-handed");
        EXPECT_EQ(sectionMarkup(mouseSection(f, m.lang())).size(), 12u);
    }
}

TEST(Mouse, NinexSampleNamesItsMouseAndLeavesMissingValuesEmpty) {
    InputTestMachine m("win95");
    const MouseFacts f = collect(m, m.enumDevices());
    EXPECT_EQ(f.name, "Standard PS/2 Port Mouse");
    EXPECT_EQ(f.infPath, "MSMOUSE.INF");
    EXPECT_EQ(f.driverVersion, "");  // the 9x driver key has none
    EXPECT_EQ(f.sensitivity, "");    // 95 has no sensitivity setting
    EXPECT_EQ(f.doubleClickSpeed, "500");
}

// The twelve lines of a machine with no record of class Mouse and the mouse settings a fresh
// Wine prefix writes: the driver lines are empty, the settings are there.
std::vector<std::string> noMouseLines() {
    return {
        "<FONT color=\"clnavy\" size=\"12\"></FONT>",
        "<FONT color=\"clblue\" size=\"11\">Driver</FONT>",
        kMouseLine + "Description" + kV + "</FONT>",
        kMouseLine + "Provider" + kV + "</FONT>",
        kMouseLine + "Version" + kV + "</FONT>",
        kMouseLine + "Date" + kV + "</FONT>",
        kMouseLine + "INF file" + kV + "</FONT>",
        " ",
        kP3 + "Button configuration" + kV + "Right-handed</FONT>",
        kP3 + "Double-click speed" + kV + "500</FONT>",  // no unit added
        kP3 + "Pointer speed" + kV + "10</FONT>",
        // "1", "6", "10" is none of the named settings.
        kP3 + "Acceleration" + kV + "Other</FONT>",
    };
}

TEST(Mouse, NoMouseRecordYetTwelveLines) {
    // What a fresh Wine prefix holds for the mouse: the settings, and its virtual mouse only as
    // a HID device of class HIDClass. The device is made present here (a Control key), so that
    // its class and driver are read: that driver must not be taken for a mouse's.
    InputTestMachine m;
    m.importReg(R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Control Panel\Mouse]
"DoubleClickSpeed"="500"
"MouseSensitivity"="10"
"MouseSpeed"="1"
"MouseThreshold1"="6"
"MouseThreshold2"="10"
"SwapMouseButtons"="0"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Enum\HID\VID_845E&PID_0002\0&0000&0&0]
"Class"="HIDClass"
"ClassGUID"="{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}"
"DeviceDesc"="Wine HID device"
"Driver"="{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}\\0002"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Enum\HID\VID_845E&PID_0002\0&0000&0&0\Control]

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{745a17a0-74d3-11d0-b6fe-00a0c90f57da}]
@="Human Interface Devices"
"Class"="HIDClass"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{745a17a0-74d3-11d0-b6fe-00a0c90f57da}\0002]
"DriverDesc"="Wine HID device"
"ProviderName"="Wine"
"InfPath"="input.inf"
)");
    const DeviceTable devices = m.enumDevices();
    ASSERT_EQ(devices.size(), 1u);
    ASSERT_EQ(devices[0].className, "HIDClass") << "the HID device was not read";
    EXPECT_EQ(sectionMarkup(mouseSection(collect(m, devices), m.lang())), noMouseLines());
}

TEST(Mouse, WinePrefixHasNoMouseRecordYetTwelveLines) {
    // The in-tree case above covers the behaviour; this one reads a real prefix's export.
    TAMUX_REQUIRE_FIXTURES();
    InputTestMachine m;
    for (const char* file : {"hkcu-control-panel.reg", "hklm-control-class.reg", "hklm-enum.reg"}) {
        m.registry().importFile(fixturesDir() / "wine-8.0" / file);
    }
    EXPECT_EQ(sectionMarkup(mouseSection(collect(m, m.enumDevices()), m.lang())), noMouseLines());
}

TEST(Mouse, AccelerationIsMatchedAsExactStrings) {
    struct Case {
        const char *speed, *threshold1, *threshold2;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"0", "0", "0", "None"},      {"1", "7", "0", "Low"},
        {"2", "4", "12", "Medium"},   {"2", "4", "6", "High"},
        {"00", "0", "0", "Other"},    {"0", "0", "0 ", "Other"},
        {"1", "6", "10", "Other"},    {"2", "4", "012", "Other"},
        {"2", "6", "4", "Other"},     {nullptr, "0", "0", "Other"},
        {"0", nullptr, "0", "Other"}, {nullptr, nullptr, nullptr, "Other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.speed ? c.speed : "-") + "," +
                     (c.threshold1 ? c.threshold1 : "-") + "," +
                     (c.threshold2 ? c.threshold2 : "-"));
        InputTestMachine m;
        if (c.speed) m.registry().setString(HKCU, kMouseKey, "MouseSpeed", c.speed);
        if (c.threshold1) m.registry().setString(HKCU, kMouseKey, "MouseThreshold1", c.threshold1);
        if (c.threshold2) m.registry().setString(HKCU, kMouseKey, "MouseThreshold2", c.threshold2);
        EXPECT_EQ(collect(m).accelerationText, c.text);
    }
}

TEST(Mouse, ButtonOrderIsNormalOnlyForExactlyZero) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "Right-handed"}, {"1", "Left-handed"}, {"00", "Left-handed"}, {"", "Left-handed"}};
    for (const auto& [stored, text] : cases) {
        SCOPED_TRACE(stored);
        InputTestMachine m;
        m.registry().setString(HKCU, kMouseKey, "SwapMouseButtons", stored);
        EXPECT_EQ(collect(m).buttonsText, text);
    }
    // Absent: an empty value after the label.
    InputTestMachine m;
    m.registry().setString(HKCU, kMouseKey, "DoubleClickSpeed", "500");
    const std::vector<std::string> lines = sectionMarkup(mouseSection(collect(m), m.lang()));
    EXPECT_EQ(lines[8], kP3 + "Button configuration" + kV + "</FONT>");
    EXPECT_EQ(lines[9], kP3 + "Double-click speed" + kV + "500</FONT>");
}

TEST(Mouse, OnlyTheFirstMouseRecordCountsInAnyLetterCase) {
    InputTestMachine m;
    const std::string first = "SYSTEM\\CurrentControlSet\\Control\\Class\\{mouse}\\0000";
    const std::string second = "SYSTEM\\CurrentControlSet\\Control\\Class\\{mouse}\\0001";
    for (const char* name :
         {"DriverDate", "DriverDesc", "DriverVersion", "InfPath", "ProviderName"}) {
        m.registry().setString(HKLM, first, name, std::string("first ") + name);
        m.registry().setString(HKLM, second, name, std::string("second ") + name);
    }
    const DeviceTable table = {
        deviceRecord("Keyboard", "Keyboard", "", second),
        deviceRecord("Mice", "Not a mouse", "", second),
        deviceRecord("mouse", "", "First mouse", first),
        deviceRecord("Mouse", "Second mouse", "", second),
    };
    MouseFacts expected;
    expected.name = "First mouse";  // the description when there is no display name
    expected.driverDate = "first DriverDate";
    expected.driverDesc = "first DriverDesc";
    expected.driverVersion = "first DriverVersion";
    expected.infPath = "first InfPath";
    expected.providerName = "first ProviderName";
    expected.accelerationText = "Other";
    EXPECT_EQ(collect(m, table), expected);
    EXPECT_EQ(collect(m, {deviceRecord("MOUSE", "Logitech  M-BT58", "USB mouse")}).name,
              "Logitech  M-BT58");
}

TEST(Mouse, ValuesFromTheSystemAreEscapedTextsOfTheLanguageAreNot) {
    InputTestMachine m;
    MouseFacts f;
    f.name = "<I>Mouse</I>";
    f.driverDesc = "A & B";
    f.infPath = "x>y";
    f.doubleClickSpeed = "<500";
    f.buttonsText = "Right-handed";
    const std::vector<std::string> lines = sectionMarkup(mouseSection(f, m.lang()));
    EXPECT_EQ(lines[0], "<FONT color=\"clnavy\" size=\"12\">&lt;I&gt;Mouse&lt;/I&gt;</FONT>");
    EXPECT_EQ(lines[2], kMouseLine + "Description" + kV + "A &amp; B</FONT>");
    EXPECT_EQ(lines[6], kMouseLine + "INF file" + kV + "x&gt;y</FONT>");
    EXPECT_EQ(lines[9], kP3 + "Double-click speed" + kV + "&lt;500</FONT>");
}

TEST(Mouse, AValueThatIsNoStringEndsTheCollectionKeepingWhatCameBefore) {
    InputTestMachine m;
    m.registry().setString(HKCU, kMouseKey, "SwapMouseButtons", "1");
    m.registry().setDword(HKCU, kMouseKey, "DoubleClickSpeed", 500);
    m.registry().setString(HKCU, kMouseKey, "MouseSensitivity", "10");
    MouseFacts f;
    try {
        readMouseFacts(m.platform(), {deviceRecord("Mouse", "M", "")}, m.lang(), f);
        FAIL() << "expected a RegistryError";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'DoubleClickSpeed'");
    }
    EXPECT_EQ(f.buttonsText, "Left-handed");
    EXPECT_EQ(f.sensitivity, "");
    EXPECT_EQ(f.name, "");
    EXPECT_EQ(m.registry().openKeyCount(), 0u);
}

}  // namespace
}  // namespace tamux::test
