// The device work of the start-up -- readDeviceTable and the "Keyboard" and "Mouse" database
// lookups, deciphering every line of the shipped databases -- on the large simulated Windows XP,
// side by side with lspci resolving the same PCI ids from the same pci.ids, in turn, round by
// round. Prints both times, their ratio pair by pair, the memory each needed, whether the two name
// every PCI device alike, and whether any deciphered database line is left in memory afterwards.
//
//   bench_lookup [--rounds N] [--lspci PATH] [--pci N] [--input N] [--other N]
//   bench_lookup --once        the work once, nothing else (to time the whole process)
//   bench_lookup --setup-only  only the machine, to subtract from the above
//   bench_lookup --write-dump FILE   the dump of the PCI ids for lspci -F, nothing else
//
// Exit status 0 when the names agree and nothing deciphered is left; 1 otherwise.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "bench/bench_machine.h"
#include "bench/id_picks.h"
#include "bench/measure.h"
#include "bench/memory_scan.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_parallel.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/device_database.h"
#include "registry/enum_devices.h"
#include "tools/dbgen/database_writer.h"
#include "tools/dbgen/id_lists.h"

namespace {

namespace fs = std::filesystem;
using namespace tamux;
using namespace tamux::bench;

struct StartupDeviceWork {
    double enumMs = 0, lookupMs = 0;
};

// What formCreate does with the device table, timed step by step.
StartupDeviceWork runDeviceWork(BenchMachine& bench, DeviceTable& table) {
    sim::Machine& machine = bench.machine();
    StartupDeviceWork work;
    const Clock::time_point start = Clock::now();
    Clock::time_point enumerated;
    {
        // As formCreate: other.txt deciphered beside the walk, shared by the two lookups, wiped
        // after the second.
        DeviceDatabaseLookups lookups(machine.registry(), machine.system(), bench.files(),
                                      {"Keyboard", "Mouse"}, "", &machine.parallel());
        DeviceTableReading reading(machine.registry(), machine.system(), table);
        lookups.readBeside(reading);
        reading.finish();
        work.enumMs = millisecondsSince(start);
        enumerated = Clock::now();
        lookups.lookUp(table, "Keyboard");
        lookups.lookUp(table, "Mouse");
    }
    work.lookupMs = millisecondsSince(enumerated);
    return work;
}

// The blocks of `lspci -vmm`: "Name:\tvalue" lines, a blank line after each device.
std::map<std::string, std::map<std::string, std::string>> lspciBlocks(const std::string& text) {
    std::map<std::string, std::map<std::string, std::string>> bySlot;
    std::istringstream in(text);
    std::map<std::string, std::string> block;
    std::string line;
    auto flush = [&] {
        if (!block.empty()) bySlot[block["Slot"]] = block;
        block.clear();
    };
    while (std::getline(in, line)) {
        if (line.empty()) {
            flush();
            continue;
        }
        const auto tab = line.find(":\t");
        if (tab != std::string::npos) block[line.substr(0, tab)] = line.substr(tab + 2);
    }
    flush();
    return bySlot;
}

// How many PCI records carry the names lspci gives the same ids (in the databases' spelling).
std::size_t countAgreeing(const DeviceTable& table, const std::vector<PciPick>& picks,
                          const std::string& lspciOutput, std::size_t& resolved) {
    std::map<std::string, const DeviceEntry*> byPath;
    for (const DeviceEntry& d : table) byPath[d.keyPath] = &d;
    auto bySlot = lspciBlocks(dbgen::utf8ToCp1252(lspciOutput));
    std::size_t agree = 0, shown = 0;
    resolved = 0;
    for (std::size_t i = 0; i < picks.size(); ++i) {
        auto record = byPath.find(BenchMachine::pciInstancePath(picks[i], i));
        if (record == byPath.end()) continue;
        const DeviceEntry& d = *record->second;
        if (!d.displayName.empty()) ++resolved;
        auto& block = bySlot[PciSlot(i)];
        const std::string device = picks[i].subvendor.empty() ? block["Device"] : block["SDevice"];
        const std::string expected = dbgen::deviceLine("", device).substr(1);
        std::string vendor = dbgen::vendorLineOf("", "", block["Vendor"]);
        vendor = vendor.substr(vendor.find(".=") + 2);
        if (d.DeviceName == expected && d.vendorName == vendor) {
            ++agree;
        } else if (++shown <= 5) {
            std::cout << "differs: " << d.hardwareID.substr(0, 40) << " ours \"" << d.vendorName
                      << "\" \"" << d.DeviceName << "\", lspci \"" << vendor << "\" \"" << expected
                      << "\"\n";
        }
    }
    return agree;
}

// A deciphered line of the first pick in its "key=name" form, as the database holds it.
std::string decipheredLineOf(const PciPick& pick) {
    if (pick.subvendor.empty()) return "VEN_" + pick.vendor + "&DEV_" + pick.device + "=";
    return pick.vendor + pick.device + " SUBSYS " + pick.subdevice + pick.subvendor + "=";
}

}  // namespace

