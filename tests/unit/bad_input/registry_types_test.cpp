// Registry values of every wrong type where the program reads a string, an integer or raw data.
// The user is told which value could not be read, in a message box over the running window; the
// step that met it loses what it had not read yet; every other part of the window is as on the
// same machine intact.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/mouse/mouse_section.h"
#include "platform/registry.h"
#include "platform/sim/sim_registry.h"
#include "tests/unit/bad_input/program_view.h"
#include "ui/section_markup.h"

namespace tamux::test {
namespace {

using platform::RootKey;
namespace regtype = platform::regtype;

// A value of a type, with data of a shape that type has on Windows.
struct TypedValue {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

const TypedValue kNone{"None", regtype::kNone, {}};
const TypedValue kSz{"Sz", regtype::kSz, {'5', '0', '0', 0}};
const TypedValue kExpandSz{"ExpandSz", regtype::kExpandSz, {'%', 'X', '%', 0}};
const TypedValue kBinary{"Binary", regtype::kBinary, {0xF4, 0x01}};
const TypedValue kDword{"Dword", regtype::kDword, {0xF4, 0x01, 0, 0}};
const TypedValue kBigEndian{"DwordBigEndian", regtype::kDwordBigEndian, {0, 0, 0x01, 0xF4}};
const TypedValue kLink{"Link", regtype::kLink, {'\\', 0, 'R', 0}};
const TypedValue kMultiSz{"MultiSz", regtype::kMultiSz, {'5', '0', '0', 0, 0}};
const TypedValue kResourceList{"ResourceList", regtype::kResourceList, {1, 0, 0, 0}};
const TypedValue kQword{"Qword", regtype::kQword, {0xF4, 0x01, 0, 0, 0, 0, 0, 0}};

std::string testName(const ::testing::TestParamInfo<TypedValue>& info) {
    return info.param.name;
}

const std::string kMouseKey = "Control Panel\\Mouse";

const Seen& soundXp() {
    static const Seen seen = [] {
        FormHarness h({.databases = true});
        h.start();
        return look(h);
    }();
    return seen;
}

// ---- A string read: the mouse's double-click speed ----

class StringReadOfAnotherType : public ::testing::TestWithParam<TypedValue> {};

TEST_P(StringReadOfAnotherType, NamesTheValueAndLosesOnlyTheMouseFactsAfterIt) {
    FormHarness sound({.databases = true});
    sound.start();

    FormHarness h({.databases = true});
    h.machine().registry().setValue(RootKey::CurrentUser, kMouseKey, "DoubleClickSpeed",
                                    GetParam().type, GetParam().data);
    h.start();
    const Seen seen = look(h);

    EXPECT_EQ(
        seen.messages,
        (std::vector<std::string>{"Zorv Info Tamux: Invalid data type for 'DoubleClickSpeed'"}));
    // The button order came before the bad value; the rest of the mouse's facts is missing and
    // shows as empty values.
    MouseFacts kept;
    kept.buttonsText = sound.state().mouse.buttonsText;
    EXPECT_EQ(h.state().mouse, kept);
    EXPECT_EQ(seen.mouse().lines, plain(sectionMarkup(mouseSection(kept, h.state().lang))));

    const Seen& expected = soundXp();
    EXPECT_EQ(seen.captions, expected.captions);
    EXPECT_EQ(seen.entries, expected.entries);
    EXPECT_EQ(seen.keyboard(), expected.keyboard());
    EXPECT_EQ(seen.printers, expected.printers);
    EXPECT_EQ(h.state().devices, sound.state().devices);
}

INSTANTIATE_TEST_SUITE_P(Types, StringReadOfAnotherType,
                         ::testing::Values(kNone, kBinary, kDword, kBigEndian, kLink, kMultiSz,
                                           kResourceList, kQword),
                         testName);

TEST(StringReadOfAnotherType, AnExpandableStringIsAStringAndShownUnexpanded) {
    FormHarness h({.databases = true});
    h.machine().registry().setValue(RootKey::CurrentUser, kMouseKey, "DoubleClickSpeed",
                                    kExpandSz.type, kExpandSz.data);
    h.start();
    const Seen seen = look(h);
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(h.state().mouse.doubleClickSpeed, "%X%");
}

// ---- An integer read: the present-flag of an NT 4 device ----

// On NT 4 the device tree is walked in name order; the display adapter (LEGACY_S3) lies between
// the keyboard port (LEGACY_I8042PRT) and the serial mouse (LEGACY_SERMOUSE).
const std::string kNt4Display = "SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_S3\\0000";

struct IntegerCase {
    TypedValue value;
    std::string message;
};

class IntegerReadOfAnotherType : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReadOfAnotherType, EndsTheDeviceListThereAndKeepsWhatWasFound) {
    FormHarness sound({.sample = "nt4"});
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.sample = "nt4"});
    h.machine().registry().setValue(RootKey::LocalMachine, kNt4Display, "StatusFlags",
                                    GetParam().value.type, GetParam().value.data);
    h.start();
    const Seen seen = look(h);

