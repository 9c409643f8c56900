// The keyboard section's lines, compared whole with their fragments, and the indicator lines
// written into fresh and shown lists.
#include "devices/keyboard/keyboard_section.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/keyboard/indicator_lines.h"
#include "tests/unit/keyboard/input_test_machine.h"
#include "tests/unit/keyboard/sim_key_queue.h"
#include "ui/section_markup.h"

namespace tamux::test {
namespace {

// The fragments, spelt out once more so that the builder's own constants are checked.
const std::string kNavy = "<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
const std::string kBlue = "<IMG src=\"idx:1\"></IMG> <FONT color=\"clblue\" size=\"10\">";
const std::string kVal = "<IND x=\"200\"><FONT color=\"clmaroon\">";
const std::string kValue10 = "<IND x=\"200\"><FONT color=\"clmaroon\" size=\"10\">";

class KeyboardSectionTest : public ::testing::Test {
  protected:
    void setLocks(bool caps, bool num, bool scroll, bool insert) {
        platform::KeyboardStateBuffer state{};
        state[sim::kVkCapital] = caps;
        state[sim::kVkNumLock] = num;
        state[sim::kVkScroll] = scroll;
        state[sim::kVkInsert] = insert;
        m.machine().keyboard().setKeyboardState(state);
    }
    std::vector<std::string> build(const KeyboardFacts& facts) {
        return sectionMarkup(keyboardSection(facts, keys, m.lang()));
    }

    InputTestMachine m;
    SimKeyQueue queue{m.machine().keyboard()};
    Application app{queue};
    KeyState keys{app, m.machine().keyboard(), m.machine().system()};
};

TEST_F(KeyboardSectionTest, TheWholeSectionWithTwoLayouts) {
    KeyboardFacts f;
    f.keyboardName = "PS/2 Keyboard";
    f.driverDesc = "Standard keyboard";
    f.providerName = "Microsoft";
    f.driverVersion = "5.1.2600.0";
    f.driverDate = "7-1-2001";
    f.infPath = "keyboard.inf";
    f.keyboardDelay = "1";
    f.keyboardSpeed = "31";
    f.layouts = {{"00000409", "US", "KBDUS.DLL"}, {"00000407", "German", "KBDGR.DLL"}};
    f.functionKeys = "12";
    f.filterKeysState = "Off";
    f.autoRepeatDelay = "1000";
    f.autoRepeatRate = "500";
    f.bounceTime = "0";
    f.delayBeforeAcceptance = "900";
    f.toggleKeysState = "On";
    f.mouseKeysState = "Off";
    f.maximumSpeed = "80";
    f.timeToMaximumSpeed = "3000";
    f.stickyKeysState = "On";
    f.serialKeysState = "Off";
    setLocks(true, false, false, false);

    const std::vector<std::string> expected = {
        "<FONT color=\"clnavy\" size=\"12\">PS/2 Keyboard</FONT>",
        "<IMG src=\"idx:1\"></IMG> <FONT color=\"clblue\" size=\"11\">Driver</FONT>",
        kNavy + "Description" + kVal + "Standard keyboard</FONT>",
        kNavy + "Provider" + kVal + "Microsoft</FONT>",
        kNavy + "Version" + kVal + "5.1.2600.0</FONT>",
        kNavy + "Date" + kVal + "7-1-2001</FONT>",
        kNavy + "INF file" + kVal + "keyboard.inf</FONT>",
        " ",
        kCapsOn,
        kNumOff,
        kScrollOff,
        kInsOff,
        "",
        "<FONT color=\"clgreen\" size=\"10\">Keyboard layouts</FONT>",
        kNavy + "Layout ID" + kVal + "00000409</FONT>",
        kNavy + "Layout name" + kVal + "US</FONT>",
        kNavy + "Layout file" + kVal + "KBDUS.DLL</FONT>",
        "",
        kNavy + "Layout ID" + kVal + "00000407</FONT>",
        kNavy + "Layout name" + kVal + "German</FONT>",
        kNavy + "Layout file" + kVal + "KBDGR.DLL</FONT>",
        "",
        kBlue + "Repeat delay" + kVal + "500 ms</FONT>",  // the second of four steps
        kBlue + "Repeat rate" + kVal + "31</FONT>",
        kBlue + "Function keys" + kVal + "12</FONT>",
        "",
        "<FONT color=\"clgreen\" size=\"10\">Accessibility</FONT>",
        kBlue + "FilterKeys" + kValue10 + "Off</FONT>",
        kBlue + "Auto-repeat delay" + kVal + "1000 ms</FONT>",
        kBlue + "Auto-repeat rate" + kVal + "500 ms</FONT>",
        kBlue + "Bounce time" + kVal + "0 ms</FONT>",
        kBlue + "Acceptance delay" + kVal + "900 ms</FONT>",
        kBlue + "ToggleKeys" + kValue10 + "On</FONT>",
        kBlue + "MouseKeys" + kValue10 + "Off</FONT>",
        kBlue + "Top speed" + kVal + "80</FONT>",
        kBlue + "Time to top speed" + kVal + "3000 ms</FONT>",
        kBlue + "StickyKeys" + kValue10 + "On</FONT>",
        kBlue + "SerialKey devices" + kValue10 + "Off</FONT>",
    };
    EXPECT_EQ(build(f), expected);
    EXPECT_EQ(expected.size(), 30u + 4u * 2u);
}

TEST_F(KeyboardSectionTest, EmptyFactsGiveEveryLabelWithAnEmptyValue) {
    const std::vector<std::string> lines = build(KeyboardFacts{});
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], "<FONT color=\"clnavy\" size=\"12\"></FONT>");
    // Without layouts the group is its heading alone, followed by the repeat delay.
    EXPECT_EQ(lines[13], "<FONT color=\"clgreen\" size=\"10\">Keyboard layouts</FONT>");
    EXPECT_EQ(lines[14], kBlue + "Repeat delay" + kVal + "</FONT>");  // no unit without a value
    EXPECT_EQ(lines[15], kBlue + "Repeat rate" + kVal + "</FONT>");
    EXPECT_EQ(lines[19], kBlue + "FilterKeys" + kValue10 + "</FONT>");
    EXPECT_EQ(lines[22], kBlue + "Bounce time" + kVal + "</FONT>");
}

