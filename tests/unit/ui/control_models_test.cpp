// The small models behind the flat speed buttons and the section list's scroll bar.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/exclusive_group.h"
#include "ui/scroll_bar_geometry.h"

namespace tamux {
namespace {

ExclusiveGroup sevenFlags(std::vector<std::string>* changes = nullptr) {
    ExclusiveGroup group;
    for (int i = 0; i < 7; ++i) group.addButton();
    if (changes) {
        group.onChange = [changes](int button, bool down) {
            changes->push_back(std::to_string(button) + (down ? " down" : " up"));
        };
    }
    return group;
}

TEST(ExclusiveGroup, ClickingPutsOneButtonDownAndThePreviousOneUp) {
    std::vector<std::string> changes;
    ExclusiveGroup group = sevenFlags(&changes);
    EXPECT_EQ(group.downButton(), -1);
    EXPECT_TRUE(group.click(2));
    EXPECT_TRUE(group.click(4));
    EXPECT_EQ(group.downButton(), 4);
    EXPECT_FALSE(group.down(2));
    EXPECT_EQ(changes, (std::vector<std::string>{"2 down", "2 up", "4 down"}));

    // Clicking the button that is down leaves it down.
    changes.clear();
    EXPECT_FALSE(group.click(4));
    EXPECT_TRUE(group.down(4));
    EXPECT_TRUE(changes.empty());
}

TEST(ExclusiveGroup, DisabledButtonsIgnoreClicksButCanBePutDown) {
    ExclusiveGroup group = sevenFlags();
    group.setEnabled(1, false);
    EXPECT_FALSE(group.click(1));
    EXPECT_EQ(group.downButton(), -1);
    group.setDown(1, true);  // the stored language, even when its module is missing
    EXPECT_TRUE(group.down(1));
    group.click(3);
    EXPECT_EQ(group.downButton(), 3);
    EXPECT_FALSE(group.down(1));
    EXPECT_FALSE(group.click(7));
    EXPECT_FALSE(group.click(-1));
}

TEST(ExclusiveGroup, SettingDownKeepsAtMostOneDown) {
    ExclusiveGroup group = sevenFlags();
    group.setDown(0, true);
    group.setDown(6, true);
    int down = 0;
    for (int i = 0; i < group.buttonCount(); ++i) down += group.down(i) ? 1 : 0;
    EXPECT_EQ(down, 1);
    group.setDown(6, false);
    EXPECT_EQ(group.downButton(), -1);

    ExclusiveGroup optional(true);
    optional.addButton();
    optional.click(0);
    EXPECT_TRUE(optional.click(0));
    EXPECT_EQ(optional.downButton(), -1);
}

TEST(ScrollBarGeometry, ThumbShowsTheVisiblePartAndItsPlace) {
    ScrollBarGeometry bar{200, 1000, 250, 8};
    EXPECT_EQ(bar.maxOffset(), 750);
    EXPECT_EQ(bar.thumb(0).length, 50);
    EXPECT_EQ(bar.thumb(0).top, 0);
    EXPECT_EQ(bar.thumb(750).top, 150);
    EXPECT_EQ(bar.thumb(5000).top, 150);
    EXPECT_EQ(bar.thumb(375).top, 75);

    for (int offset : {0, 1, 137, 374, 749, 750}) {
        EXPECT_NEAR(bar.offsetForThumbTop(bar.thumb(offset).top), offset, 750 / 150) << offset;
    }
    EXPECT_EQ(bar.offsetForThumbTop(-20), 0);
    EXPECT_EQ(bar.offsetForThumbTop(1000), 750);
}

TEST(ScrollBarGeometry, NoThumbWhenEverythingFitsAndAMinimumOtherwise) {
    EXPECT_EQ((ScrollBarGeometry{200, 100, 250, 8}.thumb(0).length), 0);
    EXPECT_EQ((ScrollBarGeometry{200, 250, 250, 8}.thumb(0).length), 0);
    EXPECT_EQ((ScrollBarGeometry{200, 250, 250, 8}.offsetForThumbTop(50)), 0);
    EXPECT_EQ((ScrollBarGeometry{0, 1000, 250, 8}.thumb(10).length), 0);
    ScrollBarGeometry huge{100, 1000000, 100, 8};
    EXPECT_EQ(huge.thumb(0).length, 8);
    EXPECT_EQ(huge.thumb(huge.maxOffset()).top, 92);
    ScrollBarGeometry tiny{5, 1000, 100, 8};
    EXPECT_EQ(tiny.thumb(0).length, 5);
}

}  // namespace
}  // namespace tamux
