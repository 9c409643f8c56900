// The report's lines as text: the string operations that turn info lines into HTML table rows,
// plain text and printer font sizes, and the file content they are written as.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamux {

// The font size of a line that asks for none (blank lines, the rule line).
inline constexpr int kReportDefaultFontSize = 10;

// Removes the line's first image element: from the first "<IMG" (letter case ignored) through the
// first "</IMG>" after it. An "<IMG" without its closing tag is cut up to the first ">" after it,
// or to the end of the line when none follows (a tag left open would swallow the rest of an HTML
// row). A line without "<IMG" comes back unchanged.
std::string removeimg(std::string_view line);

// Maps every double-quoted font size of 6 to 15 to the HTML font size: "12"-"15" to "4", "9"-"11"
// to "3", "6"-"8" to "2". A value counts when it stands alone between two quote marks, wherever
// that is (attribute or text); a quoted "100" holds no "10", and other values stay as they are.
std::string htmlfontsize(std::string_view line);

// The line without tags: "<" starts a tag, ">" ends it, and neither is copied. Nothing else is
// done: no entity decoding, no trimming.
std::string striptags(std::string_view line);

// The font size a line asks for: the number (at most two digits) after its first size=". A line
// without one, or without a digit there, gets kReportDefaultFontSize.
int fontsizeof(std::string_view line);

// What a line says in plain text: tags removed, then the entities that protect values in the
// markup decoded, so that a value reads exactly as the system stores it.
std::string ReportPlainText(std::string_view line);

// The HTML form of the report: a "<TABLE>" line first, then every line as one table row
// ("<TR><TD>" line "</TD></TR>") without its image and with HTML font sizes. The table is not
// closed. Values stay escaped, so that a browser shows them as they are.
std::vector<std::string> HtmlReportLines(const std::vector<std::string>& lines);

// Every line in plain text (ReportPlainText).
std::vector<std::string> PlainReportLines(const std::vector<std::string>& lines);

// The content of a report file: every line followed by CR LF.
std::string ReportFileContent(const std::vector<std::string>& lines);

}  // namespace tamux
