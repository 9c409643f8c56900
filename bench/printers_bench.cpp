// Expanding the printers category of a started main window -- showCategory(1): the wait dialog,
// and for every printer its capability queries and section lines -- with twenty printers, against
// the same with the default sample machine's two printers and against expanding the
// input-devices category, in turn, round by round. Prints the times, the ratios pair by pair and
// the memory each expansion needed.
//
//   bench_printers [--rounds N]
//   bench_printers --once   one expansion with twenty printers, nothing else
//
// Exit status 0 when every expansion built its sections without an error message; 1 otherwise.
#include <iostream>

#include "bench/bench_machine.h"
#include "bench/measure.h"

namespace {

using namespace tamux;
using namespace tamux::bench;

constexpr int kPrinters = 20;

// A started main window, its category expanded again and again.
class StartedWindow {
  public:
    explicit StartedWindow(std::unique_ptr<BenchMachine> bench)
        : bench_(std::move(bench)), window_(*bench_) {
        window_.form().formCreate();
    }

    WorkFigures expand(int category) {
        return measureWork([&] { window_.form().showCategory(category); });
    }
    // The right pane's device sections, and the lines in them.
    int sections() { return window_.form().rightSections().sectionCount() - 1; }
    int lines() {
        int count = 0;
        for (int i = 1; i <= sections(); ++i) {
            count += window_.form().rightSections().section(i).subItems().count();
        }
        return count;
    }
    bool failed(const char* name) {
        if (messageBoxCount(bench_->machine()) == 0) return false;
        std::cerr << "the " << name << " window reported errors:\n"
                  << messageBoxTexts(bench_->machine());
        return true;
    }

  private:
    std::unique_ptr<BenchMachine> bench_;
    MainWindow window_;
};

std::unique_ptr<BenchMachine> machineWithPrinters(int count) {
    auto bench = smallMachine();
    bench->growPrinters(count);
    return bench;
}

}  // namespace

int main(int argc, char** argv) try {
    if (flagOption(argc, argv, "--once")) {
        StartedWindow many(machineWithPrinters(kPrinters));
        many.expand(kPrintersCategory);
        return many.failed("twenty-printer") || many.sections() != kPrinters ? 1 : 0;
    }
    const int rounds = std::max(1, intOption(argc, argv, "--rounds", 15));
    StartedWindow many(machineWithPrinters(kPrinters));
    StartedWindow two(smallMachine());
    std::cout << "a started main window on the default sample machine, with twenty printers "
                 "(its two, and copies of them) and with its two; rounds: "
              << rounds << ", in turn\n\n";

    Series manyMs, manyKib, twoMs, inputMs;
    int manySections = 0, manyLines = 0, twoSections = 0, inputLines = 0;
    for (int round = 0; round < rounds; ++round) {
        const WorkFigures manyRun = many.expand(kPrintersCategory);
        manyMs.add(manyRun.ms);
        manyKib.add(static_cast<double>(manyRun.addedKib));
        manySections = many.sections();
        manyLines = many.lines();
        twoMs.add(two.expand(kPrintersCategory).ms);
        twoSections = two.sections();
        inputMs.add(many.expand(kInputDevicesCategory).ms);
        inputLines = many.lines();
    }
    std::cout << "printers, 20:             " << formatMs(manyMs) << ", " << manySections
              << " sections, " << manyLines << " lines\n"
              << "printers, 2:              " << formatMs(twoMs) << ", " << twoSections
              << " sections\n"
              << "input devices:            " << formatMs(inputMs) << ", " << inputLines
              << " lines\n"
              << "time ratio 20 / 2 printers:        " << formatRatio(pairwiseRatios(manyMs, twoMs))
              << "\n"
              << "time ratio 20 printers / input:    "
              << formatRatio(pairwiseRatios(manyMs, inputMs)) << "\n"
              << "peak memory, 20 printers: " << formatMib(manyKib)
              << " above what the process held before\n";
    const bool failed =
        many.failed("twenty-printer") || two.failed("two-printer") || manySections != kPrinters;
    return failed ? 1 : 0;
} catch (const std::exception& error) {
    std::cerr << "bench_printers: " << error.what() << "\n";
    return 2;
}
