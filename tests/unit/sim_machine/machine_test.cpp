// Machines loaded from folders: machine.json, the registry files in order, links and denials,
// and every service reachable, and breakable, through the machine.
#include "platform/sim/machine.h"

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/reg_key.h"
#include "platform/sim/path_map.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "tests/support/test_paths.h"

namespace tamux::sim {
namespace {

namespace fs = std::filesystem;
using platform::KeyAccess;
using platform::RootKey;
using ::testing::HasSubstr;

void writeText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string regFile(const std::string& body) {
    return "REGEDIT4\r\n\r\n" + body;
}

// The string value `name` of a key, or "(missing)".
std::string readString(Machine& machine, RootKey root, const std::string& path,
                       const std::string& name) {
    RegKey key(machine.registry(), root, KeyAccess::Read);
    if (!key.openKey(path)) return "(missing)";
    if (!key.valueExists(name)) return "(missing)";
    return key.readString(name);
}

long openStatus(Machine& machine, RootKey root, const std::string& path, KeyAccess access) {
    platform::Registry::Key key = 0;
    const long status = machine.registry().openKey(root, path, access, key);
    machine.registry().closeKey(key);
    return status;
}

class MachineTest : public ::testing::Test {
  protected:
    fs::path machineDir() const { return folder_.path() / "machines" / "m"; }
    std::unique_ptr<Machine> load() { return Machine::load(machineDir(), drive_.path()); }

    test::TempDir folder_, drive_;
};

TEST_F(MachineTest, BlankMachineHasTheDefaultsAndAnEmptyRegistry) {
    auto machine = Machine::blank(drive_.path());
    platform::Platform p = machine->platform();
    platform::OsVersionInfo info;
    ASSERT_TRUE(p.system.getVersionEx(info));
    EXPECT_EQ(info.majorVersion, 5u);
    EXPECT_EQ(p.system.ansiCodePage(), 1252u);
    EXPECT_EQ(p.clock.formatShortDate(p.clock.localTime()), "1/15/2026");
    std::uint32_t needed = 1;
    std::vector<platform::PrinterInfo2> printers;
    EXPECT_TRUE(p.spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, printers));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(openStatus(*machine, RootKey::CurrentUser, "Control Panel", KeyAccess::Read),
              platform::status::kFileNotFound);
}

TEST_F(MachineTest, ServicesWorkOnTheDriveRelativeToTheCurrentDirectory) {
    auto machine = Machine::blank(drive_.path());
    const fs::path programDir = drive_.path() / "Program Files" / "Zorv Info" / "Tamux";
    fs::create_directories(programDir);
    platform::Platform p = machine->platform();

    ASSERT_TRUE(p.profile.writeString("tamux.ini", "Options", "RunLang", "EN"));
    EXPECT_TRUE(fs::exists(programDir / "tamux.ini"));
    EXPECT_TRUE(p.files.fileExists("C:\\PROGRAM FILES\\zorv info\\Tamux\\TAMUX.INI"));
    EXPECT_EQ(machine->hostPath("..\\Zmail\\report.txt"),
              drive_.path() / "Program Files" / "Zorv Info" / "Zmail" / "report.txt");

    machine->system().setCurrentDirectory("C:\\");
    EXPECT_EQ(machine->hostPath("tamux.ini"), drive_.path() / "tamux.ini");
    EXPECT_EQ(p.profile.getString("tamux.ini", "Options", "RunLang", "<Error>", 2048), "<Error>");

    // Another drive answers once it is given a folder.
    test::TempDir other;
    EXPECT_TRUE(machine->hostPath("D:\\x").empty());
    machine->paths().mapDrive('D', other.path());
    EXPECT_EQ(machine->hostPath("D:\\x"), other.path() / "x");
}

TEST_F(MachineTest, FailuresInjectedThroughTheMachineReachThePlatform) {
    auto machine = Machine::blank(drive_.path());
    platform::Platform p = machine->platform();

    machine->keyboard().setGetStateFails(true);
    platform::KeyboardStateBuffer state{};
    EXPECT_FALSE(p.keyboard.getKeyboardState(state));

    machine->system().setVersionFails(true);
    platform::OsVersionInfo info;
    EXPECT_FALSE(p.system.getVersionEx(info));

    machine->shell().queueResult(2);
    EXPECT_EQ(p.shell.shellExecute("open", "http://x.invalid", "", "", 1), 2);
    EXPECT_EQ(p.shell.lastError(), 2u);

    machine->profile().setWritesFail(true);
    EXPECT_FALSE(p.profile.writeString("C:\\a.ini", "S", "K", "V"));

    machine->spooler().setEnumFails(true);
    std::uint32_t needed = 0;
    std::vector<platform::PrinterInfo2> printers;
    EXPECT_FALSE(p.spooler.enumPrinters(platform::kPrinterEnumLocal, 100, needed, printers));

    machine->dialogs().queueMessageBoxAnswer(platform::mb::kIdNo);
    EXPECT_EQ(p.dialogs.messageBox("?", "", platform::mb::kYesNo), platform::mb::kIdNo);

    machine->registry().denyAllAccess(RootKey::CurrentUser);
    machine->registry().createKey(RootKey::CurrentUser, "Control Panel\\Mouse");
    EXPECT_EQ(
        openStatus(*machine, RootKey::CurrentUser, "Control Panel\\Mouse", KeyAccess::AllAccess),
        platform::status::kAccessDenied);
}

// One setting says which program runs: the loader takes that architecture's modules and the
// spooler counts that architecture's records.
TEST_F(MachineTest, TheProgramsArchitectureReachesTheLoaderAndTheSpooler) {
    auto machine = Machine::blank(drive_.path());
    fs::copy_file(TAMUX_STRINGS_DLL, drive_.path() / "strings.dll");
    fs::copy_file(TAMUX_STRINGS64_DLL, drive_.path() / "strings64.dll");
    SimPrinter printer;
    printer.info.printerName = "Laser";
    machine->spooler().addPrinter(printer);
    platform::Platform p = machine->platform();

    const struct {
        ProgramArchitecture architecture;
        const char* ownModule;
        const char* otherModule;
        std::uint32_t recordSize;
    } cases[] = {{ProgramArchitecture::I386, "C:\\strings.dll", "C:\\strings64.dll", 84},
                 {ProgramArchitecture::X86_64, "C:\\strings64.dll", "C:\\strings.dll", 136}};
    for (const auto& c : cases) {
        machine->setProgramArchitecture(c.architecture);
        EXPECT_EQ(machine->programArchitecture(), c.architecture);
        const auto own = p.modules.loadLibrary(c.ownModule);
        EXPECT_NE(own, 0u) << c.ownModule;
        EXPECT_EQ(p.modules.loadLibrary(c.otherModule), 0u) << c.otherModule;
        p.modules.freeLibrary(own);

        std::uint32_t needed = 0;
        std::vector<platform::PrinterInfo2> printers;
        EXPECT_FALSE(p.spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, printers));
        EXPECT_EQ(needed, c.recordSize + sizeof "Laser") << c.recordSize;
    }
}

