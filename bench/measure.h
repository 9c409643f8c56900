// Timing and memory figures for the benchmarks: the work of this process timed in place and its
// peak resident memory, another program timed as a whole process with the kernel's accounting of
// its memory, and the summaries the benchmarks print (medians, ratios taken pair by pair).
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tamux::bench {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start);

// Resident memory of this process now, and its peak since the last resetPeakMemory, in KiB.
long currentMemoryKib();
long peakMemoryKib();
// Starts a new peak at the current resident size. Returns false where the kernel does not allow
// it; the peak then covers the whole run so far.
bool resetPeakMemory();
// Hands the memory that the allocator keeps after frees back to the system, so that the resident
// size is what the process still uses.
void returnFreedMemory();

// One measured piece of work in this process: its wall time and how far it raised the resident
// memory above what the process held when it began.
struct WorkFigures {
    double ms = 0;
    long addedKib = 0;
};

template <typename Work>
WorkFigures measureWork(Work&& work) {
    returnFreedMemory();
    resetPeakMemory();
    const long before = currentMemoryKib();
    const Clock::time_point start = Clock::now();
    work();
    WorkFigures figures;
    figures.ms = millisecondsSince(start);
    figures.addedKib = peakMemoryKib() - before;
    return figures;
}

// Another program, run to its end with its standard output into a file.
struct ChildFigures {
    double ms = 0;     // wall time from the start to the end of the process
    long peakKib = 0;  // the process's peak resident memory
};

// Runs other programs from a small helper process forked when the runner is made. The kernel's
// peak for a program counts the memory of the process it was started from too, so a program
// started from the benchmark itself, once the benchmark has grown, would be charged with the
// benchmark's memory. Make the runner first thing, before the benchmark allocates much.
class ProgramRunner {
  public:
    ProgramRunner();
    ~ProgramRunner();
    ProgramRunner(const ProgramRunner&) = delete;
    ProgramRunner& operator=(const ProgramRunner&) = delete;

    // Raises std::runtime_error when the program cannot start or does not exit with 0.
    ChildFigures run(const std::vector<std::string>& argv, const std::filesystem::path& output);

    // The helper's own peak memory: no program's peak can read below it.
    long floorKib() const { return floorKib_; }

  private:
    int toHelper_ = -1;
    int fromHelper_ = -1;
    int helper_ = -1;
    long floorKib_ = 0;
};

double medianOf(std::vector<double> values);

// A series of figures of one kind, printed as median, minimum and maximum.
struct Series {
    std::vector<double> values;
    void add(double value) { values.push_back(value); }
    double median() const { return medianOf(values); }
    double min() const;
    double max() const;
};

// Ratios a[i] / b[i] of two series measured in turn, pair by pair: the pairing keeps a ratio
// meaningful when the machine's speed drifts between rounds.
Series pairwiseRatios(const Series& a, const Series& b);

// "12.3 ms (min 11.9, max 14.0)", and the same for KiB as MiB and for plain ratios.
std::string formatMs(const Series& series);
std::string formatMib(const Series& kib);
std::string formatRatio(const Series& ratios);

// The number after a "--name" option, or `fallback`.
int intOption(int argc, char** argv, const std::string& name, int fallback);
bool flagOption(int argc, char** argv, const std::string& name);
std::string textOption(int argc, char** argv, const std::string& name, const std::string& fallback);

}  // namespace tamux::bench
