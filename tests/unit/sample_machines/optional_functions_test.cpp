// Which of the functions newer than Windows 95 each sample machine has, and the file times the
// program reads where the attribute query is missing.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/optional_functions.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/sample_machines/sample_machine.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;
using platform::OptionalFunction;

constexpr OptionalFunction kTrack = OptionalFunction::TrackMouseEvent;
constexpr OptionalFunction kComctlTrack = OptionalFunction::ComctlTrackMouseEvent;
constexpr OptionalFunction kBlend = OptionalFunction::AlphaBlend;
constexpr OptionalFunction kGradient = OptionalFunction::GradientFill;
constexpr OptionalFunction kAttributes = OptionalFunction::FileAttributesEx;
constexpr OptionalFunction kMove = OptionalFunction::ReplacingMove;

struct AvailabilityRow {
    const char* machine;
    std::set<OptionalFunction> present;
};

TEST(OptionalFunctions, EachMachineHasWhatItsWindowsShippedWith) {
    const std::set<OptionalFunction> nine = {kTrack, kComctlTrack, kBlend, kGradient, kAttributes};
    const std::set<OptionalFunction> all = {kTrack,    kComctlTrack, kBlend,
                                            kGradient, kAttributes,  kMove};
    const std::vector<AvailabilityRow> rows = {
        {"win95", {}},     {"nt4", {kTrack, kAttributes, kMove}},
        {"win98se", nine}, {"winme", nine},
        {"win2000", all},  {"winxp", all},
        {"vista", all},
    };
    for (const AvailabilityRow& row : rows) {
        SampleMachine sample(row.machine);
        for (OptionalFunction function : platform::kOptionalFunctions) {
            EXPECT_EQ(sample.machine().system().hasFunction(function),
                      row.present.count(function) == 1)
                << row.machine << ": " << platform::exportNameOf(function).function;
        }
    }
}

TEST(OptionalFunctions, TheSwitchTakesEveryFallback) {
    SampleMachine sample("winxp");
    sample.machine().system().setForceFallbacks(true);
    for (OptionalFunction function : platform::kOptionalFunctions) {
        EXPECT_FALSE(sample.machine().system().hasFunction(function))
            << platform::exportNameOf(function).function;
    }
}

struct FileTimeRow {
    const char* machine;
    bool forceFallbacks;
};

TEST(OptionalFunctions, FileTimesAreTheSameWithoutTheAttributeQuery) {
    const std::vector<FileTimeRow> rows = {
        {"win95", false}, {"nt4", false}, {"winxp", false}, {"winxp", true}};
    for (const FileTimeRow& row : rows) {
        SCOPED_TRACE(std::string(row.machine) + (row.forceFallbacks ? " forced" : ""));
        SampleMachine sample(row.machine);
        sample.machine().system().setForceFallbacks(row.forceFallbacks);
        const fs::path folder = sample.machine().hostPath("C:\\") / "Data";
        fs::create_directories(folder);
        // Two files of different times; "a.txt" comes first in any listing.
        for (const char* name : {"a.txt", "b.txt"}) std::ofstream(folder / name) << name;
        fs::last_write_time(folder / "a.txt",
                            fs::last_write_time(folder / "b.txt") - std::chrono::hours(24));
        const auto timeOf = [&](const char* name) {
            return sim::SimFiles::toFileTime(fs::last_write_time(folder / name));
        };

        sim::SimFiles& files = sample.machine().files();
        EXPECT_EQ(files.lastWriteTime("C:\\DATA\\B.TXT"), timeOf("b.txt"));
        EXPECT_EQ(files.lastWriteTime("C:\\Data"),
                  sim::SimFiles::toFileTime(fs::last_write_time(folder)));
        EXPECT_EQ(files.lastWriteTime("C:\\Data\\missing.txt"), std::nullopt);
        // A pattern names no file: the directory search must not answer with a.txt.
        EXPECT_EQ(files.lastWriteTime("C:\\Data\\*.txt"), std::nullopt);
        EXPECT_EQ(files.lastWriteTime("C:\\Data\\?.txt"), std::nullopt);
    }
}

}  // namespace
}  // namespace tamux::test
