// The report itself: once the report window has closed, the lines of every ticked entry from the
// same builders that fill the main window's right pane, framed by a title and a footer, then
// saved as a text or HTML file, printed, or handed to the suite's mail module.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devices/keyboard/key_state.h"
#include "devices/keyboard/keyboard_facts.h"
#include "devices/mouse/mouse_facts.h"
#include "devices/printers/printer_caps.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_module.h"
#include "report/report_dialog.h"
#include "report/report_request.h"
#include "ui/section_list.h"

namespace tamux {

// Text ids of the frame: before the creation date, and before the program's title.
inline constexpr TextId kCreatedOnText = 50201;
inline constexpr TextId kCreatedByText = 50202;

// The mail module and the files it is handed, relative to the current directory.
inline constexpr std::string_view kMailFolder = "..\\Zmail";
inline constexpr std::string_view kMailProgram = "..\\Zmail\\ZoIMail.exe";
inline constexpr std::string_view kMailTextFile = "..\\Zmail\\report.txt";
inline constexpr std::string_view kMailHtmlFile = "..\\Zmail\\report.htm";

// What the line builders read: the facts gathered at start, the lock keys, the printer list with
// the capability query, and the language module.
struct ReportSources {
    const MouseFacts& mouse;
    const KeyboardFacts& keyboard;
    TKeyState& keys;
    const TPrintersInfo& printers;
    PrinterCaps& printerCaps;
    const LangModule& lang;
};

// The heading of an entry in the report: the section's caption, a hyphen and the entry's text.
std::string ReportHeadingLine(const selitem& item);

// The lines of every entry of the request, in order: its heading, a blank line, the device's
// lines, a blank line. The mouse and the keyboard entry of the input devices give their lines; a
// printer entry gives the lines of every printer whose entry text it is.
std::vector<std::string> ReportLines(const ReportRequest& sel, const ReportSources& sources);

// Puts the frame around the lines: the title and the creation date and time (the system's short
// date and long time formats) on top; a blank line, the rule and the program's title below.
void FrameReport(std::vector<std::string>& lines, const ReportDialogHost& host);

// The format a report file is saved in: HTML for ".htm" and ".html", plain text otherwise (the
// extension's letter case does not matter).
enum class ReportFileFormat { Text, Html };
ReportFileFormat ReportFileFormatOf(std::string_view fileName);

// The parameters the mail module is started with: a quoted blank, then the text and the HTML
// file, each quoted.
std::string MailParameters();

// Frames the lines and carries out the action: raSave asks for a file name and writes the file,
// raPrint asks for a printer and prints, raSend writes the two mail files and starts the mail
// module. Nothing at all happens for an empty list. A file that cannot be written raises
// FileCreateError, and what would come after it is not done.
void doreport(ReportDialogHost& host, ReportAction action, std::vector<std::string>& lines);

// The Report button: the report window, then the report of what was ticked there.
void RunReport(ReportDialogHost& host, const SectionList& leftPane, const ReportSources& sources);

}  // namespace tamux
