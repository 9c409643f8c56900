#include "ui/section_list.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace tamux {
namespace {

class RecordingView : public SectionListView {
  public:
    std::vector<std::string> calls;
    void setRedraw(bool on) override { calls.push_back(on ? "redraw on" : "redraw off"); }
    void repaint() override { calls.push_back("repaint"); }
};

// Records the events in order as text.
struct EventLog {
    std::vector<std::string> events;
    void attach(SectionList& list) {
        list.onExpandSection = [this](int s) { events.push_back("expand " + std::to_string(s)); };
        list.onContractSection = [this](int s) {
            events.push_back("contract " + std::to_string(s));
        };
        list.onSectionClick = [this](int s) { events.push_back("heading " + std::to_string(s)); };
        list.onSubItemClick = [this](int s, int i) {
            events.push_back("line " + std::to_string(s) + "," + std::to_string(i));
        };
    }
};

// Two sections of three and two lines.
void fill(SectionList& list) {
    ListSection& first = list.addSection();
    first.setCaption("Input devices");
    first.subItems().assign({"Mouse", "Keyboard", "Tablet"});
    ListSection& second = list.addSection();
    second.setCaption("Printers");
    second.subItems().assign({"Laser", "Inkjet"});
}

TEST(SectionList, NewSectionsAreEmptyContractedAndWithoutImage) {
    SectionList list;
    ListSection& section = list.addSection();
    EXPECT_EQ(section.caption(), "");
    EXPECT_EQ(section.imageIndex(), -1);
    EXPECT_EQ(section.state(), SectionState::Contracted);
    EXPECT_EQ(section.subItems().count(), 0);
    EXPECT_EQ(section.controlType(), SectionControlType::Text);
    ListSection* added = &list.addSection();
    EXPECT_EQ(added, &list.section(1));
    EXPECT_EQ(list.section(1).index(), 1);
    EXPECT_THROW(list.section(2), Error);
    list.clearSections();
    EXPECT_EQ(list.sectionCount(), 0);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(SectionList, LinesAddReplaceFindAndCopy) {
    SectionList list;
    SubItems& lines = list.addSection().subItems();
    lines.add("<FONT color=\"clgreen\" size=\"10\"> CAPS </FONT>");
    lines.add("second", 4);
    lines.add("<font COLOR=\"clgreen\" size=\"10\"> caps </font>");
    EXPECT_EQ(lines.count(), 3);
    EXPECT_EQ(lines.indexOf("<FONT color=\"clgreen\" size=\"10\"> caps </FONT>"), 0);
    EXPECT_EQ(lines.indexOf("SECOND"), 1);
    EXPECT_EQ(lines.indexOf("second "), -1);
    EXPECT_EQ(lines.indexOf(""), -1);

    lines.set(1, "replaced");
    EXPECT_EQ(lines[1], "replaced");
    EXPECT_EQ(lines.imageIndex(1), 4);  // replacing the text keeps the image
    EXPECT_THROW(lines.set(3, "x"), Error);
    EXPECT_THROW(lines[-1], Error);

    std::vector<std::string> source = {"a", "b"};
    lines.assign(source);
    source[0] = "changed afterwards";
    EXPECT_EQ(lines.lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lines.imageIndex(1), -1);  // a copied string list carries no images

    SectionList other;
    SubItems& copy = other.addSection().subItems();
    lines.setImageIndex(0, 2);
    lines.setTicked(1, true);
    copy.assign(lines);
    EXPECT_EQ(copy.lines(), lines.lines());
    EXPECT_EQ(copy.imageIndex(0), 2);
    EXPECT_TRUE(copy.ticked(1));
}

TEST(SectionList, ImageIndexOfLinesOutsideTheListReadsMinusOneAndCannotBeSet) {
    SectionList list;
    SubItems& lines = list.addSection().subItems();
    lines.assign({"a", "b"});
    lines.setImageIndex(1, 6);
    EXPECT_EQ(lines.imageIndex(1), 6);
    EXPECT_EQ(lines.imageIndex(0), -1);
    for (int outside : {-1, 2, 100}) {
        EXPECT_EQ(lines.imageIndex(outside), -1);
        try {
            lines.setImageIndex(outside, 1);
            ADD_FAILURE() << "setting image of line " << outside << " did not raise";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Access of imageindex of non-existing subitem");
        }
    }
    EXPECT_EQ(lines.imageIndex(1), 6);
}

TEST(SectionList, RedrawSuspensionCountsAndRepaintsOnceAtTheEnd) {
    SectionList list;
    RecordingView view;
    list.setView(&view);

    list.resumeRedraw();  // at 0: nothing, and the counter does not go below 0
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(list.redrawSuspension(), 0);

    list.suspendRedraw();
    list.suspendRedraw();
    fill(list);
    list.section(0).setState(SectionState::Expanded);
    list.resumeRedraw();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"redraw off"}));
    list.resumeRedraw();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"redraw off", "redraw on", "repaint"}));

    view.calls.clear();
    list.suspendRedraw();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"redraw off"}));
}

