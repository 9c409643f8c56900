// The report's string operations on any lines (one per input line): removeimg, htmlfontsize,
// striptags, fontsizeof, the HTML and plain-text forms and the printout on a recording printer.
// htmlfontsize is compared with the rule it implements, applied literally: replace a quoted size
// of the table by its HTML size until none is left.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/ascii_case.h"
#include "platform/sim/recording_canvas.h"
#include "report/print_layout.h"
#include "report/report_text.h"
#include "ui/markup_text.h"

namespace {

using namespace tamux;

std::string htmlSizesLiterally(std::string_view line) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kSizes{{
        {"\"6\"", "\"2\""},
        {"\"7\"", "\"2\""},
        {"\"8\"", "\"2\""},
        {"\"9\"", "\"3\""},
        {"\"10\"", "\"3\""},
        {"\"11\"", "\"3\""},
        {"\"12\"", "\"4\""},
        {"\"13\"", "\"4\""},
        {"\"14\"", "\"4\""},
        {"\"15\"", "\"4\""},
    }};
    std::string text(line);
    for (bool replaced = true; replaced;) {
        replaced = false;
        for (const auto& [quoted, html] : kSizes) {
            const std::size_t at = text.find(quoted);
            if (at == std::string::npos) continue;
            text.replace(at, quoted.size(), html);
            replaced = true;
            break;
        }
    }
    return text;
}

void checkLine(std::string_view line) {
    TAMUX_FUZZ_CHECK(htmlfontsize(line) == htmlSizesLiterally(line),
                     "every quoted size of the table is mapped, and nothing else");

    const std::string plain = striptags(line);
    TAMUX_FUZZ_CHECK(plain.find_first_of("<>") == std::string::npos, "no tag mark is left");
    TAMUX_FUZZ_CHECK(plain.size() <= line.size(), "stripping only removes");
    if (line.find_first_of("<>") == std::string_view::npos) {
        TAMUX_FUZZ_CHECK(plain == line, "a line without tags stays as it is");
    }

    const int size = fontsizeof(line);
    TAMUX_FUZZ_CHECK(size >= 0 && size <= 99, "a font size has at most two digits");
    if (line.find("size=\"") == std::string_view::npos) {
        TAMUX_FUZZ_CHECK(size == kReportDefaultFontSize, "a line without a size gets the default");
    }

    const std::string withoutImage = removeimg(line);
    const std::size_t image = tamux::AsciiUpper(line).find("<IMG");
    if (image == std::string::npos) {
        TAMUX_FUZZ_CHECK(withoutImage == line, "a line without an image stays as it is");
    } else {
        TAMUX_FUZZ_CHECK(withoutImage.size() < line.size() &&
                             withoutImage.compare(0, image, line.substr(0, image)) == 0,
                         "the image element is cut out after the text before it");
    }

    TAMUX_FUZZ_CHECK(ReportPlainText(EscapeMarkup(line)) == line,
                     "an escaped value reads in plain text as it is");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto views = tamux::fuzz::splitLines(tamux::fuzz::asText(data, size));
    const std::vector<std::string> lines(views.begin(), views.end());
    for (const std::string& line : lines) checkLine(line);

    const auto rows = HtmlReportLines(lines);
    TAMUX_FUZZ_CHECK(rows.size() == lines.size() + 1, "one row per line after the table's");
    for (const std::string& row : rows) {
        TAMUX_FUZZ_CHECK(row.rfind("<TR><TD>", 0) == 0 && row.size() >= 17 &&
                             row.compare(row.size() - 10, 10, "</TD></TR>") == 0,
                         "every row is one table cell");
    }
    TAMUX_FUZZ_CHECK(PlainReportLines(lines).size() == lines.size(), "one plain line per line");
    ReportFileContent(rows);

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
        printtext(lines, canvas);
    }
    TAMUX_FUZZ_CHECK(log->documents.size() == 1 && log->documents[0].ended,
                     "the printout is one finished document");
    TAMUX_FUZZ_CHECK(log->mistakes.empty(), "the printer is driven in order");
    return 0;
}
