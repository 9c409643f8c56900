#include "report/report_assembly.h"

#include "platform/ascii_case.h"
#include "platform/shell.h"
#include "report/html_report.h"
#include "report/print_layout.h"
#include "report/text_report.h"

namespace tamux {

namespace {

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
    files.writeFile(path, reportFileContent(lines));
}

void saveReport(ReportDialogHost& host, const ReportDocument& document) {
    // The dialog belongs to a window that is never shown.
    ReportDialog hidden(host);
    if (!hidden.saveDialog.execute()) return;
    const std::string& path = hidden.saveDialog.fileName;
    if (reportFileFormatOf(path) == ReportFileFormat::Html) {
        writeLines(host.platform.files, path, htmlReportLines(document));
    } else {
        writeLines(host.platform.files, path, textReportLines(document));
    }
}

void printReport(ReportDialogHost& host, const ReportDocument& document) {
    std::unique_ptr<platform::PrintCanvas> printer = host.platform.dialogs.printDialog();
    if (!printer) return;
    printReport(reportTextLines(document), *printer);
}

void sendReport(ReportDialogHost& host, const ReportDocument& document) {
    writeLines(host.platform.files, kMailHtmlFile, htmlReportLines(document));
    writeLines(host.platform.files, kMailTextFile, textReportLines(document));
    // Whether the mail module starts is its own affair; the files are there either way.
    host.platform.shell.shellExecute("", kMailProgram, mailParameters(), kMailFolder,
                                     platform::kSwShowNormal);
}

}  // namespace

ReportFileFormat reportFileFormatOf(std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    return equalsIgnoringCase(extension, ".htm") || equalsIgnoringCase(extension, ".html")
               ? ReportFileFormat::Html
               : ReportFileFormat::Text;
}

std::string mailParameters() {
    return "\" \" \"" + std::string(kMailTextFile) + "\" \"" + std::string(kMailHtmlFile) + "\"";
}

void carryOutReport(ReportDialogHost& host, ReportAction action, std::vector<ReportEntry> entries) {
    if (entries.empty()) return;
    const ReportDocument document{createdText(host.lang, host.platform.clock),
                                  std::move(entries),
                                  footerText(host.lang, host.applicationTitle),
                                  host.lang.getLangText(kOnText),
                                  host.lang.getLangText(kOffText),
                                  host.platform.system.ansiCodePage()};
    switch (action) {
        case ReportAction::Save:
            saveReport(host, document);
            break;
        case ReportAction::Print:
            printReport(host, document);
            break;
        case ReportAction::Send:
            sendReport(host, document);
            break;
        case ReportAction::None:
            break;
    }
}

void runReport(ReportDialogHost& host, const SectionList& leftPane, const ReportSources& sources) {
    showReportDialog(host, leftPane);
    carryOutReport(host, host.sel.action, reportEntries(host.sel, sources));
}

}  // namespace tamux
