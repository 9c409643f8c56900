// What the user of a started main window sees, in one comparable value, and the report of every
// entry. A machine with one bad input is compared with the same machine intact: what differs is
// exactly what that input costs the user, and everything else must be equal.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report/report_request.h"
#include "tests/support/text_lines.h"
#include "tests/unit/app/form_harness.h"

namespace tamux::test {

// A section of the right pane as the user reads it: the text drawn for its heading and its lines.
struct PaneSection {
    std::string caption;
    std::vector<std::string> lines;
    bool operator==(const PaneSection&) const = default;
};
void PrintTo(const PaneSection& section, std::ostream* out);

struct Seen {
    // Every message box shown so far, as "caption: text".
    std::vector<std::string> messages;
    // The five buttons, the label above the panes and the two categories (as drawn).
    std::vector<std::string> captions;
    // The left pane's entries, category after category, as drawn.
    std::vector<std::string> entries;
    // The right pane with the input devices open (heading, mouse, keyboard), then with the
    // printers open (heading, one section per printer).
    std::vector<PaneSection> inputDevices;
    std::vector<PaneSection> printers;

    const PaneSection& mouse() const { return inputDevices.at(1); }
    const PaneSection& keyboard() const { return inputDevices.at(2); }
};

// Opens the input devices and then the printers through the left pane's expand event, as a click
// on a category heading does, and reads the window.
Seen look(FormHarness& h);

// The text that laying `markup` out draws, run after run: what the user reads of a heading or a
// line (a text the layout takes for a tag is not drawn).
std::string drawn(std::string_view markup);

// Lines as the plain-text outputs write them.
std::vector<std::string> plain(const std::vector<std::string>& lines);

// The report window's user ticks every entry and presses the button of `action`
// (ReportAction::None: Cancel).
void tickEverything(FormHarness& h, ReportAction action);

// The Report button with every entry ticked and Save pressed, the save dialog answered with
// `path`; returns the saved file's lines, or nullopt when no file is there.
std::optional<std::vector<std::string>> saveEverything(FormHarness& h, const std::string& path);

// A file of the simulated machine, or nullopt when it does not exist.
std::optional<std::string> fileContent(sim::Machine& machine, const std::string& windowsPath);
// Writes a file of the simulated machine, making its folder.
void putFile(sim::Machine& machine, const std::string& windowsPath, const std::string& content);

// The host folder of the suite's device databases beside the program's folder.
std::filesystem::path databaseFolder(sim::Machine& machine);

}  // namespace tamux::test
