// The printed layout on a recording printer: where each line and footer lands, page breaks, and
// the text of each line.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/sim/recording_canvas.h"
#include "report/print_layout.h"

namespace tamux::test {
namespace {

using sim::PageSetup;
using sim::PrintedText;
using sim::RecordingCanvas;

const std::string kTitleText = std::string(32, ' ') + "ZorvInfo Report";

// A small page: 1000 x 1000 dots at 100 dpi. Margin 50, gap 10; a 10-point line is 14 high, a
// 14-point one 19, an 8-point footer 11.
PageSetup smallPage() {
    PageSetup page;
    page.width = 1000;
    page.height = 1000;
    page.logPixelsY = 100;
    return page;
}

TEST(printReport, LinesFollowEachOtherFromTheTopAtTheMargin) {
    RecordingCanvas canvas;  // A4 at 600 dpi: margin 248, gap 60
    printReport({plainLine(14, "A"), plainLine(10, " "), plainLine(2, "<b>Lab & co")}, canvas);

    const auto& log = *canvas.log();
    EXPECT_TRUE(log.mistakes.empty());
    ASSERT_EQ(log.documents.size(), 1u);
    EXPECT_EQ(log.documents[0].title, "Zorv Info Report");
    EXPECT_TRUE(log.documents[0].ended);
    ASSERT_EQ(log.documents[0].pages.size(), 1u);
    const std::vector<PrintedText>& texts = log.documents[0].pages[0].texts;
    ASSERT_EQ(texts.size(), 5u);
    // Each line's top is the previous top plus the line's own height ("X" at its size) and the
    // gap; the title line comes first.
    const int h14 = 117, h10 = 83, h2 = 17, h8 = 67, gap = 60;
    EXPECT_EQ(texts[0].text, kTitleText);
    EXPECT_EQ(texts[0].fontSize, 14);
    EXPECT_EQ(texts[0].y, h14 + gap);
    EXPECT_EQ(texts[1].text, "A");
    EXPECT_EQ(texts[1].y, texts[0].y + h14 + gap);
    EXPECT_EQ(texts[2].text, " ");
    EXPECT_EQ(texts[2].fontSize, 10);
    EXPECT_EQ(texts[2].y, texts[1].y + h10 + gap);
    // Text prints as it is.
    EXPECT_EQ(texts[3].text, "<b>Lab & co");
    EXPECT_EQ(texts[3].fontSize, 2);
    EXPECT_EQ(texts[3].y, texts[2].y + h2 + gap);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(texts[static_cast<std::size_t>(i)].x, 4961 / 20);

    // The footer starts at the middle of the page, above the bottom edge by its height and the
    // gap.
    EXPECT_EQ(texts[4].text, "-1.-");
    EXPECT_EQ(texts[4].fontSize, 8);
    EXPECT_EQ(texts[4].x, 4961 / 2);
    EXPECT_EQ(texts[4].y, 7016 - h8 - gap);
}

TEST(printReport, ALongReportRunsOverThreePagesEachWithItsFooter) {
    std::vector<TextLine> lines;
    for (int i = 0; i < 90; ++i) lines.push_back(plainLine(10, "line " + std::to_string(i)));
    RecordingCanvas canvas(smallPage());
    printReport(lines, canvas);

    const auto& log = *canvas.log();
    EXPECT_TRUE(log.mistakes.empty());
    ASSERT_EQ(log.documents.size(), 1u);
    const auto& pages = log.documents[0].pages;
    ASSERT_EQ(pages.size(), 3u);

    std::vector<std::string> printed;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& texts = pages[p].texts;
        ASSERT_GE(texts.size(), 2u);
        const PrintedText& footer = texts.back();
        EXPECT_EQ(footer.text, "-" + std::to_string(p + 1) + ".-");
        EXPECT_EQ(footer.x, 500);
        EXPECT_EQ(footer.y, 1000 - 11 - 10);
        EXPECT_EQ(footer.fontSize, 8);
        // A new page starts one line height and a gap from the top.
        if (p > 0) {
            EXPECT_EQ(texts.front().y, 14 + 10);
        }
        for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
            printed.push_back(texts[i].text);
            // No line reaches into the bottom margin, where the footer is.
            EXPECT_LE(texts[i].y + 14, 1000 - 50) << texts[i].text;
        }
        // The page is full: the next line would not have fitted.
        if (p + 1 < pages.size()) {
            EXPECT_GT(texts[texts.size() - 2].y + 24 + 14, 1000 - 50);
        }
    }
    ASSERT_EQ(printed.size(), lines.size() + 1);
    EXPECT_EQ(printed.front(), kTitleText);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(printed[i + 1], "line " + std::to_string(i));
    }
}

TEST(printReport, ALineTallerThanThePageStillPrintsOnItsOwnPage) {
    PageSetup tiny = smallPage();
    tiny.height = 80;  // margin 50: not even the title fits
    RecordingCanvas canvas(tiny);
    printReport({plainLine(10, "a")}, canvas);
    const auto& pages = canvas.log()->documents.at(0).pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].texts.at(0).text, kTitleText);
    EXPECT_EQ(pages[0].texts.at(1).text, "-1.-");
    EXPECT_EQ(pages[1].texts.at(0).text, "a");
    EXPECT_EQ(pages[1].texts.at(1).text, "-2.-");
}

TEST(printReport, AJobThatCannotStartIsAnErrorAndPrintsNothing) {
    PageSetup failing;
    failing.beginFails = true;
    RecordingCanvas canvas(failing);
    EXPECT_THROW(printReport({plainLine(10, "x")}, canvas), Error);
    EXPECT_TRUE(canvas.log()->documents.empty());
    EXPECT_TRUE(canvas.log()->mistakes.empty());
}

TEST(printReport, ValuesStartAtTheirTabStopScaledToThePrinterOrAfterALongLabel) {
    PageSetup page = smallPage();
    page.logPixelsX = 192;  // twice the panes' resolution: a tab stop of 200 lands 400 dots in
    RecordingCanvas canvas(page);
    TextLine item = plainLine(10, "Label");
    item.value = "value";
    item.tabStop = 200;
    TextLine paper = plainLine(10, "A4");
    paper.indent = 70;
    TextLine longLabel = plainLine(10, std::string(120, 'L'));
    longLabel.value = "after";
    longLabel.tabStop = 200;
    TextLine noValue = item;
    noValue.value = "";
    printReport({item, paper, longLabel, noValue}, canvas);

    const auto& texts = canvas.log()->documents.at(0).pages.at(0).texts;
    ASSERT_EQ(texts.size(), 8u);  // title, two cells, paper, two cells, a label alone, footer
    EXPECT_EQ(texts[1].text, "Label");
    EXPECT_EQ(texts[1].x, 50);
    EXPECT_EQ(texts[2].text, "value");
    EXPECT_EQ(texts[2].x, 50 + 400);
    EXPECT_EQ(texts[2].y, texts[1].y);
    EXPECT_EQ(texts[3].text, "A4");
    EXPECT_EQ(texts[3].x, 50 + 140);
    // 120 characters of 10 points at 192 dpi are 1600 dots: the value follows a blank later.
    EXPECT_EQ(texts[5].text, "after");
    EXPECT_EQ(texts[5].x, 50 + 1600 + 13);
    EXPECT_EQ(texts[6].text, "Label");
    EXPECT_EQ(texts[7].text, "-1.-");
}

TEST(pageFooter, NumbersInDecimal) {
    EXPECT_EQ(pageFooter(1), "-1.-");
    EXPECT_EQ(pageFooter(12), "-12.-");
}

}  // namespace
}  // namespace tamux::test
