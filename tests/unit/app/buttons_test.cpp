// The top bar: the pictures the pointer and the focus switch each button to, and what the
// buttons open.
#include <string>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "tests/unit/app/form_harness.h"

namespace tamux::test {
namespace {

const FormButton kButtons[] = {ReportButton, AboutButton, LanguageButton, MinimizeButton,
                               CloseButton};

TEST(TopBar, HoverShowsNoFocusBitmapAndLosingTheFocusDisabledBitmap) {
    FormHarness h;
    MainForm& form = h.start();
    for (const FormButton which : kButtons) {
        SCOPED_TRACE(static_cast<int>(which));
        const ExplorerButtonModel& button = form.Button(which);
        ASSERT_NE(button.noFocusBitmap, button.disabledBitmap);
        EXPECT_EQ(button.bitmap, button.disabledBitmap);
        h.log.clear();

        form.buttonMouseMove(which);
        EXPECT_EQ(button.bitmap, button.noFocusBitmap);
        form.buttonMouseMove(which);  // every move reports; the picture changes once
        form.buttonExit(which);
        EXPECT_EQ(button.bitmap, button.disabledBitmap);

        const std::string changed = "button " + std::to_string(static_cast<int>(which));
        EXPECT_EQ(h.log, (EventLog{changed, changed}));
    }
}

TEST(TopBar, MinimizeAndCloseGoToTheWindow) {
    FormHarness h;
    MainForm& form = h.start();
    h.log.clear();
    form.minimizeButtonClick();
    form.closeButtonClick();
    EXPECT_EQ(h.log, (EventLog{"minimize", "close"}));
}

TEST(TopBar, AboutAndLanguageOpenTheirDialogs) {
    FormHarness h;
    MainForm& form = h.start();
    form.aboutButtonClick();
    EXPECT_EQ(h.aboutViews, 1);
    EXPECT_EQ(h.languageViews, 0);

    form.languageButtonClick();
    EXPECT_EQ(h.languageViews, 1);
    // Closed again: the next click opens a new one.
    EXPECT_EQ(h.state().languageDialog.current, nullptr);
    form.languageButtonClick();
    EXPECT_EQ(h.languageViews, 2);
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
}

}  // namespace
}  // namespace tamux::test
