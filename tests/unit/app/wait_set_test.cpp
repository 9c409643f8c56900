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
    FakeWaitView(const TDlgWaitSet& dialog, Log& log, const ViewFaults& faults)
        : dialog_(dialog), log_(log), faults_(faults) {}
    ~FakeWaitView() override { log_.push_back("destroy"); }
    void Show() override {
        log_.push_back("show " + dialog_.Caption + " / " + dialog_.LabelWait);
        if (faults_.show) throw std::runtime_error("cannot show");
    }
    void CaptionChanged() override { log_.push_back("caption " + dialog_.Caption); }
    void TextChanged() override { log_.push_back("text " + dialog_.LabelWait); }
    void Hide() override {
        log_.push_back("hide");
        if (faults_.hide) throw std::runtime_error("cannot hide");
    }

  private:
    const TDlgWaitSet& dialog_;
    Log& log_;
    const ViewFaults& faults_;
};

class WaitSetTest : public ::testing::Test {
  protected:
    WaitSetTest() {
        waits.setViews([this](const TDlgWaitSet& dialog) -> std::unique_ptr<WaitDialogView> {
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
    waits.ShowWaitDialog();
    waits.ShowWaitDialog();  // a second one is not made
    waits.SetWaitCaption("Please wait...");
    waits.SetWaitText("Updating the hardware list...");
    ASSERT_NE(waits.DlgWaitSet(), nullptr);
    EXPECT_EQ(waits.DlgWaitSet()->LabelWait, "Updating the hardware list...");
    waits.HideWaitDialog();
    waits.HideWaitDialog();  // nothing left to hide

    EXPECT_EQ(created, 1);
    EXPECT_EQ(waits.DlgWaitSet(), nullptr);
    const std::string czech =
        "show \xC8"
        "ekejte pros\xEDm.... / Aktualizuji seznam hardwaru, po\xE8kejte pros\xEDm...";
    EXPECT_EQ(log, (Log{czech, "wait", "caption Please wait...",
                        "text Updating the hardware list...", "hide", "destroy", "arrow"}));
}

TEST_F(WaitSetTest, ADialogCanBeShownAgainAfterItWasHidden) {
    waits.ShowWaitDialog();
    waits.HideWaitDialog();
    waits.ShowWaitDialog();
    EXPECT_EQ(created, 2);
    ASSERT_NE(waits.DlgWaitSet(), nullptr);
    // A new dialog starts with its own texts again.
    EXPECT_EQ(waits.DlgWaitSet()->Caption, kInitialWaitCaption);
}

TEST_F(WaitSetTest, AWindowThatCannotBeMadeLeavesNoDialogAndTheTextsGoNowhere) {
    faults.create = true;
    EXPECT_NO_THROW(waits.ShowWaitDialog());
    EXPECT_EQ(waits.DlgWaitSet(), nullptr);
    EXPECT_NO_THROW(waits.SetWaitCaption("Please wait..."));
    EXPECT_NO_THROW(waits.SetWaitText("Updating..."));
    waits.HideWaitDialog();
    EXPECT_TRUE(log.empty()) << log.front();  // no cursor change either

    // The next request tries again.
    faults.create = false;
    waits.ShowWaitDialog();
    EXPECT_NE(waits.DlgWaitSet(), nullptr);
}

TEST_F(WaitSetTest, AWindowThatCannotBeShownIsStillDestroyedByHide) {
    faults.show = true;
    EXPECT_NO_THROW(waits.ShowWaitDialog());
    ASSERT_NE(waits.DlgWaitSet(), nullptr);
    waits.HideWaitDialog();
    EXPECT_EQ(waits.DlgWaitSet(), nullptr);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "hide");
    EXPECT_EQ(log[2], "destroy");
    EXPECT_EQ(log[3], "arrow");
}

TEST_F(WaitSetTest, AWindowThatCannotBeHiddenIsStillDestroyedAndTheCursorRestored) {
    faults.hide = true;
    waits.ShowWaitDialog();
    EXPECT_NO_THROW(waits.HideWaitDialog());
    EXPECT_EQ(waits.DlgWaitSet(), nullptr);
    EXPECT_EQ(log.back(), "arrow");
    EXPECT_EQ(log[log.size() - 2], "destroy");
}

}  // namespace
}  // namespace tamux
