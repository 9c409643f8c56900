// The report itself: once the report window has closed, the sections of every ticked entry from
// the same builders that fill the main window's right pane, framed by a title and a footer, then
// saved as a text or HTML file, printed, or handed to the suite's mail module.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/report_dialog.h"
#include "report/report_document.h"
#include "report/report_request.h"
#include "ui/section_list.h"

namespace tamux {

// The mail module and the files it is handed, relative to the current directory.
inline constexpr std::string_view kMailFolder = "..\\Zmail";
inline constexpr std::string_view kMailProgram = "..\\Zmail\\ZoIMail.exe";
inline constexpr std::string_view kMailTextFile = "..\\Zmail\\report.txt";
inline constexpr std::string_view kMailHtmlFile = "..\\Zmail\\report.htm";

// The format a report file is saved in: HTML for ".htm" and ".html", plain text otherwise (the
// extension's letter case does not matter).
enum class ReportFileFormat { Text, Html };
ReportFileFormat reportFileFormatOf(std::string_view fileName);

// The parameters the mail module is started with: a quoted blank, then the text and the HTML
// file, each quoted.
std::string mailParameters();

// Frames the entries and carries out the action: ReportAction::Save asks for a file name and writes
// the file, ReportAction::Print asks for a printer and prints, ReportAction::Send writes the two
// mail files and starts the mail module. Nothing at all happens without entries. A file that cannot
// be written raises FileCreateError, and what would come after it is not done.
void carryOutReport(ReportDialogHost& host, ReportAction action, std::vector<ReportEntry> entries);

// The Report button: the report window, then the report of what was ticked there.
void runReport(ReportDialogHost& host, const SectionList& leftPane, const ReportSources& sources);

}  // namespace tamux
