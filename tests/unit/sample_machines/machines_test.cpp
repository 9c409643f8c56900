// Every sample machine loads, answers as the Windows it stands for, and is listed in the README.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "registry/win_version.h"
#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

struct MachineRow {
    const char* name;
    WinVersion code;
    std::uint16_t language;
    unsigned codePage;
    std::vector<std::string> printers;
};

const std::vector<MachineRow>& machineRows() {
    static const std::vector<MachineRow> rows = {
        {"winxp", WinVersion::WinXp, 1033, 1252, {"HP LaserJet P2015DN", "Fax"}},
        {"winxp-user", WinVersion::WinXp, 1033, 1252, {"HP LaserJet P2015DN", "Fax"}},
        {"win95", WinVersion::Win95Osr2, 1033, 1252, {"HP LaserJet 4L", "Epson LQ-570"}},
        {"win98se", WinVersion::Win98Se, 1031, 1252, {"Canon Bubble-Jet BJC-4300"}},
        {"winme", WinVersion::WinMe, 1049, 1251, {"Epson Stylus COLOR 680"}},
        {"nt4",
         WinVersion::WinNt4,
         1033,
         1252,
         {"HP LaserJet 5Si", "Generic / Text Only", "Accounts LaserJet"}},
        {"win2000", WinVersion::Win2000, 1029, 1250, {"HP DeskJet 895C", "HP LaserJet 1200"}},
        {"vista", WinVersion::Other, 1033, 1252, {"Microsoft XPS Document Writer"}},
        {"empty", WinVersion::WinXp, 1033, 1252, {}},
    };
    return rows;
}

std::vector<std::string> printerNames(sim::Machine& machine) {
    platform::Spooler& spooler = machine.platform().spooler;
    std::uint32_t needed = 0;
    std::vector<platform::PrinterInfo2> printers;
    spooler.enumPrinters(platform::kPrinterEnumLocal, 0, needed, printers);
    EXPECT_TRUE(spooler.enumPrinters(platform::kPrinterEnumLocal, needed, needed, printers));
    std::vector<std::string> names;
    for (const auto& p : printers) names.push_back(p.printerName.value_or("<null>"));
    return names;
}

TEST(SampleMachines, EveryFolderHasARowAndEveryRowAFolder) {
    std::vector<std::string> rows;
    for (const MachineRow& row : machineRows()) rows.push_back(row.name);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(sampleMachineNames(), rows);
}

TEST(SampleMachines, EachLoadsAndAnswersAsItsWindows) {
    for (const MachineRow& row : machineRows()) {
        SCOPED_TRACE(row.name);
        SampleMachine sample(row.name);
        platform::System& system = sample.machine().platform().system;
        EXPECT_EQ(static_cast<int>(getWinVersion(system)), static_cast<int>(row.code));
        EXPECT_EQ(system.systemDefaultLangId(), row.language);
        EXPECT_EQ(system.ansiCodePage(), row.codePage);
        EXPECT_EQ(printerNames(sample.machine()), row.printers);
        EXPECT_FALSE(sample.machine().description().empty());
    }
}

// The walks that run are decided by the family predicates; each walk has a machine of its own.
TEST(SampleMachines, EveryWalkHasAMachineAndNt6HasNone) {
    int win2000 = 0, xp = 0, win9x = 0, win95 = 0, nt4 = 0, noWalk = 0;
    for (const MachineRow& row : machineRows()) {
        if (std::string(row.name) == "empty") continue;
        SampleMachine sample(row.name);
        platform::System& system = sample.machine().platform().system;
        win2000 += isWin2000(system);
        xp += isWinXP(system);
        win9x += isWin9x(system);
        win95 += isWin95(system);
        nt4 += getWinVersion(system) == WinVersion::WinNt4;
        noWalk += !isWinNT(system) && !isWin9x(system);
    }
    EXPECT_EQ(win2000, 1);
    EXPECT_EQ(xp, 2);
    EXPECT_EQ(win9x, 3);
    EXPECT_EQ(win95, 1);
    EXPECT_EQ(nt4, 1);
    EXPECT_EQ(noWalk, 1);
}

TEST(SampleMachines, TheEmptyMachineHasOnlyDefaultsAndNoRegistry) {
    SampleMachine sample("empty");
    EXPECT_FALSE(std::filesystem::exists(samplesDir() / "empty" / "registry"));
    // Only the CurrentControlSet link of an NT machine is there.
    EXPECT_FALSE(
        sample.keyExists(platform::RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum"));
    EXPECT_TRUE(sample.subkeys(platform::RootKey::CurrentUser, "").empty());
    EXPECT_TRUE(sample.subkeys(platform::RootKey::DynData, "").empty());
    platform::OsVersionInfo info;
    ASSERT_TRUE(sample.machine().platform().system.getVersionEx(info));
    EXPECT_EQ(info.buildNumber, 2600u);
}

// A limited account opens HKEY_LOCAL_MACHINE keys for reading but not with all access; its own
// HKEY_CURRENT_USER opens either way.
TEST(SampleMachines, TheLimitedAccountCannotOpenMachineKeysWithAllAccess) {
    const char* path = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts\\00000409";
    for (const char* name : {"winxp", "winxp-user"}) {
        SCOPED_TRACE(name);
        SampleMachine sample(name);
        platform::Registry& registry = sample.registry();
        const bool limited = std::string(name) == "winxp-user";
        platform::Registry::Key key = 0;
        EXPECT_EQ(registry.openKey(platform::RootKey::LocalMachine, path,
                                   platform::KeyAccess::AllAccess, key),
                  limited ? platform::status::kAccessDenied : platform::status::kSuccess);
        registry.closeKey(key);
        EXPECT_TRUE(sample.keyExists(platform::RootKey::LocalMachine, path));
        EXPECT_EQ(registry.openKey(platform::RootKey::CurrentUser, "Control Panel\\Mouse",
                                   platform::KeyAccess::AllAccess, key),
                  platform::status::kSuccess);
        registry.closeKey(key);
    }
}

TEST(SampleMachines, TheReadmeTableListsEveryMachine) {
    std::ifstream in(samplesDir() / "README.md");
    std::stringstream text;
    text << in.rdbuf();
    for (const std::string& name : sampleMachineNames()) {
        EXPECT_NE(text.str().find("| `" + name + "` |"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace tamux::test
