// Errors that reach the top: shown with the application's title, and the program goes on.
#include "app/exception_report.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/sim/sim_dialogs.h"

namespace tamux {
namespace {

TEST(RunReportingErrors, ShowsTheErrorsMessageAndReportsTheFailure) {
    sim::SimDialogs dialogs;
    int after = 0;
    EXPECT_FALSE(
        RunReportingErrors(dialogs, [] { throw RegistryError("Failed to get data for 'x'"); }));
    EXPECT_TRUE(RunReportingErrors(dialogs, [&] { ++after; }));

    EXPECT_EQ(after, 1);
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.messageBoxes()[0].text, "Failed to get data for 'x'");
    EXPECT_EQ(dialogs.messageBoxes()[0].caption, "Zorv Info Tamux");
    EXPECT_EQ(dialogs.messageBoxes()[0].type, platform::mb::kOk | platform::mb::kIconError);
}

}  // namespace
}  // namespace tamux
