#include "ui/markup_text.h"

#include <gtest/gtest.h>

#include "ui/markup_parser.h"

namespace tamux {
namespace {

const std::string kPrinter = "<b>Lab & \"Main\"</b>";

TEST(escapeMarkup, EscapesExactlyTheThreeMarkupCharacters) {
    EXPECT_EQ(escapeMarkup(kPrinter), "&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;");
    EXPECT_EQ(escapeMarkup("<"), "&lt;");
    EXPECT_EQ(escapeMarkup("&lt;"), "&amp;lt;");  // a value that looks escaped stays as stored
    EXPECT_EQ(escapeMarkup(""), "");
    const std::string bytes =
        "Tisk\xE1rna \xC8"
        "esk\xE1 'A' 100%";
    EXPECT_EQ(escapeMarkup(bytes), bytes);
}

TEST(decodeMarkupEntities, DecodesTheFourEntitiesInOnePass) {
    EXPECT_EQ(decodeMarkupEntities("&lt;&gt;&amp;&nbsp;"), "<>& ");
    EXPECT_EQ(decodeMarkupEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(decodeMarkupEntities("&amp;amp;"), "&amp;");
    for (const char* kept : {"&", "&lt", "&LT;", "&quot;", "a & b", "&#60;", "&nbsp"}) {
        EXPECT_EQ(decodeMarkupEntities(kept), kept);
    }
}

TEST(escapeMarkup, DecodingGivesBackEveryValue) {
    for (const std::string& value :
         {kPrinter, std::string("<"), std::string(">"), std::string("&amp;"),
          std::string("a&&<<>>b"), std::string("&nbsp;"), std::string("\x01\xFF<\x80")}) {
        EXPECT_EQ(decodeMarkupEntities(escapeMarkup(value)), value);
        EXPECT_EQ(markupToPlainText(escapeMarkup(value)), value);
    }
}

TEST(markupToPlainText, RemovesTagsThenDecodes) {
    std::string title = "<FONT color=\"clnavy\" size=\"12\">" + escapeMarkup(kPrinter) + "</FONT>";
    EXPECT_EQ(markupToPlainText(title), kPrinter);

    std::string item =
        "<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\" size=\"10\">Name"
        "<IND x=\"200\"><FONT color=\"clmaroon\">" +
        escapeMarkup("<") + "</FONT>";
    EXPECT_EQ(markupToPlainText(item), " Name<");

    // Decoding after removing tags: an escaped tag survives as text.
    EXPECT_EQ(markupToPlainText("&lt;HR&gt;<HR>"), "<HR>");
    EXPECT_EQ(markupToPlainText("<FONT color=\"clgreen\" size=\"10\"> CAPS </FONT>"), " CAPS ");
    EXPECT_EQ(markupToPlainText("<IND x=\"200\">"), "");
    EXPECT_EQ(markupToPlainText("tail <unclosed"), "tail <unclosed");
}

TEST(parseMarkup, SplitsTextAndTags) {
    auto tokens = parseMarkup("a<FONT color=\"clred\" size=\"2\">b</font>c");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].kind, MarkupToken::Kind::Text);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_EQ(tokens[1].kind, MarkupToken::Kind::Tag);
    EXPECT_EQ(tokens[1].text, "FONT");
    EXPECT_FALSE(tokens[1].closing);
    ASSERT_EQ(tokens[1].attributes.size(), 2u);
    EXPECT_EQ(*tokens[1].attribute("COLOR"), "clred");
    EXPECT_EQ(*tokens[1].attribute("size"), "2");
    EXPECT_EQ(tokens[3].text, "FONT");
    EXPECT_TRUE(tokens[3].closing);
    EXPECT_EQ(tokens[4].text, "c");
}

TEST(parseMarkup, ReadsOnlyQuotedAttributeValues) {
    auto tag =
        parseMarkup("<FONT size=12 color=\"clred\" face=\"MS Sans Serif\" bare x = \"5\">").at(0);
    EXPECT_EQ(tag.attribute("size"), nullptr);
    EXPECT_EQ(*tag.attribute("color"), "clred");
    EXPECT_EQ(*tag.attribute("face"), "MS Sans Serif");  // blanks inside quotes belong to it
    EXPECT_EQ(tag.attribute("bare"), nullptr);
    EXPECT_EQ(*tag.attribute("x"), "5");

    auto unterminated = parseMarkup("<FONT color=\"clred size=\"2>x").at(0);
    EXPECT_EQ(*unterminated.attribute("color"), "clred size=");
    EXPECT_EQ(unterminated.attribute("size"), nullptr);

    auto exact = parseMarkup("<IND X=\"200\">").at(0);
    EXPECT_NE(exact.attribute("x"), nullptr);
    EXPECT_EQ(exact.attributeExact("x"), nullptr);
}

TEST(parseMarkup, TextKeepsLessThanSignsThatOpenNoTag) {
    auto tokens = parseMarkup("1 < 2 &lt; 3");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "1 < 2 < 3");
    EXPECT_TRUE(parseMarkup("").empty());
    auto empty = parseMarkup("<>");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].text, "");
}

}  // namespace
}  // namespace tamux