TEST(SectionList, ChangingALineShowsAtOnceOnlyWhenItsSectionIsOpen) {
    SectionList list;
    fill(list);
    RecordingView view;
    list.setView(&view);
    list.section(1).subItems().set(0, "Laser 2");
    EXPECT_TRUE(view.calls.empty());

    list.section(0).setState(SectionState::Expanded);
    view.calls.clear();
    list.section(0).subItems().set(2, "Pen");
    list.section(0).subItems().add("Joystick");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"repaint", "repaint"}));
    EXPECT_EQ(list.rowCount(), 2 + 4);
}

TEST(SectionList, RowsFollowTheSectionStates) {
    SectionList list;
    fill(list);
    EXPECT_EQ(list.rowCount(), 2);
    list.section(1).setState(SectionState::Expanded);
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.row(0), (SectionList::Row{0, -1}));
    EXPECT_EQ(list.row(1), (SectionList::Row{1, -1}));
    EXPECT_EQ(list.row(3), (SectionList::Row{1, 1}));
    EXPECT_EQ(list.rowTop(3), 60);
    EXPECT_EQ(list.contentHeight(), 80);

    list.section(0).setState(SectionState::Expanded);
    EXPECT_EQ(list.rowIndex({1, 1}), 6);
    list.section(0).setState(SectionState::Contracted);
    EXPECT_EQ(list.rowIndex({0, 0}), -1);
}

TEST(SectionList, TallLinesGetTallerRows) {
    SectionList list;
    fill(list);
    list.section(0).setState(SectionState::Expanded);
    list.setLineMeasure([](const ListSection& section, int item) {
        return section.subItems()[item] == "Keyboard" ? 45 : 12;
    });
    EXPECT_EQ(list.rowHeight(1), 20);  // never below the line height
    EXPECT_EQ(list.rowHeight(2), 45);
    EXPECT_EQ(list.rowTop(3), 20 + 20 + 45);
    EXPECT_EQ(list.rowAt(84), 2);
    EXPECT_EQ(list.rowAt(85), 3);
}

TEST(SectionList, ScrollingStaysWithinTheContent) {
    SectionList list;
    for (int s = 0; s < 5; ++s) {
        ListSection& section = list.addSection();
        section.subItems().assign(std::vector<std::string>(4, "line"));
        section.setState(SectionState::Expanded);
    }
    list.setViewportHeight(100);  // content: 5 x 100 pixels
    EXPECT_EQ(list.maxScrollOffset(), 400);

    list.scrollSectionToTop(2);
    EXPECT_EQ(list.scrollOffset(), 200);
    EXPECT_EQ(list.rowAt(0), list.rowIndex({2, -1}));
    EXPECT_EQ(list.rowAt(25), list.rowIndex({2, 0}));

    list.scrollSectionToTop(4);
    EXPECT_EQ(list.scrollOffset(), 400);
    list.section(4).setState(SectionState::Contracted);
    // The last heading cannot come further up than the end of the content allows.
    list.scrollSectionToTop(4);
    EXPECT_EQ(list.scrollOffset(), 320);
    EXPECT_EQ(list.rowAt(99), list.rowIndex({4, -1}));
    EXPECT_EQ(list.rowAt(100), -1);

    list.scrollBy(-1000);
    EXPECT_EQ(list.scrollOffset(), 0);
    list.scrollBy(35);
    EXPECT_EQ(list.scrollOffset(), 35);
    EXPECT_EQ(list.rowAt(-1), -1);

    list.clearSections();
    EXPECT_EQ(list.scrollOffset(), 0);
}

