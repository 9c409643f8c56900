// The wait dialog's operations: one dialog at a time, its texts, the cursor, and the failures of
// its window that must neither stop the work it announces nor leave a dialog behind.
#include "app/wait_set.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tamux {
namespace {

using Log = std::vector<std::string>;

struct ViewFaults {
    bool create = false, show = false, hide = false;
};

class FakeWaitView : public WaitDialogView {
  public:
    FakeWaitView(const WaitDialog& dialog, Log& log, const ViewFaults& faults)
        : dialog_(dialog), log_(log), faults_(faults) {}
    ~FakeWaitView() override { log_.push_back("destroy"); }
    void show() override {
        log_.push_back("show " + dialog_.caption + " / " + dialog_.labelWait);
        if (faults_.show) throw std::runtime_error("cannot show");
    }
    void captionChanged() override { log_.push_back("caption " + dialog_.caption); }
    void textChanged() override { log_.push_back("text " + dialog_.labelWait); }
    void hide() override {
        log_.push_back("hide");
        if (faults_.hide) throw std::runtime_error("cannot hide");
    }

  private:
    const WaitDialog& dialog_;
    Log& log_;
    const ViewFaults& faults_;
};

class WaitSetTest : public ::testing::Test {
  protected:
    WaitSetTest() {
        waits.setViews([this](const WaitDialog& dialog) -> std::unique_ptr<WaitDialogView> {
            ++created;
            if (faults.create) throw std::runtime_error("no window");
            return std::make_unique<FakeWaitView>(dialog, log, faults);
        });
        waits.setCursor([this](bool hourglass) { log.push_back(hourglass ? "wait" : "arrow"); });
    }

    ViewFaults faults;
    Log log;
    int created = 0;
    WaitSet waits;
};

TEST_F(WaitSetTest, OneDialogAtATimeFromShowToHide) {
    waits.showWaitDialog();
    waits.showWaitDialog();  // a second one is not made
    waits.setWaitCaption("Please wait...");
    waits.setWaitText("Updating the hardware list...");
    ASSERT_NE(waits.dlgWaitSet(), nullptr);
    EXPECT_EQ(waits.dlgWaitSet()->labelWait, "Updating the hardware list...");
    waits.hideWaitDialog();
    waits.hideWaitDialog();  // nothing left to hide

    EXPECT_EQ(created, 1);
    EXPECT_EQ(waits.dlgWaitSet(), nullptr);
    const std::string czech =
        "show \xC8"
        "ekejte pros\xEDm.... / Aktualizuji seznam hardwaru, po\xE8kejte pros\xEDm...";
    EXPECT_EQ(log, (Log{czech, "wait", "caption Please wait...",
                        "text Updating the hardware list...", "hide", "destroy", "arrow"}));
}

TEST_F(WaitSetTest, ADialogCanBeShownAgainAfterItWasHidden) {
    waits.showWaitDialog();
    waits.hideWaitDialog();
    waits.showWaitDialog();
    EXPECT_EQ(created, 2);
    ASSERT_NE(waits.dlgWaitSet(), nullptr);
    // A new dialog starts with its own texts again.
    EXPECT_EQ(waits.dlgWaitSet()->caption, kInitialWaitCaption);
}

TEST_F(WaitSetTest, AWindowThatCannotBeMadeLeavesNoDialogAndTheTextsGoNowhere) {
    faults.create = true;
    EXPECT_NO_THROW(waits.showWaitDialog());
    EXPECT_EQ(waits.dlgWaitSet(), nullptr);
    EXPECT_NO_THROW(waits.setWaitCaption("Please wait..."));
    EXPECT_NO_THROW(waits.setWaitText("Updating..."));
    waits.hideWaitDialog();
    EXPECT_TRUE(log.empty()) << log.front();  // no cursor change either

    // The next request tries again.
    faults.create = false;
    waits.showWaitDialog();
    EXPECT_NE(waits.dlgWaitSet(), nullptr);
}

TEST_F(WaitSetTest, AWindowThatCannotBeShownIsStillDestroyedByHide) {
    faults.show = true;
    EXPECT_NO_THROW(waits.showWaitDialog());
    ASSERT_NE(waits.dlgWaitSet(), nullptr);
    waits.hideWaitDialog();
    EXPECT_EQ(waits.dlgWaitSet(), nullptr);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "hide");
    EXPECT_EQ(log[2], "destroy");
    EXPECT_EQ(log[3], "arrow");
}

TEST_F(WaitSetTest, AWindowThatCannotBeHiddenIsStillDestroyedAndTheCursorRestored) {
    faults.hide = true;
    waits.showWaitDialog();
    EXPECT_NO_THROW(waits.hideWaitDialog());
    EXPECT_EQ(waits.dlgWaitSet(), nullptr);
    EXPECT_EQ(log.back(), "arrow");
    EXPECT_EQ(log[log.size() - 2], "destroy");
}

}  // namespace
}  // namespace tamux
