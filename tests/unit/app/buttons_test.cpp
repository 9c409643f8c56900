// The top bar: the pictures the pointer and the focus switch each button to, and what the
// buttons open.
#include <string>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "tests/unit/app/form_harness.h"

namespace tamux::test {
namespace {

const FormButton kButtons[] = {ReportBtn, AboutBtn, LangBtn, minimizeBtn, CloseBtn};

TEST(TopBar, HoverShowsNoFocusBitmapAndLosingTheFocusDisabledBitmap) {
    FormHarness h;
    TImputFrm& form = h.start();
    for (const FormButton which : kButtons) {
        SCOPED_TRACE(static_cast<int>(which));
        const TExplBtnModel& button = form.Button(which);
        ASSERT_NE(button.NoFocusBitmap, button.DisabledBitmap);
        EXPECT_EQ(button.Bitmap, button.DisabledBitmap);
        h.log.clear();

        form.ButtonMouseMove(which);
        EXPECT_EQ(button.Bitmap, button.NoFocusBitmap);
        form.ButtonMouseMove(which);  // every move reports; the picture changes once
        form.ButtonExit(which);
        EXPECT_EQ(button.Bitmap, button.DisabledBitmap);

        const std::string changed = "button " + std::to_string(static_cast<int>(which));
        EXPECT_EQ(h.log, (EventLog{changed, changed}));
    }
}

TEST(TopBar, MinimizeAndCloseGoToTheWindow) {
    FormHarness h;
    TImputFrm& form = h.start();
    h.log.clear();
    form.MinimizeBtnClick();
    form.CloseBtnClick();
    EXPECT_EQ(h.log, (EventLog{"minimize", "close"}));
}

TEST(TopBar, AboutAndLanguageOpenTheirDialogs) {
    FormHarness h;
    TImputFrm& form = h.start();
    form.AboutBtnClick();
    EXPECT_EQ(h.aboutViews, 1);
    EXPECT_EQ(h.languageViews, 0);

    form.LangBtnClick();
    EXPECT_EQ(h.languageViews, 1);
    // Closed again: the next click opens a new one.
    EXPECT_EQ(h.state().languageDialog.current, nullptr);
    form.LangBtnClick();
    EXPECT_EQ(h.languageViews, 2);
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
}

}  // namespace
}  // namespace tamux::test