TEST(SectionList, ClickingHeadingsWithActiveGlyphsExpandsAndContracts) {
    SectionList list;
    fill(list);
    EventLog log;
    log.attach(list);
    list.setViewportHeight(300);

    list.mouseDown(MouseButton::Left, 50, 25);  // heading of section 1
    EXPECT_TRUE(list.section(1).expanded());
    EXPECT_EQ(list.currentRow(), 1);
    list.mouseDown(MouseButton::Left, 50, 45);  // its first line
    list.mouseDown(MouseButton::Left, 50, 21);
    EXPECT_FALSE(list.section(1).expanded());
    EXPECT_EQ(log.events, (std::vector<std::string>{"expand 1", "heading 1", "line 1,0",
                                                    "contract 1", "heading 1"}));

    log.events.clear();
    list.mouseDown(MouseButton::Right, 50, 5);
    list.mouseDown(MouseButton::Left, 50, 200);        // below the last row
    list.section(0).setState(SectionState::Expanded);  // the program's own changes raise nothing
    EXPECT_TRUE(log.events.empty());
}

TEST(SectionList, ClickingHeadingsWithInactiveGlyphsOnlyReportsTheClick) {
    SectionListGeometry geometry;
    geometry.expandGlyphsActive = false;
    SectionList list(geometry);
    fill(list);
    EventLog log;
    log.attach(list);
    list.setViewportHeight(300);
    list.mouseDown(MouseButton::Left, 50, 5);
    EXPECT_FALSE(list.section(0).expanded());
    list.keyDown(ListKey::Enter);
    EXPECT_FALSE(list.section(0).expanded());
    EXPECT_EQ(log.events, (std::vector<std::string>{"heading 0", "heading 0"}));
}

TEST(SectionList, TickBoxesToggleWithTheMouseInsideTheBoxAndWithTheSpaceBar) {
    SectionList list;
    fill(list);
    list.setViewportHeight(300);
    for (int s = 0; s < 2; ++s) {
        list.section(s).setControlType(SectionControlType::TickBox);
        list.section(s).setState(SectionState::Expanded);
    }
    SubItems& devices = list.section(0).subItems();
    const int mouseRowY = 25;
    for (int x : {14, 29, 0, 100}) {
        list.mouseDown(MouseButton::Left, x, mouseRowY);
        EXPECT_FALSE(devices.ticked(0)) << "x = " << x;
    }
    list.mouseDown(MouseButton::Left, 15, mouseRowY);
    EXPECT_TRUE(devices.ticked(0));
    list.mouseDown(MouseButton::Left, 28, mouseRowY);
    EXPECT_FALSE(devices.ticked(0));

    // The space bar ticks the current line...
    list.setCurrentRow(list.rowIndex({1, 1}));
    list.keyDown(ListKey::Space);
    EXPECT_TRUE(list.section(1).subItems().ticked(1));
    EXPECT_FALSE(list.section(1).subItems().ticked(0));

    // ...and opens or closes the current heading.
    list.setCurrentRow(list.rowIndex({1, -1}));
    list.keyDown(ListKey::Space);
    EXPECT_FALSE(list.section(1).expanded());
    list.keyDown(ListKey::Space);
    EXPECT_TRUE(list.section(1).expanded());

    // Read-only and plain sections keep their ticks.
    list.section(0).setReadOnly(true);
    list.mouseDown(MouseButton::Left, 20, mouseRowY);
    list.setCurrentRow(list.rowIndex({0, 1}));
    list.keyDown(ListKey::Space);
    EXPECT_FALSE(devices.ticked(0));
    EXPECT_FALSE(devices.ticked(1));
    list.section(0).setReadOnly(false);
    list.section(0).setControlType(SectionControlType::Text);
    list.mouseDown(MouseButton::Left, 20, mouseRowY);
    EXPECT_FALSE(devices.ticked(0));
}

