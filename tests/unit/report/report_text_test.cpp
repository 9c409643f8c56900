// The string operations of the report: image removal, HTML font sizes, tags, the font size a line
// asks for, and the plain text and HTML forms of whole reports.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/report_text.h"

namespace tamux::test {
namespace {

TEST(Removeimg, DropsTheFirstImageElementWithBothTags) {
    EXPECT_EQ(removeimg("<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\">Type</FONT>"),
              " <FONT color=\"clnavy\">Type</FONT>");
    EXPECT_EQ(removeimg("a<img src=\"idx:2\"></Img>b"), "ab");  // tags in any letter case
    // Only the first of two.
    EXPECT_EQ(removeimg("<IMG src=\"idx:1\"></IMG>x<IMG src=\"idx:2\"></IMG>"),
              "x<IMG src=\"idx:2\"></IMG>");
    EXPECT_EQ(removeimg("no image <FONT size=\"10\">here</FONT>"),
              "no image <FONT size=\"10\">here</FONT>");
}

TEST(Removeimg, AnOpenImageTagEndsAtItsBracketOrTheLineEnd) {
    EXPECT_EQ(removeimg("a<IMG src=\"idx:1\"> b</FONT>"), "a b</FONT>");
    // A closing tag before the image closes nothing.
    EXPECT_EQ(removeimg("</IMG>a<IMG src=\"idx:1\">b"), "</IMG>ab");
    EXPECT_EQ(removeimg("text <IMG src=\"idx:1"), "text ");
}

TEST(Htmlfontsize, MapsEveryQuotedSizeOfTheTable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"6", "2"},  {"7", "2"},  {"8", "2"},  {"9", "3"},  {"10", "3"},
        {"11", "3"}, {"12", "4"}, {"13", "4"}, {"14", "4"}, {"15", "4"},
    };
    for (const auto& [points, html] : cases) {
        EXPECT_EQ(htmlfontsize("<FONT size=\"" + points + "\">x</FONT>"),
                  "<FONT size=\"" + html + "\">x</FONT>")
            << points;
    }
}

TEST(Htmlfontsize, LeavesOtherValuesAndUnquotedNumbersAlone) {
    const std::string untouched =
        "<FONT color=\"clblack\" size=\"2\">x</FONT><IND x=\"200\">\"100\" \"5\" \"16\" 10 "
        "\"010\" \"1 0\"";
    EXPECT_EQ(htmlfontsize(untouched), untouched);
    EXPECT_EQ(htmlfontsize("size=\"14"), "size=\"14");  // no closing quote
}

TEST(Htmlfontsize, ValuesAnywhereAndSharingTheirQuotes) {
    // Plain text is matched as well as attributes.
    EXPECT_EQ(htmlfontsize("<FONT size=\"14\">Port \"10\"</FONT>"),
              "<FONT size=\"4\">Port \"3\"</FONT>");
    // Neighbouring values share a quote mark; both are mapped.
    EXPECT_EQ(htmlfontsize("\"12\"12\"6\""), "\"4\"4\"2\"");
    EXPECT_EQ(htmlfontsize("\"a\"10\""), "\"a\"3\"");
}

TEST(Striptags, RemovesTagsAndBracketsOnly) {
    EXPECT_EQ(striptags("<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\">Delay</FONT><IND "
                        "x=\"200\"><FONT color=\"clmaroon\">250 ms</FONT>"),
              " Delay250 ms");
    EXPECT_EQ(striptags("<HR color-\"clblue\">"), "");
    EXPECT_EQ(striptags(" "), " ");
    EXPECT_EQ(striptags("a > b"), "a  b");
    EXPECT_EQ(striptags("a < b"), "a ");  // an open tag runs to the end
    EXPECT_EQ(striptags("&lt;b&gt;"), "&lt;b&gt;");
}

TEST(Fontsizeof, ReadsUpToTwoDigitsAfterTheFirstSize) {
    EXPECT_EQ(fontsizeof("<FONT size=\"14\" color=\"clblue\">x"), 14);
    EXPECT_EQ(fontsizeof("<FONT color=\"clblack\" size=\"2\">x"), 2);
    EXPECT_EQ(fontsizeof("<FONT size=\"10\">a</FONT><FONT size=\"14\">b"), 10);
    EXPECT_EQ(fontsizeof("<FONT size=\"100\">"), 10);
    EXPECT_EQ(fontsizeof("<FONT size=\"9x\">"), 9);
}

TEST(Fontsizeof, ALineWithoutASizeGetsTheDefault) {
    EXPECT_EQ(fontsizeof(" "), kReportDefaultFontSize);
    EXPECT_EQ(fontsizeof("<HR color-\"clblue\">"), kReportDefaultFontSize);
    EXPECT_EQ(fontsizeof("<FONT size=\"\">"), kReportDefaultFontSize);
    EXPECT_EQ(fontsizeof("<FONT SIZE=\"14\">"), kReportDefaultFontSize);
    EXPECT_EQ(fontsizeof("size="), kReportDefaultFontSize);
}

TEST(ReportPlainText, DecodesValuesAfterTheTagsAreGone) {
    // A printer named <b>Lab & "Main"</b>, as its entry caption holds it.
    EXPECT_EQ(
        ReportPlainText("<FONT color=\"clmaroon\">&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;</FONT>"),
        "<b>Lab & \"Main\"</b>");
    // Decoded once: an escaped entity stays an entity.
    EXPECT_EQ(ReportPlainText("&amp;lt;"), "&lt;");
}

TEST(HtmlReportLines, ATableLineThenOneRowPerLine) {
    const std::vector<std::string> lines = {
        "<FONT color=\"clnavy\" size=\"14\">Zorv Info Report</FONT>",
        "<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\" size=\"10\">Type</FONT>",
        " ",
        "<HR color-\"clblue\">",
        "<FONT color=\"clmaroon\">&lt;b&gt;</FONT>",
    };
    EXPECT_EQ(HtmlReportLines(lines),
              (std::vector<std::string>{
                  "<TR><TD><TABLE></TD></TR>",
                  "<TR><TD><FONT color=\"clnavy\" size=\"4\">Zorv Info "
                  "Report</FONT></TD></TR>",
                  "<TR><TD> <FONT color=\"clnavy\" "
                  "size=\"3\">Type</FONT></TD></TR>",
                  "<TR><TD> </TD></TR>",
                  "<TR><TD><HR color-\"clblue\"></TD></TR>",
                  "<TR><TD><FONT color=\"clmaroon\">&lt;b&gt;</FONT></TD></TR>",
              }));
    EXPECT_EQ(HtmlReportLines({}), (std::vector<std::string>{"<TR><TD><TABLE></TD></TR>"}));
}

TEST(ReportFileContent, EveryLineEndsWithCrLf) {
    EXPECT_EQ(ReportFileContent({"a", "", " "}), "a\r\n\r\n \r\n");
    EXPECT_EQ(ReportFileContent({}), "");
}

}  // namespace
}  // namespace tamux::test
