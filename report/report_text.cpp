#include "report/report_text.h"

#include <array>
#include <cctype>

#include "ui/markup_text.h"
#include "ui/text_compare.h"

namespace tamux {

namespace {

struct HtmlSize {
    std::string_view points;
    std::string_view html;
};

constexpr std::array<HtmlSize, 10> kHtmlSizes{{
    {"6", "2"},
    {"7", "2"},
    {"8", "2"},
    {"9", "3"},
    {"10", "3"},
    {"11", "3"},
    {"12", "4"},
    {"13", "4"},
    {"14", "4"},
    {"15", "4"},
}};

}  // namespace

std::string removeimg(std::string_view line) {
    const std::string upper = AsciiUpper(line);
    const std::size_t start = upper.find("<IMG");
    if (start == std::string::npos) return std::string(line);

    std::size_t end = std::string::npos;
    constexpr std::string_view kClose = "</IMG>";
    if (const std::size_t close = upper.find(kClose, start); close != std::string::npos) {
        end = close + kClose.size();
    } else if (const std::size_t bracket = upper.find('>', start); bracket != std::string::npos) {
        end = bracket + 1;
    }
    std::string result(line.substr(0, start));
    if (end != std::string::npos) result += line.substr(end);
    return result;
}

std::string htmlfontsize(std::string_view line) {
    // Quote marks are never changed, so a value is exactly what lies between two neighbouring
    // quotes; mapping each such stretch once gives what replacing until none is left would.
    std::string result;
    result.reserve(line.size());
    std::size_t open = line.find('"');
    result += line.substr(0, open == std::string_view::npos ? line.size() : open + 1);
    while (open != std::string_view::npos) {
        const std::size_t close = line.find('"', open + 1);
        if (close == std::string_view::npos) {
            result += line.substr(open + 1);
            break;
        }
        std::string_view value = line.substr(open + 1, close - open - 1);
        for (const HtmlSize& size : kHtmlSizes) {
            if (value == size.points) {
                value = size.html;
                break;
            }
        }
        result += value;
        result += '"';
        open = close;
    }
    return result;
}

std::string striptags(std::string_view line) {
    std::string result;
    result.reserve(line.size());
    bool inTag = false;
    for (char c : line) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
        } else if (!inTag) {
            result += c;
        }
    }
    return result;
}

int fontsizeof(std::string_view line) {
    constexpr std::string_view kSize = "size=\"";
    const std::size_t at = line.find(kSize);
    if (at == std::string_view::npos) return kReportDefaultFontSize;
    const std::string_view digits = line.substr(at + kSize.size(), 2);
    int size = 0;
    std::size_t read = 0;
    while (read < digits.size() && std::isdigit(static_cast<unsigned char>(digits[read]))) {
        size = size * 10 + (digits[read] - '0');
        ++read;
    }
    return read == 0 ? kReportDefaultFontSize : size;
}

std::string ReportPlainText(std::string_view line) {
    return DecodeMarkupEntities(striptags(line));
}

std::vector<std::string> HtmlReportLines(const std::vector<std::string>& lines) {
    std::vector<std::string> rows;
    rows.reserve(lines.size() + 1);
    auto addRow = [&rows](std::string_view line) {
        rows.push_back("<TR><TD>" + htmlfontsize(removeimg(line)) + "</TD></TR>");
    };
    addRow("<TABLE>");
    for (const std::string& line : lines) addRow(line);
    return rows;
}

std::vector<std::string> PlainReportLines(const std::vector<std::string>& lines) {
    std::vector<std::string> plain;
    plain.reserve(lines.size());
    for (const std::string& line : lines) plain.push_back(ReportPlainText(line));
    return plain;
}

std::string ReportFileContent(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

}  // namespace tamux
