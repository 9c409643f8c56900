#include "ui/markup_text.h"

#include <gtest/gtest.h>

#include "ui/markup_parser.h"

namespace tamux {
namespace {

const std::string kPrinter = "<b>Lab & \"Main\"</b>";

TEST(EscapeMarkup, EscapesExactlyTheThreeMarkupCharacters) {
    EXPECT_EQ(EscapeMarkup(kPrinter), "&lt;b&gt;Lab &amp; \"Main\"&lt;/b&gt;");
    EXPECT_EQ(EscapeMarkup("<"), "&lt;");
    EXPECT_EQ(EscapeMarkup("&lt;"), "&amp;lt;");  // a value that looks escaped stays as stored
    EXPECT_EQ(EscapeMarkup(""), "");
    const std::string bytes =
        "Tisk\xE1rna \xC8"
        "esk\xE1 'A' 100%";
    EXPECT_EQ(EscapeMarkup(bytes), bytes);
}

TEST(DecodeMarkupEntities, DecodesTheFourEntitiesInOnePass) {
    EXPECT_EQ(DecodeMarkupEntities("&lt;&gt;&amp;&nbsp;"), "<>& ");
    EXPECT_EQ(DecodeMarkupEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(DecodeMarkupEntities("&amp;amp;"), "&amp;");
    for (const char* kept : {"&", "&lt", "&LT;", "&quot;", "a & b", "&#60;", "&nbsp"}) {
        EXPECT_EQ(DecodeMarkupEntities(kept), kept);
    }
}

TEST(EscapeMarkup, DecodingGivesBackEveryValue) {
    for (const std::string& value :
         {kPrinter, std::string("<"), std::string(">"), std::string("&amp;"),
          std::string("a&&<<>>b"), std::string("&nbsp;"), std::string("\x01\xFF<\x80")}) {
        EXPECT_EQ(DecodeMarkupEntities(EscapeMarkup(value)), value);
        EXPECT_EQ(MarkupToPlainText(EscapeMarkup(value)), value);
    }
}

TEST(MarkupToPlainText, RemovesTagsThenDecodes) {
    std::string title = "<FONT color=\"clnavy\" size=\"12\">" + EscapeMarkup(kPrinter) + "</FONT>";
    EXPECT_EQ(MarkupToPlainText(title), kPrinter);

    std::string item =
        "<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\" size=\"10\">Name"
        "<IND x=\"200\"><FONT color=\"clmaroon\">" +
        EscapeMarkup("<") + "</FONT>";
    EXPECT_EQ(MarkupToPlainText(item), " Name<");

    // Decoding after removing tags: an escaped tag survives as text.
    EXPECT_EQ(MarkupToPlainText("&lt;HR&gt;<HR>"), "<HR>");
    EXPECT_EQ(MarkupToPlainText("<FONT color=\"clgreen\" size=\"10\"> CAPS </FONT>"), " CAPS ");
    EXPECT_EQ(MarkupToPlainText("<IND x=\"200\">"), "");
    EXPECT_EQ(MarkupToPlainText("tail <unclosed"), "tail <unclosed");
}

TEST(ParseMarkup, SplitsTextAndTags) {
    auto tokens = ParseMarkup("a<FONT color=\"clred\" size=\"2\">b</font>c");
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

TEST(ParseMarkup, ReadsOnlyQuotedAttributeValues) {
    auto tag =
        ParseMarkup("<FONT size=12 color=\"clred\" face=\"MS Sans Serif\" bare x = \"5\">").at(0);
    EXPECT_EQ(tag.attribute("size"), nullptr);
    EXPECT_EQ(*tag.attribute("color"), "clred");
    EXPECT_EQ(*tag.attribute("face"), "MS Sans Serif");  // blanks inside quotes belong to it
    EXPECT_EQ(tag.attribute("bare"), nullptr);
    EXPECT_EQ(*tag.attribute("x"), "5");

    auto unterminated = ParseMarkup("<FONT color=\"clred size=\"2>x").at(0);
    EXPECT_EQ(*unterminated.attribute("color"), "clred size=");
    EXPECT_EQ(unterminated.attribute("size"), nullptr);

    auto exact = ParseMarkup("<IND X=\"200\">").at(0);
    EXPECT_NE(exact.attribute("x"), nullptr);
    EXPECT_EQ(exact.attributeExact("x"), nullptr);
}

TEST(ParseMarkup, TextKeepsLessThanSignsThatOpenNoTag) {
    auto tokens = ParseMarkup("1 < 2 &lt; 3");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "1 < 2 < 3");
    EXPECT_TRUE(ParseMarkup("").empty());
    auto empty = ParseMarkup("<>");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].text, "");
}

}  // namespace
}  // namespace tamux