    EXPECT_EQ(seen.messages, (std::vector<std::string>{"Zorv Info Tamux: " + GetParam().message}));
    // The devices listed before the display adapter stay: the keyboard among them.
    const DeviceTable& devices = h.state().devices;
    const DeviceTable& all = sound.state().devices;
    ASSERT_LT(devices.size(), all.size());
    EXPECT_TRUE(std::equal(devices.begin(), devices.end(), all.begin()));
    EXPECT_EQ(seen.keyboard(), expected.keyboard());
    // The mouse came after it: its name and driver are missing, its settings are the user's.
    EXPECT_FALSE(sound.state().mouse.name.empty());
    EXPECT_EQ(h.state().mouse.name, "");
    EXPECT_EQ(h.state().mouse.driverDesc, "");
    EXPECT_EQ(h.state().mouse.doubleClickSpeed, sound.state().mouse.doubleClickSpeed);

    EXPECT_EQ(seen.captions, expected.captions);
    EXPECT_EQ(seen.entries, expected.entries);
    EXPECT_EQ(seen.printers, expected.printers);
}

std::vector<IntegerCase> integerCases() {
    std::vector<IntegerCase> cases;
    for (const TypedValue& value :
         {kNone, kSz, kExpandSz, kBinary, kBigEndian, kLink, kMultiSz, kResourceList, kQword}) {
        cases.push_back({value, "Invalid data type for 'StatusFlags'"});
    }
    // A DWORD of two bytes holds no number.
    cases.push_back(
        {{"ShortDword", regtype::kDword, {8, 0}}, "Failed to get data for 'StatusFlags'"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Types, IntegerReadOfAnotherType, ::testing::ValuesIn(integerCases()),
                         [](const auto& info) { return std::string(info.param.value.name); });

// ---- A raw read: the hardware ids of the XP machine's mouse ----

const std::string kXpMouse =
    "SYSTEM\\CurrentControlSet\\Enum\\HID\\VID_046D&PID_C00E\\6&3a24b5b0&0&0000";

class RawReadOfAnotherType : public ::testing::TestWithParam<TypedValue> {};

TEST_P(RawReadOfAnotherType, EndsTheDeviceListAtTheMouseAndKeepsTheKeyboard) {
    FormHarness sound({.databases = true});
    sound.start();

    FormHarness h({.databases = true});
    h.machine().registry().setValue(RootKey::LocalMachine, kXpMouse, "HardwareID", GetParam().type,
                                    GetParam().data);
    h.start();
    const Seen seen = look(h);

    EXPECT_EQ(seen.messages,
              (std::vector<std::string>{"Zorv Info Tamux: Invalid data type for 'HardwareID'"}));
    // The mouse's record was begun and stays, empty; those before it are complete.
    const DeviceTable& devices = h.state().devices;
    const DeviceTable& all = sound.state().devices;
    ASSERT_LT(devices.size(), all.size());
    EXPECT_TRUE(std::equal(devices.begin(), devices.end() - 1, all.begin()));
    EXPECT_EQ(devices.back(), tamux::DeviceEntry{});

    const Seen& expected = soundXp();
    EXPECT_EQ(seen.keyboard(), expected.keyboard());
    EXPECT_EQ(h.state().mouse.name, "");
    EXPECT_EQ(h.state().mouse.doubleClickSpeed, sound.state().mouse.doubleClickSpeed);
    EXPECT_EQ(seen.captions, expected.captions);
    EXPECT_EQ(seen.entries, expected.entries);
    EXPECT_EQ(seen.printers, expected.printers);
}

INSTANTIATE_TEST_SUITE_P(Types, RawReadOfAnotherType, ::testing::Values(kSz, kExpandSz, kDword),
                         testName);

TEST(RawReadOfAnotherType, EveryOtherTypeIsTakenAsItsBytes) {
    FormHarness sound({.databases = true});
    sound.start();
    // None of these raises: every device is listed, the mouse by the registry's description,
    // since its bytes name no device of the databases.
    for (const TypedValue& value : {kNone, kBinary, kBigEndian, kLink, kResourceList, kQword}) {
        FormHarness h({.databases = true});
        h.machine().registry().setValue(RootKey::LocalMachine, kXpMouse, "HardwareID", value.type,
                                        value.data);
        h.start();
        EXPECT_TRUE(h.dialogs().messageBoxes().empty()) << value.name;
        EXPECT_EQ(h.state().devices.size(), sound.state().devices.size()) << value.name;
        EXPECT_EQ(h.state().mouse.name, "HID-compliant mouse") << value.name;
        EXPECT_EQ(h.state().keyboard, sound.state().keyboard) << value.name;
    }
}

}  // namespace
}  // namespace tamux::test