TEST_F(MachineTest, LoadsMachineJsonAndTheRegistryFilesInNameOrder) {
    writeText(machineDir() / "machine.json", R"({
        "description": "test machine",
        "version": {"platformId": 1, "major": 4, "minor": 10, "build": 2222, "csd": " A "},
        "systemLanguage": 1031,
        "lockKeys": {"capsLock": true},
        "executable": "C:\\Suite\\Tamux\\tamux.exe",
        "printers": [{"printerName": "Laser", "deviceCaps": {"LOGPIXELSY": 600}}]
    })");
    // b.reg is loaded after a.reg and wins; c.REG counts too.
    writeText(machineDir() / "registry" / "b.reg",
              regFile("[HKEY_CURRENT_USER\\Keyboard Layout]\r\n\"Order\"=\"b\"\r\n"));
    writeText(machineDir() / "registry" / "a.reg",
              regFile("[HKEY_CURRENT_USER\\Keyboard Layout]\r\n\"Order\"=\"a\"\r\n"
                      "\"OnlyA\"=\"kept\"\r\n"));
    writeText(machineDir() / "registry" / "c.REG",
              regFile("[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"Speed\"=\"1\"\r\n"));
    writeText(machineDir() / "registry" / "notes.txt", "not a registry file");

    auto machine = load();
    EXPECT_EQ(machine->description(), "test machine");
    EXPECT_EQ(machine->system().systemDefaultLangId(), 1031);
    EXPECT_EQ(machine->system().currentDirectory(), "C:\\Suite\\Tamux");
    EXPECT_TRUE(machine->keyboard().isToggled(kVkCapital));
    EXPECT_EQ(readString(*machine, RootKey::CurrentUser, "Keyboard Layout", "Order"), "b");
    EXPECT_EQ(readString(*machine, RootKey::CurrentUser, "Keyboard Layout", "OnlyA"), "kept");
    EXPECT_EQ(readString(*machine, RootKey::CurrentUser, "Control Panel\\Mouse", "Speed"), "1");

    auto& spooler = machine->spooler();
    const auto dc = spooler.createDC("LASER");
    EXPECT_EQ(spooler.getDeviceCaps(dc, 90), 600);
    spooler.deleteDC(dc);
    // No CurrentControlSet link on the 9x family.
    machine->registry().setString(RootKey::LocalMachine, "SYSTEM\\ControlSet001\\X", "V", "1");
    EXPECT_EQ(readString(*machine, RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\X", "V"),
              "(missing)");
}