TEST(SectionList, TicksOutsideTheListAreFalseAndIgnored) {
    SectionList list;
    SubItems& lines = list.addSection().subItems();
    lines.add("only");
    lines.setTicked(5, true);
    lines.setTicked(-1, true);
    EXPECT_FALSE(lines.ticked(5));
    EXPECT_FALSE(lines.ticked(0));
    lines.setTicked(0, true);
    EXPECT_TRUE(lines.ticked(0));
}

TEST(SectionList, CurrentRowMovesWithTheKeysAndStaysVisible) {
    SectionList list;
    fill(list);
    list.section(0).setState(SectionState::Expanded);
    list.section(1).setState(SectionState::Expanded);  // 7 rows of 20
    list.setViewportHeight(50);
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.currentSection(), -1);
    list.keyDown(ListKey::Down);
    EXPECT_EQ(list.currentRow(), 0);
    list.keyDown(ListKey::End);
    EXPECT_EQ(list.currentRow(), 6);
    EXPECT_EQ(list.currentSection(), 1);
    EXPECT_EQ(list.scrollOffset(), 140 - 50);
    list.keyDown(ListKey::Down);
    EXPECT_EQ(list.currentRow(), 6);
    list.keyDown(ListKey::PageUp);
    EXPECT_EQ(list.currentRow(), 3);
    list.keyDown(ListKey::Home);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.scrollOffset(), 0);
    list.keyDown(ListKey::PageDown);
    EXPECT_EQ(list.currentRow(), 2);
    list.keyDown(ListKey::Up);
    EXPECT_EQ(list.currentRow(), 1);
}

TEST(SectionList, TheCurrentLineFallsBackToItsHeadingWhenItGoesAway) {
    SectionList list;
    fill(list);
    list.section(0).setState(SectionState::Expanded);
    list.setCurrentRow(list.rowIndex({0, 2}));
    list.section(0).setState(SectionState::Contracted);
    EXPECT_EQ(list.currentRow(), 0);
    list.section(0).setState(SectionState::Expanded);
    EXPECT_EQ(list.currentRow(), 0);  // it does not jump back into the section

    list.setCurrentRow(list.rowIndex({0, 2}));
    list.section(0).subItems().assign({"only one"});
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.currentSection(), 0);

    list.clearSections();
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_EQ(list.currentSection(), -1);
}

TEST(SectionList, MouseReleaseIsReportedWithButtonAndPosition) {
    SectionList list;
    fill(list);
    std::vector<std::string> released;
    list.onMouseUp = [&](MouseButton button, int x, int y) {
        released.push_back((button == MouseButton::Right ? "right " : "other ") +
                           std::to_string(x) + "," + std::to_string(y));
    };
    list.mouseUp(MouseButton::Right, 7, 33);
    list.mouseUp(MouseButton::Left, 1, 2);
    EXPECT_EQ(released, (std::vector<std::string>{"right 7,33", "other 1,2"}));
}

TEST(SectionList, AHandlerMayRebuildTheListItIsCalledFrom) {
    SectionList list;
    fill(list);
    list.setViewportHeight(300);
    list.onExpandSection = [&](int) {
        list.clearSections();
        list.addSection().setCaption("rebuilt");
    };
    list.mouseDown(MouseButton::Left, 50, 5);
    ASSERT_EQ(list.sectionCount(), 1);
    EXPECT_EQ(list.section(0).caption(), "rebuilt");
}

}  // namespace
}  // namespace tamux
