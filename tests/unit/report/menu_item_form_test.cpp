// The form of the pop-up menu's items on each sample machine's Windows.
#include "report/menu_item_form.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/machine.h"
#include "platform/sim/sim_system.h"
#include "tests/support/test_paths.h"

namespace tamux {
namespace {

struct FormRow {
    const char* machine;
    MenuItemForm form;
};

TEST(MenuItemForm, PicturesOnlyFromWindows98And2000On) {
    const std::vector<FormRow> rows = {
        {"win95", MenuItemForm::TextOnly},         {"nt4", MenuItemForm::TextOnly},
        {"win98se", MenuItemForm::TextAndPicture}, {"winme", MenuItemForm::TextAndPicture},
        {"win2000", MenuItemForm::TextAndPicture}, {"winxp", MenuItemForm::TextAndPicture},
        {"vista", MenuItemForm::TextAndPicture},
    };
    for (const FormRow& row : rows) {
        test::TempDir drive;
        auto machine = sim::Machine::load(test::sourceDir() / "samples" / "machines" / row.machine,
                                          drive.path());
        EXPECT_EQ(menuItemFormOf(machine->system()), row.form) << row.machine;
    }
}

TEST(MenuItemForm, AnUnreadableVersionTakesTheFormEverySystemKnows) {
    test::TempDir drive;
    auto machine = sim::Machine::blank(drive.path());
    machine->system().setVersionFails(true);
    EXPECT_EQ(menuItemFormOf(machine->system()), MenuItemForm::TextOnly);
}

}  // namespace
}  // namespace tamux
