// Values of unusual content: 10,000 characters, embedded NULs, markup characters ("<", "&") and
// control characters, in the registry and in the spooler's printer records. The user sees each
// value as the system stores it - whole, up to its first NUL, "<" and "&" as they are - in the
// window and in the saved text report; the HTML report keeps "<" and "&" escaped so that a
// browser shows them as they are. Nothing else in the window changes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_spooler.h"
#include "tests/unit/bad_input/program_view.h"
#include "ui/markup_text.h"

namespace tamux::test {
namespace {

using platform::RootKey;
namespace regtype = platform::regtype;

const std::string kKeyboardDriver =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96B-E325-11CE-BFC1-08002BE10318}\\0000";
const std::string kKeyboardInstance =
    "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0303\\4&2658d0a0&0";
const std::string kMouseInstance =
    "SYSTEM\\CurrentControlSet\\Enum\\HID\\VID_046D&PID_C00E\\6&3a24b5b0&0&0000";
const std::string kGermanLayout = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts\\00000407";

// `length` characters of numbered words, so that a cut or a lost piece shows.
std::string longText(std::size_t length, const std::string& word) {
    std::string text;
    for (int i = 0; text.size() < length; ++i) text += word + std::to_string(i) + " ";
    text.resize(length);
    return text;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Whether the text report has the label with this value in its value column.
bool holdsItem(const std::vector<std::string>& lines, const std::string& label,
               const std::string& value) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        if (line.rfind(label + " ", 0) != 0) return false;
        const std::size_t column = line.find_first_not_of(' ', label.size());
        return column != std::string::npos && line.substr(column) == value;
    });
}

bool anyLineHolds(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
}

sim::SimPrinter printer(const std::string& name, const std::string& comment) {
    sim::SimPrinter p;
    p.info.printerName = name;
    p.info.portName = "LPT1:";
    p.info.driverName = "Generic / Text Only";
    p.info.comment = comment;
    return p;
}

// The hardware ids of the XP mouse as REG_MULTI_SZ, with a long id of `extra` added at the end.
std::vector<std::uint8_t> mouseIdsWith(const std::string& extra) {
    std::vector<std::uint8_t> data;
    for (const std::string& id :
         {std::string("HID\\Vid_046d&Pid_c00e&Rev_1110"), std::string("HID\\Vid_046d&Pid_c00e"),
          std::string("HID_DEVICE_SYSTEM_MOUSE"), extra}) {
        data.insert(data.end(), id.begin(), id.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

TEST(LongValues, TenThousandCharactersAreShownAndReportedWhole) {
    const std::string driver = longText(10000, "driver");
    const std::string speed = longText(10000, "speed");
    const std::string layout = longText(10000, "layout");
    const std::string comment = longText(10000, "comment");

    FormHarness sound({.databases = true});
    sound.machine().spooler().addPrinter(printer("Plotter", "short"));
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.databases = true});
    sim::SimRegistry& registry = h.machine().registry();
    registry.setString(RootKey::LocalMachine, kKeyboardDriver, "DriverDesc", driver);
    registry.setString(RootKey::CurrentUser, "Control Panel\\Mouse", "DoubleClickSpeed", speed);
    registry.setString(RootKey::LocalMachine, kGermanLayout, "Layout Text", layout);
    // Raw data is read whole too: the mouse is still found by its first ids.
    registry.setValue(RootKey::LocalMachine, kMouseInstance, "HardwareID", regtype::kMultiSz,
                      mouseIdsWith(longText(10000, "HID_LONG_")));
    h.machine().spooler().addPrinter(printer("Plotter", comment));
    h.start();
    const Seen seen = look(h);

    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.keyboard().lines[2], " Description" + driver);
    EXPECT_TRUE(contains(seen.keyboard().lines, " Layout name" + layout));
    EXPECT_EQ(seen.mouse().lines[9], " Double-click speed" + speed);
    EXPECT_EQ(seen.mouse().lines[0], expected.mouse().lines[0]) << "named from the databases";
    ASSERT_EQ(seen.printers.size(), 4u);
    EXPECT_EQ(seen.printers[3].lines[5], " Comment  " + comment + " ");

    // Apart from those lines, the window is as on the sound machine.
    EXPECT_EQ(seen.captions, expected.captions);
    EXPECT_EQ(seen.entries, expected.entries);
    EXPECT_EQ(seen.printers[1], expected.printers[1]);
    EXPECT_EQ(seen.printers[2], expected.printers[2]);
    EXPECT_EQ(seen.keyboard().lines.size(), expected.keyboard().lines.size());

    const auto report = saveEverything(h, "C:\\report.txt");
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(holdsItem(*report, "Description", driver));
    EXPECT_TRUE(holdsItem(*report, "Double-click speed", speed));
    EXPECT_TRUE(holdsItem(*report, "Layout name", layout));
    EXPECT_TRUE(holdsItem(*report, "Comment", comment + " "));
}

