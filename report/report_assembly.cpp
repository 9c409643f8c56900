#include "report/report_assembly.h"

#include "platform/shell.h"
#include "report/html_report.h"
#include "report/print_layout.h"
#include "report/text_report.h"
#include "platform/ascii_case.h"

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
    files.writeFile(path, ReportFileContent(lines));
}

void saveReport(ReportDialogHost& host, const ReportDocument& document) {
    // The dialog belongs to a window that is never shown.
    TReportFrm hidden(host);
    if (!hidden.SaveDialogEx1.Execute()) return;
    const std::string& path = hidden.SaveDialogEx1.FileName;
    if (ReportFileFormatOf(path) == ReportFileFormat::Html) {
        writeLines(host.platform.files, path, HtmlReportLines(document));
    } else {
        writeLines(host.platform.files, path, TextReportLines(document));
    }
}

void printReport(ReportDialogHost& host, const ReportDocument& document) {
    std::unique_ptr<platform::PrintCanvas> printer = host.platform.dialogs.printDialog();
    if (!printer) return;
    PrintReport(ReportTextLines(document), *printer);
}

void sendReport(ReportDialogHost& host, const ReportDocument& document) {
    writeLines(host.platform.files, kMailHtmlFile, HtmlReportLines(document));
    writeLines(host.platform.files, kMailTextFile, TextReportLines(document));
    // Whether the mail module starts is its own affair; the files are there either way.
    host.platform.shell.shellExecute("", kMailProgram, MailParameters(), kMailFolder,
                                     platform::kSwShowNormal);
}

}  // namespace

ReportFileFormat ReportFileFormatOf(std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    return EqualsIgnoringCase(extension, ".htm") || EqualsIgnoringCase(extension, ".html")
               ? ReportFileFormat::Html
               : ReportFileFormat::Text;
}

std::string MailParameters() {
    return "\" \" \"" + std::string(kMailTextFile) + "\" \"" + std::string(kMailHtmlFile) + "\"";
}

void CarryOutReport(ReportDialogHost& host, ReportAction action, std::vector<ReportEntry> entries) {
    if (entries.empty()) return;
    const ReportDocument document{CreatedText(host.lang, host.platform.clock),
                                  std::move(entries),
                                  FooterText(host.lang, host.applicationTitle),
                                  host.lang.GetLangText(kOnText),
                                  host.lang.GetLangText(kOffText),
                                  host.platform.system.ansiCodePage()};
    switch (action) {
        case raSave:
            saveReport(host, document);
            break;
        case raPrint:
            printReport(host, document);
            break;
        case raSend:
            sendReport(host, document);
            break;
        case raNone:
            break;
    }
}

void RunReport(ReportDialogHost& host, const SectionList& leftPane, const ReportSources& sources) {
    showreportdialog(host, leftPane);
    CarryOutReport(host, host.sel.action, ReportEntries(host.sel, sources));
}

}  // namespace tamux
