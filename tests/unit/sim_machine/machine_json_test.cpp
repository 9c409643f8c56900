// machine.json: defaults for what is missing, values for what is there, clear errors otherwise.
#include "platform/sim/machine_json.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamux::sim {
namespace {

using ::testing::StartsWith;

MachineConfig parse(const std::string& text) {
    return parseMachineJson(text, "m/machine.json");
}

// The message of the error that parsing `text` raises.
std::string errorOf(const std::string& text) {
    try {
        parse(text);
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(MachineJson, EmptyObjectGivesTheDefaults) {
    const MachineConfig c = parse("{}");
    EXPECT_EQ(c.system.version.platformId, 2u);
    EXPECT_EQ(c.system.version.majorVersion, 5u);
    EXPECT_EQ(c.system.version.minorVersion, 1u);
    EXPECT_EQ(c.system.version.buildNumber, 2600u);
    EXPECT_STREQ(c.system.version.csdVersion.data(), "Service Pack 2");
    EXPECT_FALSE(c.system.versionFails);
    EXPECT_EQ(c.system.systemLanguage, 1033);
    EXPECT_EQ(c.system.ansiCodePage, 1252u);
    EXPECT_EQ(c.system.keyboardType, (std::array<int, 3>{4, 0, 12}));
    EXPECT_EQ(c.system.screenDpi, 96);
    EXPECT_EQ(c.system.executable, "C:\\Program Files\\Zorv Info\\Tamux\\tamux.exe");
    EXPECT_FALSE(c.lockKeys.capsLock || c.lockKeys.numLock || c.lockKeys.insert);
    EXPECT_FALSE(c.registry.links.has_value());
    EXPECT_FALSE(c.registry.limitedAccount);
    EXPECT_TRUE(c.printers.empty());
    EXPECT_EQ(c.clock.now.year, 2026);
    EXPECT_EQ(c.clock.now.hour, 9);
    EXPECT_EQ(c.clock.shortDate, "M/d/yyyy");
    EXPECT_EQ(c.clock.longTime, "h:mm:ss tt");
}

TEST(MachineJson, ReadsEveryMember) {
    const MachineConfig c = parse(R"({
        "description": "Windows 98 SE, German",
        "version": {"platformId": 1, "major": 4, "minor": 10, "build": "0x040A08AE", "csd": " A "},
        "systemLanguage": "0x0407",
        "ansiCodePage": 1252,
        "keyboardType": [4, 0, 12],
        "lockKeys": {"numLock": true, "insert": true},
        "screenDpi": 120,
        "executable": "C:\\Zorv Info\\Tamux\\tamux.exe",
        "currentDirectory": "C:\\Zorv Info",
        "registry": {"from": ["../base/registry"],
                     "links": [["HKLM\\SYSTEM\\CurrentControlSet", "HKLM\\SYSTEM\\ControlSet002"]],
                     "limitedAccount": true,
                     "deniedKeys": ["HKEY_LOCAL_MACHINE\\SOFTWARE\\Secret\\"]},
        "printers": [{"printerName": "Drucker \u00fc", "shareName": null, "portName": "LPT1:",
                      "attributes": "0x240", "jobs": 3, "averagePPM": 12,
                      "deviceCaps": {"HORZSIZE": 203, "NUMCOLORS": -1, "TEXTCAPS": "0x10000"},
                      "paperNames": null, "createDcFails": true}],
        "clock": {"now": "2004-02-29 23:59:58", "shortDate": "dd.MM.yyyy", "longTime": "HH:mm:ss",
                  "am": "", "pm": ""}
    })");
    EXPECT_EQ(c.description, "Windows 98 SE, German");
    EXPECT_EQ(c.system.version.platformId, 1u);
    EXPECT_EQ(c.system.version.buildNumber, 0x040A08AEu);
    EXPECT_STREQ(c.system.version.csdVersion.data(), " A ");
    EXPECT_EQ(c.system.systemLanguage, 0x0407);
    EXPECT_TRUE(c.lockKeys.numLock);
    EXPECT_TRUE(c.lockKeys.insert);
    EXPECT_FALSE(c.lockKeys.capsLock);
    EXPECT_EQ(c.system.screenDpi, 120);
    EXPECT_EQ(c.system.currentDirectory, "C:\\Zorv Info");
    EXPECT_EQ(c.registry.from, std::vector<std::string>{"../base/registry"});
    ASSERT_TRUE(c.registry.links.has_value());
    ASSERT_EQ(c.registry.links->size(), 1u);
    EXPECT_EQ((*c.registry.links)[0].link.root, platform::RootKey::LocalMachine);
    EXPECT_EQ((*c.registry.links)[0].target.path, "SYSTEM\\ControlSet002");
    EXPECT_TRUE(c.registry.limitedAccount);
    ASSERT_EQ(c.registry.deniedKeys.size(), 1u);
    EXPECT_EQ(c.registry.deniedKeys[0].path, "SOFTWARE\\Secret");

    ASSERT_EQ(c.printers.size(), 1u);
    const SimPrinter& p = c.printers[0];
    EXPECT_EQ(p.info.printerName, "Drucker \xFC");  // UTF-8 in the file, code page 1252 here
    EXPECT_FALSE(p.info.shareName.has_value());
    EXPECT_FALSE(p.info.comment.has_value());  // a missing member is null too
    EXPECT_EQ(p.info.attributes, 0x240u);
    EXPECT_EQ(p.info.averagePpm, 12u);
    EXPECT_EQ(p.deviceCaps.at(4), 203);
    EXPECT_EQ(p.deviceCaps.at(24), -1);
    EXPECT_EQ(p.deviceCaps.at(34), 0x10000);
    EXPECT_FALSE(p.paperNames.has_value());
    EXPECT_TRUE(p.createDcFails);

    EXPECT_EQ(c.clock.now.day, 29);
    EXPECT_EQ(c.clock.now.dayOfWeek, 0);  // a Sunday
    EXPECT_EQ(c.clock.shortDate, "dd.MM.yyyy");
}

TEST(MachineJson, TextsArriveInTheMachinesCodePage) {
    const MachineConfig c = parse(R"({"ansiCodePage": 1251,
        "printers": [{"printerName": "\u041f\u0440\u0438\u043d\u0442\u0435\u0440"}]})");
    EXPECT_EQ(c.printers[0].info.printerName, "\xCF\xF0\xE8\xED\xF2\xE5\xF0");
    EXPECT_NE(errorOf(R"({"ansiCodePage": 1252, "description": "\u041f"})")
                  .find("member 'description': the text has characters that code page 1252"),
              std::string::npos);
}

TEST(MachineJson, ErrorsNameTheFileAndTheMember) {
    EXPECT_EQ(errorOf(R"({"version": {"major": "five"}})"),
              "m/machine.json: member 'version.major': expected a number or a text such as "
              "\"0x0407\", got \"five\"");
    EXPECT_EQ(errorOf(R"({"printers": [{}, {"jobs": -1}]})"),
              "m/machine.json: member 'printers[1].jobs': number -1 outside 0..4294967295");
    EXPECT_EQ(errorOf(R"({"lockkeys": {}})"),
              "m/machine.json: member 'lockkeys': not a member of the machine description");
    EXPECT_EQ(errorOf(R"({"printers": [{"deviceCaps": {"HORZRESX": 1}}]})"),
              "m/machine.json: member 'printers[0].deviceCaps.HORZRESX': not a GetDeviceCaps "
              "index name");
    EXPECT_EQ(errorOf(R"({"clock": {"now": "2026-02-30 10:00:00"}})"),
              "m/machine.json: member 'clock.now': no such day: \"2026-02-30 10:00:00\"");
    EXPECT_EQ(errorOf(R"({"ansiCodePage": 437})"),
              "m/machine.json: member 'ansiCodePage': expected 1250, 1251 or 1252");
    EXPECT_EQ(errorOf(R"({"lockKeys": {"capsLock": 1}})"),
              "m/machine.json: member 'lockKeys.capsLock': expected true or false");
    EXPECT_THAT(errorOf(R"({"registry": {"deniedKeys": ["HKEY_USERS\\x"]}})"),
                StartsWith("m/machine.json: member 'registry.deniedKeys[0]': expected a key path"));
    EXPECT_THAT(errorOf(R"({"executable": "tamux.exe"})"),
                StartsWith("m/machine.json: member 'executable': expected a full path"));
    EXPECT_EQ(errorOf(R"({"keyboardType": [4, 0]})"),
              "m/machine.json: member 'keyboardType': expected three numbers");
    EXPECT_EQ(errorOf(R"({"version": {"csd": ")" + std::string(128, 'x') + "\"}}"),
              "m/machine.json: member 'version.csd': longer than the 127 characters of the "
              "record");
    EXPECT_EQ(errorOf(R"({"printers": [{"paperNames": ["A4", ")" + std::string(65, 'p') + "\"]}]}"),
              "m/machine.json: member 'printers[0].paperNames[1]': longer than the 64 characters "
              "of a paper-name slot");
    EXPECT_EQ(errorOf("[]"), "m/machine.json: member '': the file must hold one object");
    EXPECT_THAT(errorOf("{\"description\": "), StartsWith("m/machine.json: not valid JSON: "));
}

TEST(RegistryPaths, SplitRootAndPath) {
    const auto p = splitRegistryPath("hkey_current_user\\Control Panel\\Mouse");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->root, platform::RootKey::CurrentUser);
    EXPECT_EQ(p->path, "Control Panel\\Mouse");
    EXPECT_EQ(splitRegistryPath("HKEY_DYN_DATA")->path, "");
    EXPECT_EQ(splitRegistryPath("HKEY_DYN_DATA")->root, platform::RootKey::DynData);
    EXPECT_FALSE(splitRegistryPath("HKEY_CLASSES_ROOT\\x").has_value());
    EXPECT_TRUE(defaultRegistryLinks(platform::platform_id::kWindows).empty());
    EXPECT_EQ(defaultRegistryLinks(platform::platform_id::kNt).at(0).link.path,
              "SYSTEM\\CurrentControlSet");
}

}  // namespace
}  // namespace tamux::sim