TEST_F(MachineTest, RegistryFromOtherMachinesComesFirst) {
    writeText(folder_.path() / "machines" / "base" / "registry" / "z.reg",
              regFile("[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"Speed\"=\"base\"\r\n"
                      "\"Base\"=\"yes\"\r\n"));
    writeText(machineDir() / "machine.json", R"({"registry": {"from": ["../base/registry"]}})");
    writeText(machineDir() / "registry" / "a.reg",
              regFile("[HKEY_CURRENT_USER\\Control Panel\\Mouse]\r\n\"Speed\"=\"own\"\r\n"));
    auto machine = load();
    EXPECT_EQ(readString(*machine, RootKey::CurrentUser, "Control Panel\\Mouse", "Speed"), "own");
    EXPECT_EQ(readString(*machine, RootKey::CurrentUser, "Control Panel\\Mouse", "Base"), "yes");
}

TEST_F(MachineTest, NtLinksLimitedAccountAndDeniedKeys) {
    writeText(machineDir() / "machine.json", R"({"registry": {
        "limitedAccount": true,
        "deniedKeys": ["HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Enum\\Root"]}})");
    writeText(machineDir() / "registry" / "enum.reg",
              regFile("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB]\r\n"
                      "\"Via\"=\"current\"\r\n"
                      "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Enum\\Root]\r\n"
                      "\"x\"=\"y\"\r\n"));
    auto machine = load();
    // The export written through CurrentControlSet is the same key as ControlSet001's.
    EXPECT_EQ(
        readString(*machine, RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB", "Via"),
        "current");
    EXPECT_EQ(openStatus(*machine, RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB",
                         KeyAccess::AllAccess),
              platform::status::kAccessDenied);
    EXPECT_EQ(openStatus(*machine, RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\USB",
                         KeyAccess::Read),
              platform::status::kSuccess);
    EXPECT_EQ(openStatus(*machine, RootKey::LocalMachine, "SYSTEM\\ControlSet001\\Enum\\Root",
                         KeyAccess::Read),
              platform::status::kAccessDenied);
    EXPECT_EQ(machine->registry().openKeyCount(), 0u);
}

TEST_F(MachineTest, MalformedInputIsReportedWithItsFile) {
    EXPECT_THROW(Machine::load(folder_.path() / "nowhere", drive_.path()), Error);

    writeText(machineDir() / "machine.json", R"({"screenDpi": "big"})");
    try {
        load();
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("machine.json: member 'screenDpi'"));
    }

    writeText(machineDir() / "machine.json", "{}");
    writeText(machineDir() / "registry" / "bad.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\X\r\n");
    EXPECT_THROW(load(), RegFileError);

    writeText(machineDir() / "registry" / "bad.reg", "REGEDIT4\r\n");
    writeText(machineDir() / "machine.json", R"({"registry": {"from": ["../missing"]}})");
    try {
        load();
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("member 'registry.from'"));
    }
}

// Every sample machine of the project loads.
TEST(SampleMachines, EveryFolderLoads) {
    const fs::path samples = test::sourceDir() / "samples" / "machines";
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (!entry.is_directory()) continue;
        test::TempDir drive;
        SCOPED_TRACE(entry.path().string());
        std::unique_ptr<Machine> machine;
        ASSERT_NO_THROW(machine = Machine::load(entry.path(), drive.path()));
        platform::OsVersionInfo info;
        machine->system().getVersionEx(info);
        ++loaded;
    }
    if (loaded == 0) GTEST_SKIP() << "no sample machines yet";
}

}  // namespace
}  // namespace tamux::sim
