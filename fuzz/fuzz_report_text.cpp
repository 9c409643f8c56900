// The report's writers on any values (one per input line): each value goes into a line of every
// kind of every device's section, which is then written as pane markup, as text, as HTML and as a
// printout on a recording printer.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/sim/recording_canvas.h"
#include "report/html_report.h"
#include "report/print_layout.h"
#include "report/text_report.h"
#include "ui/markup_text.h"
#include "ui/section_markup.h"

namespace {

using namespace tamux;

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The section lines that carry `value`, one of each kind.
std::vector<SectionLine> linesHolding(const std::string& value) {
    return {titleLine(value),
            groupLine(value, true, LineIcon::Keyboard),
            itemLine(LineIcon::Mouse, Emphasis::Strong, "Label", value, " ms"),
            stateLine(LineIcon::Keyboard, "Label", value),
            capabilityLine(value, true, "yes"),
            paperLine(value)};
}

void checkValue(const std::string& value, std::vector<DeviceSection>& sections) {
    for (DeviceKind kind : {DeviceKind::Mouse, DeviceKind::Keyboard, DeviceKind::Printer}) {
        DeviceSection section{kind, value, linesHolding(value)};
        for (const SectionLine& line : section.lines) {
            TAMUX_FUZZ_CHECK(contains(markupToPlainText(sectionLineMarkup(kind, line)), value),
                             "the pane shows the value as it is");
        }
        const ReportDocument alone{"", {{"", "", {section}}}, "", "On", "Off", 1252};
        const std::string oneLine = onOneLine(value);
        std::size_t holding = 0;
        for (const std::string& text : textReportLines(alone)) holding += contains(text, oneLine);
        TAMUX_FUZZ_CHECK(holding >= section.lines.size(),
                         "the text report holds the value on every line that has it");
        sections.push_back(std::move(section));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto views = tamux::fuzz::splitLines(tamux::fuzz::asText(data, size));
    std::vector<DeviceSection> sections;
    for (std::string_view view : views) checkValue(std::string(view), sections);

    const ReportDocument document{
        "Created", {{"Category", "Entry", std::move(sections)}}, "Footer", "On", "Off", 1251};
    const std::vector<TextLine> text = reportTextLines(document);
    const std::vector<std::string> html = htmlReportLines(document);
    TAMUX_FUZZ_CHECK(html.front() == "<!DOCTYPE html>" && html.back() == "</html>",
                     "the HTML is one document");
    auto count = [](std::string_view text, std::string_view part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string_view::npos;
             at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    };
    for (const std::string& row : html) {
        if (row.rfind("<tr>", 0) != 0) continue;
        TAMUX_FUZZ_CHECK(row.ends_with("</tr>") && count(row, "<") == 2 * count(row, "<td") + 2 +
                                                                          2 * count(row, "<span") +
                                                                          count(row, "<hr>"),
                         "a value adds no tag to its row");
    }
    reportFileContent(textReportLines(document));

    // A sheet of A4 at 600 DPI, or a small one on which nearly every line starts a page.
    sim::PageSetup setup;
    if (size % 2 == 1) {
        setup.width = 200;
        setup.height = 120;
        setup.logPixelsY = 72;
    }
    auto log = std::make_shared<sim::PrintLog>();
    {
        sim::RecordingCanvas canvas(setup, log);
        printReport(text, canvas);
    }
    TAMUX_FUZZ_CHECK(log->documents.size() == 1 && log->documents[0].ended,
                     "the printout is one finished document");
    TAMUX_FUZZ_CHECK(log->mistakes.empty(), "the printer is driven in order");
    return 0;
}
