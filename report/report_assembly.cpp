#include "report/report_assembly.h"

#include "devices/keyboard/keyboard_text.h"
#include "devices/mouse/mouse_text.h"
#include "devices/printers/printer_text.h"
#include "lang/lang_markup.h"
#include "platform/shell.h"
#include "report/print_layout.h"
#include "report/report_text.h"
#include "ui/markup_text.h"
#include "ui/text_compare.h"

namespace tamux {

namespace {

void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

// The extension of the file name part, from its last "." on; empty when it has none.
std::string_view extensionOf(std::string_view fileName) {
    const std::size_t nameStart = fileName.find_last_of("\\/:");
    const std::string_view name =
        nameStart == std::string_view::npos ? fileName : fileName.substr(nameStart + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

void writeLines(platform::Files& files, std::string_view path,
                const std::vector<std::string>& lines) {
    files.writeFile(path, ReportFileContent(lines));
}

void saveReport(ReportDialogHost& host, const std::vector<std::string>& lines) {
    // The dialog belongs to a window that is never shown.
    TReportFrm hidden(host);
    if (!hidden.SaveDialogEx1.Execute()) return;
    const std::string& path = hidden.SaveDialogEx1.FileName;
    if (ReportFileFormatOf(path) == ReportFileFormat::Html) {
        writeLines(host.platform.files, path, HtmlReportLines(lines));
    } else {
        writeLines(host.platform.files, path, PlainReportLines(lines));
    }
}

void printReport(ReportDialogHost& host, const std::vector<std::string>& lines) {
    std::unique_ptr<platform::PrintCanvas> printer = host.platform.dialogs.printDialog();
    if (!printer) return;
    printtext(lines, *printer);
}

void sendReport(ReportDialogHost& host, const std::vector<std::string>& lines) {
    writeLines(host.platform.files, kMailHtmlFile, HtmlReportLines(lines));
    // The text file has the same shape as the HTML one (an empty line where the table starts),
    // but its text is taken before the font sizes were mapped for HTML: a value that reads "10"
    // must not arrive as "3".
    std::vector<std::string> text{""};
    append(text, PlainReportLines(lines));
    writeLines(host.platform.files, kMailTextFile, text);
    // Whether the mail module starts is its own affair; the files are there either way.
    host.platform.shell.shellExecute("", kMailProgram, MailParameters(), kMailFolder,
                                     platform::kSwShowNormal);
}

}  // namespace

std::string ReportHeadingLine(const selitem& item) {
    return "<FONT size=\"14\" color=\"clblue\">" + item.caption + " - " +
           "<FONT size=\"14\" color=\"clnavy\">" + item.text + ":</FONT>";
}

std::vector<std::string> ReportLines(const ReportRequest& sel, const ReportSources& sources) {
    std::vector<std::string> lines;
    for (const selitem& item : sel.items) {
        lines.push_back(ReportHeadingLine(item));
        lines.push_back(" ");
        if (item.section == kReportInputDevicesSection) {
            if (item.subitem == kReportMouseEntry) {
                append(lines, MouseTextLines(sources.mouse, sources.lang));
            }
            if (item.subitem == kReportKeyboardEntry) {
                append(lines, KeyboardTextLines(sources.keyboard, sources.keys, sources.lang));
            }
        }
        // Printers are found by their entry text among the printers only, as the main window
        // does: a printer named like the mouse or the keyboard text must not add its lines to
        // that entry.
        if (item.section == kReportPrintersSection) {
            for (int printer : PrinterIndicesForCaption(sources.printers, item.text)) {
                append(lines, printerstostringlst(sources.printers, printer, sources.printerCaps,
                                                  sources.lang));
            }
        }
        lines.push_back(" ");
    }
    return lines;
}

void FrameReport(std::vector<std::string>& lines, const ReportDialogHost& host) {
    platform::Clock& clock = host.platform.clock;
    const platform::SystemTime now = clock.localTime();
    // The date and time pictures come from the user's settings, the texts from the module.
    const std::string created = LangMarkup(host.lang, kCreatedOnText) +
                                EscapeMarkup(clock.formatShortDate(now)) + "  " +
                                EscapeMarkup(clock.formatLongTime(now));
    lines.insert(lines.begin(), {"<FONT color=\"clnavy\" size=\"14\">Zorv Info Report</FONT>",
                                 "<FONT color=\"clblack\" size=\"10\">" + created + "</FONT>"});
    lines.push_back(" ");
    lines.push_back("<HR color-\"clblue\">");
    lines.push_back("<FONT color=\"clblack\" size=\"2\">" + LangMarkup(host.lang, kCreatedByText) +
                    EscapeMarkup(host.applicationTitle) + "</FONT>");
}

ReportFileFormat ReportFileFormatOf(std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    return EqualsIgnoringCase(extension, ".htm") || EqualsIgnoringCase(extension, ".html")
               ? ReportFileFormat::Html
               : ReportFileFormat::Text;
}

std::string MailParameters() {
    return "\" \" \"" + std::string(kMailTextFile) + "\" \"" + std::string(kMailHtmlFile) + "\"";
}

void doreport(ReportDialogHost& host, ReportAction action, std::vector<std::string>& lines) {
    if (lines.empty()) return;
    FrameReport(lines, host);
    switch (action) {
        case raSave:
            saveReport(host, lines);
            break;
        case raPrint:
            printReport(host, lines);
            break;
        case raSend:
            sendReport(host, lines);
            break;
        case raNone:
            break;
    }
}

void RunReport(ReportDialogHost& host, const SectionList& leftPane, const ReportSources& sources) {
    showreportdialog(host, leftPane);
    std::vector<std::string> lines = ReportLines(host.sel, sources);
    doreport(host, host.sel.action, lines);
}

}  // namespace tamux