int main(int argc, char** argv) try {
    ProgramRunner runner;
    LargeMachineSize size;
    size.pci = intOption(argc, argv, "--pci", size.pci);
    size.input = intOption(argc, argv, "--input", size.input);
    size.other = intOption(argc, argv, "--other", size.other);
    const int rounds = std::max(1, intOption(argc, argv, "--rounds", 9));
    const std::string lspci = textOption(argc, argv, "--lspci", "lspci");

    const std::vector<PciPick> picks = pickPciDevices(TAMUX_HWDATA_DIR, size.pci);
    const std::string dumpFile = textOption(argc, argv, "--write-dump", "");
    if (!dumpFile.empty()) {
        std::ofstream(dumpFile) << lspciDump(picks);
        return 0;
    }
    BenchMachine bench;
    bench.addDevices(picks, pickInputDevices(TAMUX_HWDATA_DIR, size.input), size.other);
    if (flagOption(argc, argv, "--setup-only")) return 0;
    DeviceTable table;
    if (flagOption(argc, argv, "--once")) {
        runDeviceWork(bench, table);
        return table.empty() ? 1 : 0;
    }

    const fs::path work =
        fs::temp_directory_path() / ("tamux-bench-lspci-" + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path dump = work / "dump.txt", listing = work / "lspci.txt";
    { std::ofstream(dump) << lspciDump(picks); }
    const fs::path pciIds = fs::path(TAMUX_HWDATA_DIR) / "pci.ids";

    std::cout << "machine: the default sample machine with " << picks.size() << " PCI, "
              << size.input << " HID keyboard and mouse, " << size.other
              << " USB storage device instances\n"
              << "reference: " << lspci << " -F <dump of the same PCI ids> -i " << pciIds.string()
              << " -vmm, whole process\n"
              << "rounds: " << rounds << ", in turn (ours, lspci, ours, ...)\n\n";

    Series ours, enumMs, lookupMs, oursKib, theirs, theirsKib;
    for (int round = 0; round < rounds; ++round) {
        StartupDeviceWork steps;
        // Each round starts from no table, as a start-up does: the last round's records are
        // released before the clock starts, not by the walk inside the measured work.
        DeviceTable().swap(table);
        const WorkFigures figures = measureWork([&] { steps = runDeviceWork(bench, table); });
        ours.add(figures.ms);
        oursKib.add(static_cast<double>(figures.addedKib));
        enumMs.add(steps.enumMs);
        lookupMs.add(steps.lookupMs);
        const ChildFigures child =
            runner.run({lspci, "-F", dump.string(), "-i", pciIds.string(), "-vmm"}, listing);
        theirs.add(child.ms);
        theirsKib.add(static_cast<double>(child.peakKib));
    }

    std::size_t resolved = 0;
    const std::size_t agree = countAgreeing(table, picks, readEntireFile(listing), resolved);
    const int leftovers = occurrencesInMemory(decipheredLineOf(picks.front()));
    fs::remove_all(work);

    std::cout << "EnumDevices + 2 lookups:  " << formatMs(ours) << "\n"
              << "  EnumDevices, other.txt deciphered beside: " << formatMs(enumMs) << "\n"
              << "  the two lookups after it:                 " << formatMs(lookupMs) << "\n"
              << "lspci, whole process:     " << formatMs(theirs) << "\n"
              << "time ratio ours / lspci:  " << formatRatio(pairwiseRatios(ours, theirs))
              << "   (target: at most 0.5, half of lspci's time)\n"
              << "peak memory, ours:        " << formatMib(oursKib)
              << " above what the process held before the work\n"
              << "peak memory, lspci:       " << formatMib(theirsKib) << " (whole process; "
              << runner.floorKib() / 1024 << " MiB at least, the starting process's)\n"
              << "PCI ids resolved:         " << resolved << " of " << picks.size()
              << "; names equal to lspci's for " << agree << "\n"
              << "deciphered lines left in memory after the lookups: " << leftovers << "\n";
    return leftovers == 0 && agree == picks.size() ? 0 : 1;
} catch (const std::exception& error) {
    std::cerr << "bench_lookup: " << error.what() << "\n";
    return 2;
}
