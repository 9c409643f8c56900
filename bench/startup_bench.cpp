// Start-up to a complete main window -- the form made and its formCreate run: the language
// module, readDeviceTable, the two database lookups, the keyboard and mouse facts, the captions and
// the left pane with the printers -- on the large simulated machine (the default sample machine
// with 6,000 more device instances and twenty printers) against the same on the small default
// machine, in turn, round by round. Prints both times, their ratio pair by pair and the memory
// each start-up needed.
//
//   bench_startup [--rounds N] [--devices N]
//                 --devices: the large machine's extra device instances (6,000 unless given), in
//                 the same shares: two thirds PCI, a tenth keyboards and mice, the rest storage
//   bench_startup --large | --small   one start-up, nothing else (to time the whole process)
//   bench_startup --large --setup-only   only the machine, to subtract from the above
//
// Exit status 0 when every start-up completed without an error message; 1 otherwise.
#include <iostream>

#include "bench/bench_machine.h"
#include "bench/measure.h"

namespace {

using namespace tamux;
using namespace tamux::bench;

struct StartFigures {
    WorkFigures work;
    int printers = 0;
    std::size_t devices = 0;
};

// A main window made and started on `machine`, as the program does at start.
StartFigures startMainWindow(BenchMachine& bench) {
    StartFigures figures;
    std::unique_ptr<MainWindow> window;
    figures.work = measureWork([&] {
        window = std::make_unique<MainWindow>(bench);
        window->form().formCreate();
    });
    figures.printers = window->form().leftSections().section(kPrintersCategory).subItems().count();
    figures.devices = window->state().devices.size();
    return figures;
}

bool reportedFailure(BenchMachine& bench, const char* name) {
    if (messageBoxCount(bench.machine()) == 0) return false;
    std::cerr << "the start-up on the " << name << " machine reported errors:\n"
              << messageBoxTexts(bench.machine());
    return true;
}

}  // namespace

int main(int argc, char** argv) try {
    const bool large = flagOption(argc, argv, "--large");
    const int devices = std::max(0, intOption(argc, argv, "--devices", 6000));
    LargeMachineSize size;
    size.pci = devices * 2 / 3;
    size.input = devices / 10;
    size.other = devices - size.pci - size.input;
    if (large || flagOption(argc, argv, "--small")) {
        auto bench = large ? largeMachine(size) : smallMachine();
        if (flagOption(argc, argv, "--setup-only")) return 0;
        startMainWindow(*bench);
        return reportedFailure(*bench, large ? "large" : "small") ? 1 : 0;
    }

    const int rounds = std::max(1, intOption(argc, argv, "--rounds", 9));
    auto small = smallMachine();
    auto big = largeMachine(size);
    std::cout << "small: the default sample machine (Windows XP, 2 printers)\n"
              << "large: the same with " << devices
              << " more device instances of real ids and 20 printers\n"
              << "both with the shipped language module and device databases; rounds: " << rounds
              << ", in turn (small, large, small, ...)\n\n";

    Series smallMs, smallKib, largeMs, largeKib;
    StartFigures smallStart, largeStart;
    for (int round = 0; round < rounds; ++round) {
        smallStart = startMainWindow(*small);
        smallMs.add(smallStart.work.ms);
        smallKib.add(static_cast<double>(smallStart.work.addedKib));
        largeStart = startMainWindow(*big);
        largeMs.add(largeStart.work.ms);
        largeKib.add(static_cast<double>(largeStart.work.addedKib));
    }
    std::cout << "small machine start-up:   " << formatMs(smallMs) << ", " << smallStart.devices
              << " devices, " << smallStart.printers << " printers\n"
              << "large machine start-up:   " << formatMs(largeMs) << ", " << largeStart.devices
              << " devices, " << largeStart.printers << " printers\n"
              << "time ratio large / small: " << formatRatio(pairwiseRatios(largeMs, smallMs))
              << "   (rises as the fixed cost falls; see --devices N for how it grows)\n"
              << "peak memory, small:       " << formatMib(smallKib)
              << " above what the process held before\n"
              << "peak memory, large:       " << formatMib(largeKib) << " above the same\n";
    const bool failed = reportedFailure(*small, "small") || reportedFailure(*big, "large");
    return failed ? 1 : 0;
} catch (const std::exception& error) {
    std::cerr << "bench_startup: " << error.what() << "\n";
    return 2;
}