TEST_F(KeyboardSectionTest, LinesGrowByFourPerLayoutWhateverItHolds) {
    KeyboardFacts f;
    for (int n = 1; n <= 5; ++n) {
        f.layouts.push_back({});
        EXPECT_EQ(build(f).size(), 30u + 4u * static_cast<unsigned>(n));
    }
}

TEST_F(KeyboardSectionTest, TheRepeatDelayStepShowsItsMilliseconds) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "250 ms"}, {"1", "500 ms"}, {"2", "750 ms"}, {"3", "1000 ms"},
        {"4", "4"},      {"-1", "-1"},    {"01", "01"},    {"", ""},
    };
    for (const auto& [stored, shown] : cases) {
        KeyboardFacts facts;
        facts.keyboardDelay = stored;
        EXPECT_EQ(build(facts)[14], kBlue + "Repeat delay" + kVal + shown + "</FONT>") << stored;
    }
}

TEST_F(KeyboardSectionTest, ValuesFromTheSystemAreEscapedAndDoNotBecomeMarkup) {
    KeyboardFacts f;
    f.keyboardName = "<B>Fancy</B> & co";
    f.driverDesc = "a<b";
    f.layouts = {{"0000<409", "US > UK", "KBD&.DLL"}};
    f.keyboardDelay = "<1>";
    const std::vector<std::string> lines = build(f);
    EXPECT_EQ(lines[0],
              "<FONT color=\"clnavy\" size=\"12\">&lt;B&gt;Fancy&lt;/B&gt; &amp; co</FONT>");
    EXPECT_EQ(lines[2], kNavy + "Description" + kVal + "a&lt;b</FONT>");
    EXPECT_EQ(lines[14], kNavy + "Layout ID" + kVal + "0000&lt;409</FONT>");
    EXPECT_EQ(lines[15], kNavy + "Layout name" + kVal + "US &gt; UK</FONT>");
    EXPECT_EQ(lines[16], kNavy + "Layout file" + kVal + "KBD&amp;.DLL</FONT>");
    EXPECT_EQ(lines[18], kBlue + "Repeat delay" + kVal + "&lt;1&gt;</FONT>");  // not a step
}

TEST_F(KeyboardSectionTest, IndicatorLinesFollowEachKey) {
    setLocks(false, true, true, true);
    std::vector<std::string> lines = build(KeyboardFacts{});
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 8, lines.begin() + 12),
              (std::vector<std::string>{kCapsOff, kNumOn, kScrollOn, kInsOn}));
}

TEST_F(KeyboardSectionTest, UpdateIndicatorsRewritesOnlyTheKeysThatChanged) {
    setLocks(false, true, false, false);
    DeviceSection section = keyboardSection(KeyboardFacts{}, keys, m.lang());
    const std::vector<std::string> before = sectionMarkup(section);

    setLocks(true, true, false, true);
    EXPECT_EQ(updateIndicators(section, keys), (std::vector<int>{8, 11}));
    std::vector<std::string> expected = before;
    expected[8] = kCapsOn;
    expected[11] = kInsOn;
    EXPECT_EQ(sectionMarkup(section), expected);
    // Nothing changed since: nothing to rewrite.
    EXPECT_TRUE(updateIndicators(section, keys).empty());
}

}  // namespace
}  // namespace tamux::test
