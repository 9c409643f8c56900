// Real exports (a French Windows XP machine and a fresh Wine prefix) load unchanged and read back
// exactly; the same content written in both export formats gives the same answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/reg_key.h"
#include "platform/sim/codepage.h"
#include "platform/sim/sim_registry.h"
#include "tests/support/test_paths.h"
#include "tests/unit/sim_registry/test_helpers.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;
using platform::KeyAccess;
using platform::Registry;
using platform::RootKey;
using test::bytes;
namespace regtype = platform::regtype;

const char* const kCurrentControlSet = "SYSTEM\\CurrentControlSet";
const char* const kControlSet001 = "SYSTEM\\ControlSet001";

std::vector<fs::path> fixtureRegFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(test::fixturesDir())) {
        if (entry.is_regular_file() && entry.path().extension() == ".reg") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A registry as an NT machine has it: CurrentControlSet is a link to ControlSet001.
std::unique_ptr<SimRegistry> ntRegistry() {
    auto registry = std::make_unique<SimRegistry>(1252);
    registry->linkKey(RootKey::LocalMachine, kCurrentControlSet, kControlSet001);
    return registry;
}

std::unique_ptr<SimRegistry> loaded(const std::string& relative) {
    auto registry = ntRegistry();
    registry->importFile(test::fixturesDir() / relative);
    return registry;
}

// The lines of a fixture as text; its names are ASCII, so the code page does not matter here.
std::vector<std::string> fixtureLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text = raw;
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') {
        text = narrowUtf16(
            1252,
            utf16FromBytes(reinterpret_cast<const unsigned char*>(raw.data()) + 2, raw.size() - 2));
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// What the export itself says, read without the parser: for each key (under HKLM or HKCU) the
// value names in file order, and for each parent the subkeys in the order the exporting registry
// enumerated them.
struct ExportOutline {
    struct Key {
        RootKey root;
        std::string path;
        std::vector<std::string> values;
    };
    std::vector<Key> keys;
    std::map<std::string, std::pair<Key, std::vector<std::string>>> children;  // by upper path
};

ExportOutline outline(const fs::path& file) {
    ExportOutline result;
    for (const auto& line : fixtureLines(file)) {
        if (!line.empty() && line.front() == '[') {
            std::string full = line.substr(1, line.size() - 2);
            std::size_t slash = full.find('\\');
            RootKey root = full.substr(0, slash) == "HKEY_CURRENT_USER" ? RootKey::CurrentUser
                                                                        : RootKey::LocalMachine;
            std::string path = full.substr(slash + 1);
            result.keys.push_back({root, path, {}});
            std::size_t last = path.rfind('\\');
            if (last != std::string::npos) {
                std::string parent = path.substr(0, last);
                auto& entry = result.children[upper(full.substr(0, slash + 1) + parent)];
                entry.first = {root, parent, {}};
                entry.second.push_back(path.substr(last + 1));
            }
        } else if (line.rfind("@=", 0) == 0) {
            result.keys.back().values.push_back("");
        } else if (!line.empty() && line.front() == '"') {
            result.keys.back().values.push_back(line.substr(1, line.find("\"=") - 1));
        }
    }
    return result;
}

TEST(RegistryFixtures, EveryExportLoadsWithEveryKeyValueAndOrderItWrote) {
    TAMUX_REQUIRE_FIXTURES();
    auto files = fixtureRegFiles();
    ASSERT_GE(files.size(), 6u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        auto registry = ntRegistry();
        ASSERT_NO_THROW(registry->importFile(file));
        ExportOutline expected = outline(file);
        ASSERT_FALSE(expected.keys.empty());

        for (const auto& key : expected.keys) {
            RegKey reader(*registry, key.root, KeyAccess::Read);
            // A name that the code page cannot spell comes out with "?" and, as with
            // RegOpenKeyExA, cannot be opened by that spelling.
            bool spellable = key.path.find('?') == std::string::npos;
            ASSERT_EQ(reader.openKey(key.path), spellable) << key.path;
            if (spellable) {
                EXPECT_EQ(reader.valueNames(), key.values) << key.path;
            }
        }
        // Siblings come back in the order the exporting registry listed them. Windows lists the
        // keys it made volatile at start ("Control" of a device instance) after the stored ones;
        // the simulated registry has no volatile keys and keeps all in one name order, as Wine.
        bool fromWindows = file.string().find("real-xp") != std::string::npos;
        for (auto [name, entry] : expected.children) {
            if (fromWindows) {
                std::sort(
                    entry.second.begin(), entry.second.end(),
                    [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
            }
            RegKey reader(*registry, entry.first.root, KeyAccess::Read);
            ASSERT_TRUE(reader.openKey(entry.first.path)) << entry.first.path;
            EXPECT_EQ(reader.subkeyNames(), entry.second) << entry.first.path;
        }
        EXPECT_EQ(registry->openKeyCount(), 0u);
    }
}

TEST(RegistryFixtures, RealXpValuesReadBackExactly) {
    TAMUX_REQUIRE_FIXTURES();
    auto registry = loaded("real-xp/xppro1-USB.reg");
    RegKey key(*registry, RootKey::LocalMachine, KeyAccess::Read);

    ASSERT_TRUE(key.openKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\ROOT_HUB\\4&13c1814e&0"));
    EXPECT_EQ(key.valueType("HardwareID"), regtype::kMultiSz);
    EXPECT_EQ(key.readBinaryData("HardwareID"),
              bytes(std::string("USB\\ROOT_HUB&VID8086&PID2935&REV0002\0"
                                "USB\\ROOT_HUB&VID8086&PID2935\0"
                                "USB\\ROOT_HUB\0\0",
                                80)));
    EXPECT_EQ(key.readString("Mfg"), "(Contr\xF4leur h\xF4te USB standard)");
    EXPECT_EQ(key.readString("Driver"), "{36FC9E60-C465-11CF-8056-444553540000}\\0013");
    EXPECT_EQ(key.readInteger("Capabilities"), 0x80u);

    // Read through the link's target as well.
    ASSERT_TRUE(key.openKey("SYSTEM\\ControlSet001\\Enum\\USB\\Vid_413c&Pid_2105\\5&19d1ce61&0&1"));
    EXPECT_EQ(key.readString("DeviceDesc"), "P\xE9riph\xE9rique d'interface utilisateur USB");
    EXPECT_EQ(key.readString("Mfg"), "(P\xE9riph\xE9riques syst\xE8me standard)");
    EXPECT_EQ(key.readBinaryData("CompatibleIDs").size(), 72u);

    // Exported keys without values exist, empty.
    ASSERT_TRUE(
        key.openKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\ROOT_HUB\\4&13c1814e&0\\LogConf"));
    EXPECT_TRUE(key.valueNames().empty());
    EXPECT_TRUE(key.subkeyNames().empty());

    ASSERT_TRUE(key.openKey("SYSTEM\\CurrentControlSet\\Enum\\USB"));
    auto hubs = key.subkeyNames();
    ASSERT_EQ(hubs.size(), 18u);
    EXPECT_EQ(hubs.front(), "ROOT_HUB");
    EXPECT_EQ(hubs[1], "ROOT_HUB20");
    EXPECT_EQ(hubs.back(), "Vid_413c&Pid_3012");
}

TEST(RegistryFixtures, WineValuesReadBackExactly) {
    TAMUX_REQUIRE_FIXTURES();
    auto registry = ntRegistry();
    for (const char* file :
         {"wine-8.0/hklm-enum.reg", "wine-8.0/hklm-control-class.reg",
          "wine-8.0/hkcu-control-panel.reg", "wine-8.0/hkcu-keyboard-layout.reg"}) {
        registry->importFile(test::fixturesDir() / file);
    }
    RegKey machine(*registry, RootKey::LocalMachine, KeyAccess::Read);
    const std::string monitor =
        "SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\Default_Monitor\\0000&0000";
    ASSERT_TRUE(
        machine.openKey(monitor + "\\Properties\\{233A9EF3-AFC4-4ABD-B564-C32F21F1535B}\\0002"));
    EXPECT_EQ(machine.valueType(""), 0xFFFF0007u);
    EXPECT_EQ(machine.readBinaryData(""), (std::vector<std::uint8_t>{3, 0, 0, 0}));
    ASSERT_TRUE(
        machine.openKey(monitor + "\\Properties\\{233a9ef3-afc4-4abd-b564-c32f21f1535b}\\0005"));
    EXPECT_EQ(machine.valueType(""), 0xFFFF0012u);
    EXPECT_EQ(machine.readBinaryData("").size(), 26u);

    ASSERT_TRUE(machine.openKey(monitor + "\\Device Parameters"));
    EXPECT_EQ(machine.valueType("BAD_EDID"), regtype::kBinary);
    EXPECT_TRUE(machine.readBinaryData("BAD_EDID").empty());

    ASSERT_TRUE(machine.openKey(monitor));
    EXPECT_EQ(machine.readBinaryData("HardwareID"),
              bytes(std::string("MONITOR\\Default_Monitor\0\0", 25)));

    // A raw value holding UTF-16 text stays raw.
    ASSERT_TRUE(machine.openKey(
        "System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000"));
    auto adapter = machine.readBinaryData("HardwareInformation.AdapterString");
    EXPECT_EQ(adapter.size(), 26u);
    EXPECT_EQ(adapter[0], 'W');
    EXPECT_EQ(adapter[1], 0);
    ASSERT_TRUE(machine.openKey(
        "SYSTEM\\ControlSet001\\Control\\Class\\{4d36e967-e325-11ce-bfc1-08002be10318}"));
    EXPECT_EQ(machine.readString(""), "Disk drives");

    RegKey user(*registry, RootKey::CurrentUser, KeyAccess::AllAccess);
    ASSERT_TRUE(user.openKey("Keyboard Layout\\Preload"));
    EXPECT_EQ(user.valueNames(), (std::vector<std::string>{"1"}));
    EXPECT_EQ(user.readString("1"), "00000409");
    // Ordered by the UTF-16 names as Wine and NT keep them; the emoji name cannot be spelt in
    // code page 1252, so it arrives as question marks and cannot be opened by them.
    ASSERT_TRUE(user.openKey("Control Panel\\International"));
    EXPECT_EQ(user.subkeyNames(), (std::vector<std::string>{"Geo", "??????"}));
    EXPECT_FALSE(user.openKey("Control Panel\\International\\??????"));
    ASSERT_TRUE(user.openKey("Control Panel\\Desktop"));
    EXPECT_EQ(user.readBinaryData("UserPreferencesMask"),
              (std::vector<std::uint8_t>{0x30, 0, 2, 0x80, 0x12, 0, 0, 0}));
    EXPECT_EQ(user.readString("Wallpaper"), "");
    EXPECT_EQ(user.readInteger("ClickLockTime"), 0x4B0u);
}

TEST(RegistryFixtures, XpAndWineExportsShareOneTreeThroughTheLink) {
    TAMUX_REQUIRE_FIXTURES();
    auto registry = ntRegistry();
    for (const auto& file : fixtureRegFiles()) registry->importFile(file);
    RegKey key(*registry, RootKey::LocalMachine, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("SYSTEM\\ControlSet001\\Enum"));
    EXPECT_EQ(key.subkeyNames(), (std::vector<std::string>{"DISPLAY", "HID", "PCI", "ROOT", "USB",
                                                           "USBPRINT", "WINEBUS"}));
}

// One content, written as a Windows 9x REGEDIT4 export (8-bit) and as a Version 5.00 export
// (UTF-16LE, string data of hex(2) and hex(7) in UTF-16).
constexpr std::string_view kRegedit4 =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_046d&Pid_c00e\\5&1]\r\n"
    "\"DeviceDesc\"=\"P\xE9riph\xE9rique d'interface utilisateur USB\"\r\n"
    "\"HardwareID\"=hex(7):55,53,42,5c,56,49,44,00,e9,00,00\r\n"
    "\"Path\"=hex(2):25,53,79,73,25,5c,e8,00\r\n"
    "\"Flags\"=dword:00000010\r\n"
    "\"Bin\"=hex:01,02,03,\\\r\n"
    "  04\r\n"
    "@=\"D\xE9"
    "faut \\\"cit\xE9\\\" \\\\ fin\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
    "\"MouseSpeed\"=\"1\"\r\n"
    "\"Gone\"=\"x\"\r\n"
    "\"Gone\"=-\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Old]\r\n"
    "[-HKEY_CURRENT_USER\\Control Panel\\Old]\r\n"
    "[HKEY_DYN_DATA\\Config Manager\\Enum\\C29A3F40]\r\n"
    "\"HardWareKey\"=\"Root\\\\*PNP0303\\\\0000\"\r\n";

constexpr std::u16string_view kVersion5 =
    u"Windows Registry Editor Version 5.00\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_046d&Pid_c00e\\5&1]\r\n"
    u"\"DeviceDesc\"=\"P\u00e9riph\u00e9rique d'interface utilisateur USB\"\r\n"
    u"\"HardwareID\"=hex(7):55,00,53,00,42,00,5c,00,56,00,49,00,44,00,00,00,e9,00,00,00,00,00\r\n"
    u"\"Path\"=hex(2):25,00,53,00,79,00,73,00,25,00,5c,00,e8,00,00,00\r\n"
    u"\"Flags\"=dword:00000010\r\n"
    u"\"Bin\"=hex:01,02,03,\\\r\n"
    u"  04\r\n"
    u"@=\"D\u00e9faut \\\"cit\u00e9\\\" \\\\ fin\"\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n"
    u"\"MouseSpeed\"=\"1\"\r\n"
    u"\"Gone\"=\"x\"\r\n"
    u"\"Gone\"=-\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Control Panel\\Old]\r\n"
    u"[-HKEY_CURRENT_USER\\Control Panel\\Old]\r\n"
    u"[HKEY_DYN_DATA\\Config Manager\\Enum\\C29A3F40]\r\n"
    u"\"HardWareKey\"=\"Root\\\\*PNP0303\\\\0000\"\r\n";

std::string everything(SimRegistry& registry) {
    return test::dumpTree(registry, RootKey::LocalMachine, "") +
           test::dumpTree(registry, RootKey::CurrentUser, "") +
           test::dumpTree(registry, RootKey::DynData, "");
}

TEST(RegistryExportFormats, Regedit4AndVersion5GiveTheSameAnswers) {
    auto four = ntRegistry();
    auto five = ntRegistry();
    four->importText(kRegedit4, "four.reg");
    five->importText(test::utf16File(kVersion5), "five.reg");
    EXPECT_EQ(everything(*four), everything(*five));

    RegKey key(*five, RootKey::LocalMachine, KeyAccess::Read);
    ASSERT_TRUE(key.openKey("SYSTEM\\ControlSet001\\Enum\\USB\\Vid_046d&Pid_c00e\\5&1"));
    EXPECT_EQ(key.readString("DeviceDesc"), "P\xE9riph\xE9rique d'interface utilisateur USB");
    EXPECT_EQ(key.readBinaryData("HardwareID"), bytes(std::string("USB\\VID\0\xE9\0\0", 11)));
    EXPECT_EQ(key.readString("Path"), "%Sys%\\\xE8");
    EXPECT_EQ(key.readString(""),
              "D\xE9"
              "faut \"cit\xE9\" \\ fin");
    EXPECT_EQ(key.readBinaryData("Bin"), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(key.valueNames(),
              (std::vector<std::string>{"DeviceDesc", "HardwareID", "Path", "Flags", "Bin", ""}));

    RegKey user(*five, RootKey::CurrentUser, KeyAccess::Read);
    ASSERT_TRUE(user.openKey("Control Panel"));
    EXPECT_EQ(user.subkeyNames(), (std::vector<std::string>{"Mouse"}));
    ASSERT_TRUE(user.openKey("Control Panel\\Mouse"));
    EXPECT_EQ(user.valueNames(), (std::vector<std::string>{"MouseSpeed"}));

    RegKey dyn(*five, RootKey::DynData, KeyAccess::Read);
    ASSERT_TRUE(dyn.openKey("Config Manager\\Enum\\C29A3F40"));
    EXPECT_EQ(dyn.readString("HardWareKey"), "Root\\*PNP0303\\0000");
}

}  // namespace
}  // namespace tamux::sim
