#include "ui/markup_layout.h"

#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/ui/fixed_measurer.h"
#include "ui/markup_text.h"

namespace tamux {
namespace {

const Color kNavy = Color::rgb(0, 0, 128);
const Color kMaroon = Color::rgb(128, 0, 0);
const Color kBlack = Color::rgb(0, 0, 0);
const Color kWindowText = Color::system(syscolor::kWindowText);

// The fragments the line builders compose lines from.
const std::string kKeyboardImage = "<IMG src=\"idx:1\"></IMG> ";
const std::string kNavyLabel = "<FONT color=\"clnavy\" size=\"10\">";
const std::string kValuePart = "<IND x=\"200\"><FONT color=\"clmaroon\">";
const std::string kEnd = "</FONT>";

MarkupContext paneContext() {
    MarkupContext context;
    context.imageCount = 7;
    context.width = 345;
    return context;
}

struct Laid {
    MarkupLayout layout;
    std::vector<TextDraw> texts;
    std::vector<ImageDraw> images;
    std::vector<RuleDraw> rules;
};

Laid lay(const std::string& line, const MarkupContext& context = paneContext()) {
    test::FixedMeasurer measurer;
    Laid laid{layoutMarkup(line, context, measurer), {}, {}, {}};
    for (const DrawInstruction& item : laid.layout.items) {
        if (auto* text = std::get_if<TextDraw>(&item)) laid.texts.push_back(*text);
        if (auto* image = std::get_if<ImageDraw>(&item)) laid.images.push_back(*image);
        if (auto* rule = std::get_if<RuleDraw>(&item)) laid.rules.push_back(*rule);
    }
    return laid;
}

TEST(MarkupLayout, ItemLineDrawsNavyLabelAndMaroonValueFromTheTabStop) {
    Laid laid = lay(kKeyboardImage + kNavyLabel + "Layout" + kValuePart + "US" + kEnd + "tail");
    ASSERT_EQ(laid.images.size(), 1u);
    EXPECT_EQ(laid.images[0].x, 0);
    EXPECT_EQ(laid.images[0].index, 1);
    EXPECT_EQ(laid.images[0].width, 16);

    ASSERT_EQ(laid.texts.size(), 4u);
    EXPECT_EQ(laid.texts[0].text, " ");
    EXPECT_EQ(laid.texts[0].x, 16);
    EXPECT_EQ(laid.texts[0].font.color, kWindowText);
    EXPECT_EQ(laid.texts[0].font.points, 8);

    EXPECT_EQ(laid.texts[1].text, "Layout");
    EXPECT_EQ(laid.texts[1].x, 24);
    EXPECT_EQ(laid.texts[1].font.color, kNavy);
    EXPECT_EQ(laid.texts[1].font.points, 10);

    // The value part changes the colour only; the size stays 10.
    EXPECT_EQ(laid.texts[2].text, "US");
    EXPECT_EQ(laid.texts[2].x, 200);
    EXPECT_EQ(laid.texts[2].font.color, kMaroon);
    EXPECT_EQ(laid.texts[2].font.points, 10);

    // The single closing tag ends both font changes.
    EXPECT_EQ(laid.texts[3].text, "tail");
    EXPECT_EQ(laid.texts[3].font, paneContext().baseFont);
    EXPECT_EQ(laid.texts[3].x, 220);
}

TEST(MarkupLayout, TabStopMovesOnlyRightwards) {
    // The label ends at 16 + 8 + 10 * n: 17 characters end at 194, 18 at 204.
    Laid shortLabel = lay(kKeyboardImage + kNavyLabel + std::string(17, 'a') + kValuePart + "v");
    EXPECT_EQ(shortLabel.texts.back().x, 200);

    Laid past = lay(kKeyboardImage + kNavyLabel + std::string(18, 'a') + kValuePart + "v");
    EXPECT_EQ(past.texts.back().x, 204);

    // A label wider than 200 pixels pushes the value directly after it, no gap added.
    Laid longLabel = lay(kKeyboardImage + kNavyLabel + std::string(25, 'L') + kValuePart + "v");
    EXPECT_EQ(longLabel.texts.back().x, 16 + 8 + 250);

    Laid landsOn = lay("<FONT size=\"10\">" + std::string(20, 'x') + kValuePart + "v");
    EXPECT_EQ(landsOn.texts.back().x, 200);
}

TEST(MarkupLayout, TabStopReadsOnlyTheLowerCaseQuotedX) {
    // A tab stop that does not act leaves "a" and "b" one run.
    EXPECT_EQ(lay("a<IND X=\"200\">b").texts.size(), 1u);
    EXPECT_EQ(lay("a<IND x=200>b").texts.size(), 1u);
    EXPECT_EQ(lay("a<IND x=\"wide\">b").texts.size(), 1u);
    EXPECT_EQ(lay("a<ind x=\"120\">b").texts.back().x, 120);
    // Tab stops are measured from the line's left edge, not from the previous one.
    EXPECT_EQ(lay("a<IND x=\"50\">b<IND x=\"70\">c").texts.back().x, 70);
}

TEST(MarkupLayout, FontSizesOneToFiveAreTheHtmlSizesAndOthersArePoints) {
    const std::pair<const char*, int> cases[] = {
        {"1", 8}, {"2", 10}, {"3", 12}, {"4", 14}, {"5", 16}, {"6", 6}, {"11", 11}, {"14", 14},
    };
    for (auto [size, points] : cases) {
        Laid laid = lay(std::string("<FONT size=\"") + size + "\">x");
        ASSERT_EQ(laid.texts.size(), 1u) << size;
        EXPECT_EQ(laid.texts[0].font.points, points) << "size " << size;
    }
    // Unusable sizes leave the size as it was.
    for (const char* size : {"0", "-3", "12pt", "", "+2", "99999"}) {
        Laid laid = lay(std::string("<FONT size=\"12\"><FONT size=\"") + size + "\">x");
        EXPECT_EQ(laid.texts[0].font.points, 12) << "size \"" << size << "\"";
    }
    EXPECT_EQ(lay("<FONT size=12>x").texts[0].font.points, 8);  // unquoted: not read
}

TEST(MarkupLayout, AnAttributeLeftOutKeepsItsValue) {
    Laid laid =
        lay("<FONT color=\"clred\" size=\"14\">a<FONT size=\"2\">b<FONT color=\"clteal\">c");
    ASSERT_EQ(laid.texts.size(), 3u);
    EXPECT_EQ(laid.texts[1].font.color, Color::rgb(255, 0, 0));
    EXPECT_EQ(laid.texts[1].font.points, 10);
    EXPECT_EQ(laid.texts[2].font.color, Color::rgb(0, 128, 128));
    EXPECT_EQ(laid.texts[2].font.points, 10);
}

TEST(MarkupLayout, ClosingFontRestoresTheStartingFontWithoutNesting) {
    Laid laid =
        lay("<FONT color=\"clred\" size=\"3\" face=\"Arial\">a<FONT color=\"clblue\">b</FONT>c"
            "</FONT>d");
    ASSERT_EQ(laid.texts.size(), 3u);
    EXPECT_EQ(laid.texts[1].font.face, "Arial");
    EXPECT_EQ(laid.texts[2].text, "cd");  // both after the first /FONT: one run
    EXPECT_EQ(laid.texts[2].font, paneContext().baseFont);
}

TEST(MarkupLayout, EveryColourNameWhateverItsCase) {
    const std::pair<const char*, Color> names[] = {
        {"clblack", Color::rgb(0, 0, 0)},        {"clmaroon", Color::rgb(128, 0, 0)},
        {"clgreen", Color::rgb(0, 128, 0)},      {"clolive", Color::rgb(128, 128, 0)},
        {"clnavy", Color::rgb(0, 0, 128)},       {"clpurple", Color::rgb(128, 0, 128)},
        {"clteal", Color::rgb(0, 128, 128)},     {"clgray", Color::rgb(128, 128, 128)},
        {"clsilver", Color::rgb(192, 192, 192)}, {"clred", Color::rgb(255, 0, 0)},
        {"cllime", Color::rgb(0, 255, 0)},       {"clyellow", Color::rgb(255, 255, 0)},
        {"clblue", Color::rgb(0, 0, 255)},       {"clfuchsia", Color::rgb(255, 0, 255)},
        {"claqua", Color::rgb(0, 255, 255)},     {"clwhite", Color::rgb(255, 255, 255)},
    };
    for (auto [name, color] : names) {
        std::string upper(name);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string mixed(name);
        mixed[0] = 'C';
        mixed[2] = static_cast<char>(std::toupper(static_cast<unsigned char>(mixed[2])));
        for (const std::string& written : {std::string(name), upper, mixed}) {
            Laid laid = lay("<FONT color=\"" + written + "\">x");
            EXPECT_EQ(laid.texts[0].font.color, color) << written;
        }
    }
}

TEST(MarkupLayout, HexColoursSystemColoursAndUnknownNames) {
    auto colorOf = [](const std::string& written) {
        return lay("<FONT color=\"clred\"><FONT color=\"" + written + "\">x").texts[0].font.color;
    };
    EXPECT_EQ(colorOf("#80FF0a"), Color::rgb(0x80, 0xFF, 0x0A));
    EXPECT_EQ(colorOf("#000080"), kNavy);
    EXPECT_EQ(colorOf("clWindowText"), kWindowText);
    EXPECT_EQ(colorOf("CLINFOBK"), Color::system(syscolor::kInfoBk));
    EXPECT_EQ(colorOf("clBtnFace"), Color::system(syscolor::kBtnFace));
    // Anything else is black, not the colour before.
    for (const char* bad : {"clorange", "", "#12345", "#1234567", "#GG0000", "red", "clnavy "}) {
        EXPECT_EQ(colorOf(bad), kBlack) << "\"" << bad << "\"";
    }
}

TEST(MarkupLayout, ImagesScaleWithTheScreenButTabStopsDoNot) {
    MarkupContext context = paneContext();
    context.dpiX = 120;
    context.dpiY = 120;
    Laid laid = lay(kKeyboardImage + kNavyLabel + "Mode" + kValuePart + "On" + kEnd, context);
    ASSERT_EQ(laid.images.size(), 1u);
    EXPECT_EQ(laid.images[0].width, 20);
    EXPECT_EQ(laid.images[0].height, 20);
    EXPECT_EQ(laid.texts[0].x, 20);  // the blank after the image
    EXPECT_EQ(laid.texts.back().x, 200);
    EXPECT_GE(laid.layout.height, 20);

    context.dpiX = 144;
    context.dpiY = 144;
    EXPECT_EQ(lay("<IMG src=\"idx:0\"></IMG>x", context).texts[0].x, 24);
}

TEST(MarkupLayout, TheLineIsAtLeastAsHighAsItsImage) {
    MarkupContext context = paneContext();
    context.dpiY = 192;
    Laid laid = lay("<IMG src=\"idx:2\">x", context);
    EXPECT_EQ(laid.layout.height, 32 + 4);  // 32 above the baseline, the text's 4 below it
    // Image and text share the baseline.
    EXPECT_EQ(laid.images[0].y + laid.images[0].height, laid.texts[0].y + 8);
}

TEST(MarkupLayout, AMissingImageDrawsNothingAndDoesNotMove) {
    for (const char* src : {"idx:7", "idx:70", "idx:-1", "idx:", "idx:one", "1", "file:1"}) {
        Laid laid = lay(std::string("<IMG src=\"") + src + "\"></IMG>x");
        EXPECT_TRUE(laid.images.empty()) << src;
        ASSERT_EQ(laid.texts.size(), 1u);
        EXPECT_EQ(laid.texts[0].x, 0) << src;
    }
    Laid noImages = lay("<IMG src=\"idx:0\">x", MarkupContext{});
    EXPECT_TRUE(noImages.images.empty());
    EXPECT_EQ(lay("<IMG>x").texts[0].x, 0);
    EXPECT_EQ(lay("<IMG src=\"idx:6\">x").images.at(0).index, 6);
}

TEST(MarkupLayout, RuleIsBelowTheTextAcrossTheLineAndEndsIt) {
    Laid laid = lay("<FONT size=\"14\">Report</FONT><HR>hidden<FONT color=\"clred\">also");
    ASSERT_EQ(laid.rules.size(), 1u);
    ASSERT_EQ(laid.texts.size(), 1u);
    EXPECT_EQ(laid.texts[0].text, "Report");
    EXPECT_EQ(laid.rules[0].x, 0);
    EXPECT_EQ(laid.rules[0].y, 21);  // below the 14-point text
    EXPECT_EQ(laid.rules[0].width, 345);
    EXPECT_EQ(laid.layout.height, 22);

    Laid alone = lay("<hr>");
    ASSERT_EQ(alone.rules.size(), 1u);
    EXPECT_TRUE(alone.texts.empty());
    EXPECT_EQ(alone.rules[0].y, 12);  // an empty row of the list's font above it
}

TEST(MarkupLayout, UnknownTagsAreSkipped) {
    Laid laid = lay("a<BLINK>b</BLINK><P align=\"center\">c<TABLE><tr>d</IMG>");
    ASSERT_EQ(laid.texts.size(), 1u);
    EXPECT_EQ(laid.texts[0].text, "abcd");
    EXPECT_EQ(laid.texts[0].font, paneContext().baseFont);
}

TEST(MarkupLayout, PlainLinesUseTheListFont) {
    Laid laid = lay("Generic PS/2 keyboard");
    ASSERT_EQ(laid.texts.size(), 1u);
    EXPECT_EQ(laid.texts[0].font, paneContext().baseFont);
    EXPECT_EQ(laid.layout.height, 12);

    // Spacer lines: one blank, or nothing at all; both as high as the list's font.
    EXPECT_EQ(lay(" ").layout.height, 12);
    Laid empty = lay("");
    EXPECT_TRUE(empty.layout.items.empty());
    EXPECT_EQ(empty.layout.height, 12);
}

TEST(MarkupLayout, EntitiesAreDecodedAndNeverStartTags) {
    Laid laid = lay("&lt;b&gt;x&amp;y&nbsp;z&amp;lt;&copy;");
    ASSERT_EQ(laid.texts.size(), 1u);
    EXPECT_EQ(laid.texts[0].text, "<b>x&y z&lt;&copy;");
    EXPECT_FALSE(laid.texts[0].font.bold);
}

TEST(MarkupLayout, ALessThanSignWithoutAClosingOneIsText) {
    EXPECT_EQ(lay("a < b").texts.at(0).text, "a < b");
    EXPECT_EQ(lay("<FONT color=\"clred\">x<y").texts.at(0).text, "x<y");
    // With a ">" further on, an unescaped "<" does start a tag and takes the text up to it with
    // it - the reason every value is escaped.
    Laid laid = lay(kNavyLabel + "Path" + kValuePart + "C:<dir" + kEnd + "after");
    EXPECT_EQ(laid.texts.back().text, "C:after");
    EXPECT_EQ(laid.texts.back().font.color, kMaroon);
}

TEST(MarkupLayout, EscapedValuesShowExactlyAsStored) {
    const std::string printer = "<b>Lab & \"Main\"</b>";
    std::string title = "<FONT color=\"clnavy\" size=\"12\">" + escapeMarkup(printer) + "</FONT>";
    Laid laid = lay(title);
    ASSERT_EQ(laid.texts.size(), 1u);
    EXPECT_EQ(laid.texts[0].text, printer);
    EXPECT_FALSE(laid.texts[0].font.bold);
    EXPECT_EQ(laid.texts[0].font.color, kNavy);

    // A registry value holding a lone "<" keeps the rest of its line.
    Laid item =
        lay(kKeyboardImage + kNavyLabel + "Name" + kValuePart + escapeMarkup("<") + kEnd + "after");
    EXPECT_EQ(item.texts[2].text, "<");
    EXPECT_EQ(item.texts[2].x, 200);
    EXPECT_EQ(item.texts[3].text, "after");
    EXPECT_EQ(item.texts[3].font, paneContext().baseFont);
}

TEST(MarkupLayout, StylesTheProgramNeverWritesAreDrawnSensibly) {
    Laid laid = lay("<B>b</B><i>i</I><U>u</U><S>s</S><strike>k</strike>n");
    ASSERT_EQ(laid.texts.size(), 6u);
    EXPECT_TRUE(laid.texts[0].font.bold);
    EXPECT_EQ(laid.texts[0].width, 9);  // measured in bold
    EXPECT_TRUE(laid.texts[1].font.italic);
    EXPECT_FALSE(laid.texts[1].font.bold);
    EXPECT_TRUE(laid.texts[2].font.underline);
    EXPECT_TRUE(laid.texts[3].font.strikeOut);
    EXPECT_TRUE(laid.texts[4].font.strikeOut);
    EXPECT_EQ(laid.texts[5].font, paneContext().baseFont);
    EXPECT_EQ(laid.texts[5].x, 9 + 4 * 8);

    // Styles survive /FONT, which restores face, size and colour only.
    Laid kept = lay("<B><FONT color=\"clred\">a</FONT>b");
    EXPECT_TRUE(kept.texts.at(0).font.bold);
    EXPECT_EQ(kept.texts.at(0).text, "a");
    EXPECT_TRUE(kept.texts.at(1).font.bold);
}

TEST(MarkupLayout, LineBreakStartsANewRowAtTheLeftEdge) {
    Laid laid = lay("first<BR>second<br/>third");
    ASSERT_EQ(laid.texts.size(), 3u);
    EXPECT_EQ(laid.texts[1].x, 0);
    EXPECT_EQ(laid.texts[1].y, 12);
    EXPECT_EQ(laid.texts[2].y, 24);
    EXPECT_EQ(laid.layout.height, 36);
    EXPECT_EQ(laid.layout.width, 48);  // "second"
}

TEST(MarkupLayout, WordWrapBreaksBetweenWordsWithinTheWidth) {
    MarkupContext context = paneContext();
    context.wordWrap = true;
    context.width = 100;  // 12 characters of 8 pixels
    Laid laid = lay("alpha beta gamma delta", context);
    ASSERT_EQ(laid.texts.size(), 2u);
    EXPECT_EQ(laid.texts[0].text, "alpha beta");  // the blank at the break is dropped
    EXPECT_EQ(laid.texts[1].text, "gamma delta");
    EXPECT_EQ(laid.texts[1].x, 0);
    EXPECT_EQ(laid.texts[1].y, 12);
    EXPECT_EQ(laid.layout.height, 24);
    EXPECT_LE(laid.layout.width, 100);

    // A word wider than the line stays whole; a value pushed past the edge goes below.
    Laid wide = lay("abcdefghijklmnopq r", context);
    EXPECT_EQ(wide.texts.at(0).text, "abcdefghijklmnopq");
    Laid value = lay("label<IND x=\"90\"><FONT color=\"clmaroon\">value", context);
    ASSERT_EQ(value.texts.size(), 2u);
    EXPECT_EQ(value.texts[1].x, 0);
    EXPECT_EQ(value.texts[1].y, 12);

    context.wordWrap = false;
    EXPECT_EQ(lay("alpha beta gamma delta", context).layout.height, 12);
}

TEST(MarkupLayout, WordWrapKeepsTextThatFillsTheWidthExactlyOnOneRow) {
    MarkupContext context = paneContext();
    context.wordWrap = true;
    context.width = 80;  // "alpha beta": ten characters of 8 pixels
    EXPECT_EQ(lay("alpha beta", context).texts.size(), 1u);
    EXPECT_EQ(lay("alpha betas", context).texts.size(), 2u);
}

TEST(MarkupLayout, TabCharactersGoToTheListsTabStops) {
    MarkupContext context = paneContext();
    context.tabStops = {80};
    Laid laid = lay("Mouse\tPS/2\tend", context);
    ASSERT_EQ(laid.texts.size(), 2u);
    EXPECT_EQ(laid.texts[1].x, 80);
    EXPECT_EQ(laid.texts[1].text, "PS/2 end");  // past the last stop a tab is a blank
}

TEST(MarkupLayout, RowHeightFollowsTheLargestFont) {
    Laid laid = lay("<FONT size=\"12\">Keyboard</FONT> small");
    ASSERT_EQ(laid.texts.size(), 2u);
    EXPECT_EQ(laid.layout.height, 18);
    // The small text sits on the same baseline, lower down.
    EXPECT_EQ(laid.texts[0].y, 0);
    EXPECT_EQ(laid.texts[1].y, 4);
}

}  // namespace
}  // namespace tamux
