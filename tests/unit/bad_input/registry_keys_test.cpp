// Registry keys that refuse opening: nothing is reported, the facts that key would have given
// are empty, and everything else is as on the same machine with every key open. A limited
// account, which may read but not write the machine's keys, sees exactly what an administrator
// sees.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/keyboard/keyboard_facts.h"
#include "devices/mouse/mouse_facts.h"
#include "platform/registry.h"
#include "platform/sim/sim_registry.h"
#include "tests/unit/bad_input/program_view.h"

namespace tamux::test {
namespace {

using platform::RootKey;

const std::string kKeyboardDriver =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96B-E325-11CE-BFC1-08002BE10318}\\0000";

// A started XP machine with its databases, after `deny` has closed some keys.
struct DeniedRun {
    template <typename Deny>
    explicit DeniedRun(Deny deny) : h({.databases = true}) {
        deny(h.machine().registry());
        h.start();
        seen = look(h);
    }
    FormHarness h;
    Seen seen;
};

class KeysThatRefuseOpening : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        sound_ = new FormHarness({.databases = true});
        sound_->start();
        seen_ = new Seen(look(*sound_));
    }
    static void TearDownTestSuite() {
        delete seen_;
        delete sound_;
    }
    const Seen& expected() const { return *seen_; }
    const AppState& soundState() const { return sound_->state(); }

    // Nothing is reported, and the parts the denied keys do not feed are as on the sound machine.
    void expectQuietAndOtherwiseSound(const DeniedRun& run) {
        EXPECT_TRUE(run.seen.messages.empty()) << run.seen.messages.front();
        EXPECT_EQ(run.seen.captions, expected().captions);
        EXPECT_EQ(run.seen.entries, expected().entries);
        EXPECT_EQ(run.seen.printers, expected().printers);
    }

  private:
    static FormHarness* sound_;
    static Seen* seen_;
};

FormHarness* KeysThatRefuseOpening::sound_ = nullptr;
Seen* KeysThatRefuseOpening::seen_ = nullptr;

TEST_F(KeysThatRefuseOpening, TheMouseSettingsKeyLeavesTheSettingsEmpty) {
    DeniedRun run(
        [](sim::SimRegistry& r) { r.denyOpen(RootKey::CurrentUser, "Control Panel\\Mouse"); });
    expectQuietAndOtherwiseSound(run);

    MouseFacts expectedMouse = soundState().mouse;
    expectedMouse.buttonsText.clear();
    expectedMouse.doubleClickSpeed.clear();
    expectedMouse.sensitivity.clear();
    // No values match none of the named settings: "Other", never an empty acceleration.
    expectedMouse.accelerationText = "Other";
    EXPECT_EQ(run.h.state().mouse, expectedMouse);
    EXPECT_EQ(run.seen.mouse().lines[9], " Double-click speed");
    EXPECT_EQ(run.seen.keyboard(), expected().keyboard());
}

TEST_F(KeysThatRefuseOpening, TheDeviceTreeLeavesTheDeviceNamesAndDriversEmpty) {
    DeniedRun run([](sim::SimRegistry& r) {
        r.denyOpen(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum");
    });
    expectQuietAndOtherwiseSound(run);

    EXPECT_TRUE(run.h.state().devices.empty());
    // The user's own settings do not come from the tree.
    KeyboardFacts keyboard = soundState().keyboard;
    keyboard.keyboardName.clear();
    keyboard.driverDesc.clear();
    keyboard.providerName.clear();
    keyboard.driverVersion.clear();
    keyboard.driverDate.clear();
    keyboard.infPath.clear();
    EXPECT_EQ(run.h.state().keyboard, keyboard);
    MouseFacts mouse = soundState().mouse;
    mouse.name.clear();
    mouse.driverDesc.clear();
    mouse.providerName.clear();
    mouse.driverVersion.clear();
    mouse.driverDate.clear();
    mouse.infPath.clear();
    EXPECT_EQ(run.h.state().mouse, mouse);
    EXPECT_EQ(run.seen.keyboard().lines[0], "");
    EXPECT_EQ(run.seen.keyboard().lines[2], " Description");
}

TEST_F(KeysThatRefuseOpening, TheKeyboardDriverKeyLeavesTheDriverFactsEmpty) {
    DeniedRun run([](sim::SimRegistry& r) { r.denyOpen(RootKey::LocalMachine, kKeyboardDriver); });
    expectQuietAndOtherwiseSound(run);

    KeyboardFacts keyboard = soundState().keyboard;
    keyboard.driverDesc.clear();
    keyboard.providerName.clear();
    keyboard.driverVersion.clear();
    keyboard.driverDate.clear();
    keyboard.infPath.clear();
    EXPECT_EQ(run.h.state().keyboard, keyboard);
    EXPECT_EQ(run.h.state().devices, soundState().devices);
    EXPECT_EQ(run.seen.mouse(), expected().mouse());
}

TEST_F(KeysThatRefuseOpening, OneLayoutKeyLeavesThatLayoutsNameAndFileEmpty) {
    DeniedRun run([](sim::SimRegistry& r) {
        // Both paths the layout's name is looked for under.
        r.denyOpen(RootKey::LocalMachine,
                   "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts\\00000407");
        r.denyOpen(RootKey::LocalMachine,
                   "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\00000407");
    });
    expectQuietAndOtherwiseSound(run);

    KeyboardFacts keyboard = soundState().keyboard;
    ASSERT_EQ(keyboard.layouts.size(), 3u);
    ASSERT_EQ(keyboard.layouts[1].layoutId, "00000407");
    keyboard.layouts[1].layoutText.clear();
    keyboard.layouts[1].layoutFile.clear();
    EXPECT_EQ(run.h.state().keyboard, keyboard);
}

TEST_F(KeysThatRefuseOpening, ALimitedAccountSeesWhatAnAdministratorSees) {
    // Writing is refused under every root; every key is only ever opened for reading.
    DeniedRun run([](sim::SimRegistry& r) {
        r.denyAllAccess(RootKey::CurrentUser);
        r.denyAllAccess(RootKey::LocalMachine);
        r.denyAllAccess(RootKey::DynData);
    });
    expectQuietAndOtherwiseSound(run);
    EXPECT_EQ(run.seen.inputDevices, expected().inputDevices);
    EXPECT_EQ(run.h.state().devices, soundState().devices);
}

}  // namespace
}  // namespace tamux::test