TEST(LongValues, TheKeyboardNameShowsItsFirst255Characters) {
    // Without the databases the keyboard is named by its registry description.
    const std::string name = longText(10000, "keyboard");
    FormHarness h;
    h.machine().registry().setString(RootKey::LocalMachine, kKeyboardInstance, "FriendlyName",
                                     name);
    h.start();
    const Seen seen = look(h);
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(seen.keyboard().lines[0], name.substr(0, 255));
}

TEST(OddCharacters, MarkupNulsAndControlCharactersReadAsStored) {
    const std::string markup = "Keyboard <PS/2> & \"Natural\" </FONT><B>";
    const std::string controls = std::string("1\t2\x01\x1b\x7f") + "\r\n3";
    const std::string printerName = "Printer <A> & B";

    FormHarness sound({.databases = true});
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.databases = true});
    sim::SimRegistry& registry = h.machine().registry();
    registry.setString(RootKey::LocalMachine, kKeyboardDriver, "DriverDesc", markup);
    registry.setString(RootKey::CurrentUser, "Control Panel\\Keyboard", "KeyboardDelay", controls);
    // Everything after a NUL is not part of a string value.
    registry.setValue(RootKey::CurrentUser, "Control Panel\\Mouse", "DoubleClickSpeed",
                      regtype::kSz, {'5', '0', '0', 0, '<', '&', 'x', 0});
    h.machine().spooler().addPrinter(printer(printerName, "&amp; stays &amp;"));
    h.start();
    const Seen seen = look(h);

    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    EXPECT_EQ(seen.keyboard().lines[2], " Description" + markup);
    EXPECT_EQ(h.state().keyboard.keyboardDelay, controls);
    // The right pane has no tab stops: the tab is drawn as a blank. A delay that is none of the
    // four steps shows as stored, without a unit.
    EXPECT_TRUE(contains(seen.keyboard().lines, " Repeat delay1 2\x01\x1b\x7f\r\n3"));
    EXPECT_EQ(seen.mouse().lines[9], " Double-click speed500");

    // The printer's entry shows its name; its section is found by it and holds its lines.
    ASSERT_EQ(seen.entries.size(), expected.entries.size() + 1);
    EXPECT_EQ(seen.entries.back(), printerName);
    ASSERT_EQ(seen.printers.size(), 4u);
    EXPECT_EQ(seen.printers[3].lines[0], " Printer name  " + printerName + " ");
    EXPECT_EQ(seen.printers[3].lines[5], " Comment  &amp; stays &amp; ");

    // The rest of the window is as on the sound machine: the markup in the values opened no tag.
    EXPECT_EQ(seen.captions, expected.captions);
    EXPECT_EQ(seen.mouse().lines.size(), expected.mouse().lines.size());
    EXPECT_EQ(seen.keyboard().lines.size(), expected.keyboard().lines.size());
    EXPECT_EQ(seen.keyboard().lines[3], expected.keyboard().lines[3]);
    EXPECT_EQ(seen.printers[1], expected.printers[1]);

    // The text report holds every value as stored, byte for byte.
    const auto text = saveEverything(h, "C:\\report.txt");
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(holdsItem(*text, "Description", markup));
    // Only tabs and line breaks become blanks, so that the value keeps to its line and column.
    EXPECT_TRUE(holdsItem(*text, "Repeat delay", "1 2\x01\x1b\x7f  3"));
    EXPECT_TRUE(holdsItem(*text, "Printer name", printerName + " "));
    EXPECT_TRUE(holdsItem(*text, "Comment", "&amp; stays &amp; "));

    // The HTML report keeps them escaped: a browser shows the characters, and no tag of a value
    // reaches the page.
    const auto html = saveEverything(h, "C:\\report.htm");
    ASSERT_TRUE(html.has_value());
    EXPECT_TRUE(anyLineHolds(
        *html, "Keyboard &lt;PS/2&gt; &amp; &quot;Natural&quot; &lt;/FONT&gt;&lt;B&gt;"));
    EXPECT_FALSE(anyLineHolds(*html, "<B>"));
    EXPECT_TRUE(anyLineHolds(*html, "Printer &lt;A&gt; &amp; B"));
    EXPECT_TRUE(anyLineHolds(*html, "&amp;amp; stays &amp;amp;"));
}

}  // namespace
}  // namespace tamux::test
