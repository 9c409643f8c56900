// The main window's start-up on simulated machines: the captions in the language of the module
// loaded first, the left pane's categories and entries, the printers, and what is left of the
// window when one step fails.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/main_form.h"
#include "devices/printers/printer_info.h"
#include "lang/lang_module.h"
#include "platform/sim/sim_registry.h"
#include "tests/unit/app/form_harness.h"
#include "ui/markup_text.h"

namespace tamux::test {
namespace {

std::vector<std::string> buttonCaptions(const MainForm& form) {
    std::vector<std::string> captions;
    for (int i = 0; i < kFormButtonCount; ++i) {
        captions.push_back(form.Button(static_cast<FormButton>(i)).caption);
    }
    return captions;
}

// A section list's content in one comparable value.
struct PaneSection {
    std::string caption;
    int image;
    SectionState state;
    std::vector<std::string> lines;
    std::vector<int> images;
    bool operator==(const PaneSection&) const = default;
};

std::vector<PaneSection> content(const SectionList& pane) {
    std::vector<PaneSection> sections;
    for (int s = 0; s < pane.sectionCount(); ++s) {
        const ListSection& section = pane.section(s);
        PaneSection copy{section.caption(), section.imageIndex(), section.state(), {}, {}};
        for (int i = 0; i < section.subItems().count(); ++i) {
            copy.lines.push_back(section.subItems()[i]);
            copy.images.push_back(section.subItems().imageIndex(i));
        }
        sections.push_back(copy);
    }
    return sections;
}

std::vector<std::string> printerEntries(const PrinterList& printers) {
    std::vector<std::string> entries;
    for (int i = 0; i < printers.count(); ++i) {
        PrinterInfo info;
        printers.getPrinter(i, info);
        entries.push_back(printerEntryCaption(info.printerName.value_or("")));
    }
    return entries;
}

TEST(formCreate, FillsTheWindowInEnglishOnWindowsXP) {
    FormHarness h({.databases = true});
    MainForm& form = h.start();

    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
    EXPECT_EQ(buttonCaptions(form),
              (std::vector<std::string>{"Report", "About", "Language", "Minimize", "Close"}));
    EXPECT_EQ(form.captionLabel(), "Input and output devices");

    ASSERT_EQ(h.left.sectionCount(), 2);
    const std::vector<PaneSection> left = content(h.left);
    EXPECT_EQ(left[0], (PaneSection{"Input devices",
                                    kInputDevicesHeadingImage,
                                    SectionState::Contracted,
                                    {"Mouse", "Keyboard"},
                                    {kMouseImage, kKeyboardImage}}));
    EXPECT_EQ(left[1].caption, "Printers");
    EXPECT_EQ(left[1].image, kPrinterHeadingImage);
    EXPECT_EQ(left[1].state, SectionState::Contracted);
    // The sample's two printers, in the spooler's order, each with the printer image.
    ASSERT_EQ(form.printers().count(), 2);
    EXPECT_EQ(left[1].lines, printerEntries(form.printers()));
    EXPECT_EQ(left[1].images, (std::vector<int>{kPrinterImage, kPrinterImage}));
    EXPECT_EQ(h.right.sectionCount(), 0);

    // The facts are gathered, the names completed from the shipped databases.
    EXPECT_FALSE(h.state().devices.empty());
    int named = 0;
    for (const DeviceEntry& device : h.state().devices) {
        if ((device.className == "Mouse" || device.className == "Keyboard") &&
            !device.displayName.empty()) {
            ++named;
        }
    }
    EXPECT_GT(named, 0) << "no keyboard or mouse named from the databases";
    EXPECT_FALSE(h.state().keyboard.keyboardName.empty());
    EXPECT_FALSE(h.state().keyboard.layouts.empty());
    EXPECT_FALSE(h.state().mouse.name.empty());
    // The window is told of every caption it shows.
    EXPECT_EQ(h.log,
              (EventLog{"button 0", "button 1", "button 2", "button 3", "button 4", "label"}));
}

TEST(formCreate, TakesTheSystemLanguageWhenTheSettingsNameNone) {
    // Windows 2000 in Czech, code page 1250; the texts arrive in it.
    FormHarness h({.sample = "win2000", .modules = {"EN", "CSY"}, .language = ""});
    MainForm& form = h.start();

    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
    EXPECT_EQ(buttonCaptions(form), (std::vector<std::string>{"Sestava", "O programu", "Jazyk",
                                                              "Minimalizovat", "Zav\xF8\xEDt"}));
    EXPECT_EQ(form.captionLabel(), "Vstupn\xED a v\xFDstupn\xED za\xF8\xEDzen\xED");
    EXPECT_EQ(h.left.section(0).caption(), "Vstupn\xED za\xF8\xEDzen\xED");
    EXPECT_EQ(h.left.section(1).caption(), "Tisk\xE1rny");
    EXPECT_EQ(h.left.section(0).subItems().lines(),
              (std::vector<std::string>{"My\x9A", "Kl\xE1vesnice"}));
}

TEST(formCreate, AMachineWithoutPrintersHasAnEmptyPrintersCategory) {
    FormHarness h({.sample = "empty"});
    h.start();
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
    EXPECT_EQ(h.left.section(1).caption(), "Printers");
    EXPECT_EQ(h.left.section(1).subItems().count(), 0);
    EXPECT_EQ(h.left.section(0).subItems().count(), 2);
}

// Every text the window, its panes and the wait message ask for, in every shipped language: a
// text id the program uses but a module lacks would show as the fallback text.
TEST(formCreate, EveryShippedModuleHoldsEveryTextTheWindowShows) {
    for (const char* code : {"EN", "ES", "DE", "FR", "IT", "RUS", "CSY"}) {
        SCOPED_TRACE(code);
        FormHarness h({.modules = {code}, .language = code});
        MainForm& form = h.start();
        ASSERT_TRUE(h.dialogs().messageBoxes().empty());
        std::vector<std::string> shown = buttonCaptions(form);
        shown.push_back(form.captionLabel());
        auto addPane = [&shown](const SectionList& pane) {
            for (const PaneSection& section : content(pane)) {
                shown.push_back(section.caption);
                shown.insert(shown.end(), section.lines.begin(), section.lines.end());
            }
        };
        addPane(h.left);
        form.leftCategoryExpanded(kInputDevicesCategory);
        addPane(h.right);
        form.leftCategoryExpanded(kPrintersCategory);
        ASSERT_EQ(h.right.sectionCount(), 3);  // the heading and the sample's two printers
        addPane(h.right);
        shown.push_back(h.waitCaption);
        shown.push_back(h.waitText);
        for (const std::string& text : shown) {
            EXPECT_EQ(text.find(kNoLoadMessage), std::string::npos) << text;
        }
    }
}

TEST(formCreate, WithoutALanguageModuleEveryCaptionIsTheFallbackText) {
    FormHarness h({.modules = {}});
    MainForm& form = h.start();
    // Only the missing module is reported; the window is built all the same.
    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(h.dialogs().messageBoxes()[0].caption, "Error");
    EXPECT_EQ(form.Button(CloseButton).caption, kNoLoadMessage);
    EXPECT_EQ(form.captionLabel(), kNoLoadMessage);
    // Headings are markup: the fallback text is escaped so that it is drawn, not read as a tag.
    EXPECT_EQ(h.left.section(1).caption(), escapeMarkup(kNoLoadMessage));
    EXPECT_EQ(h.left.section(1).subItems().count(), 2);
}

// A value of the wrong type in the keyboard's accessibility settings, as a script or another
// program may leave it: the filter keys' flags as a number instead of text.
const char kFlagsAsNumber[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Accessibility\\Keyboard Response]\r\n"
    "\"Flags\"=dword:0000007e\r\n";

TEST(formCreate, AFailingStepIsReportedAndTheLaterStepsStillRun) {
    FormHarness sound;
    sound.start();

    FormHarness h;
    h.machine().registry().importText(kFlagsAsNumber, "flags.reg");
    MainForm& form = h.start();

    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    const sim::MessageBoxCall& box = h.dialogs().messageBoxes()[0];
    EXPECT_EQ(box.text, "Invalid data type for 'Flags'");
    EXPECT_EQ(box.caption, "Zorv Info Tamux");
    EXPECT_EQ(box.type, platform::mb::kOk | platform::mb::kIconError);

    // What the keyboard collector read before the value stays; the rest of it is missing.
    const KeyboardFacts& keyboard = h.state().keyboard;
    EXPECT_EQ(keyboard.keyboardDelay, sound.state().keyboard.keyboardDelay);
    EXPECT_EQ(keyboard.layouts, sound.state().keyboard.layouts);
    EXPECT_FALSE(sound.state().keyboard.toggleKeysState.empty());
    EXPECT_TRUE(keyboard.toggleKeysState.empty());

    // Everything after that step is as on the sound machine.
    EXPECT_EQ(h.state().mouse, sound.state().mouse);
    EXPECT_EQ(buttonCaptions(form), buttonCaptions(sound.form()));
    EXPECT_EQ(form.captionLabel(), "Input and output devices");
    EXPECT_EQ(content(h.left), content(sound.left));
    EXPECT_EQ(h.left.section(1).subItems().count(), 2);
}

TEST(formCreate, ADeviceTreeThatCannotBeReadLeavesTheSettingsAndTheWindowComplete) {
    FormHarness h;
    // The first instance of the tree, its description of the wrong type.
    h.machine().registry().importText(
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\ACPI\\FixedButton\\2&daba3ff&0]\r\n"
        "\"DeviceDesc\"=dword:00000001\r\n",
        "tree.reg");
    h.start();

    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(h.dialogs().messageBoxes()[0].text, "Invalid data type for 'DeviceDesc'");
    // No keyboard device was listed, but its settings are the user's and are read.
    EXPECT_TRUE(h.state().keyboard.keyboardName.empty());
    EXPECT_FALSE(h.state().keyboard.layouts.empty());
    EXPECT_FALSE(h.state().keyboard.keyboardDelay.empty());
    EXPECT_EQ(h.left.section(0).subItems().lines(),
              (std::vector<std::string>{"Mouse", "Keyboard"}));
    EXPECT_EQ(h.left.section(1).subItems().count(), 2);
}

// Every sample machine starts without a message and shows both categories.
class FormCreateOnSamples : public ::testing::TestWithParam<const char*> {};

TEST_P(FormCreateOnSamples, StartsQuietlyAndShowsBothCategories) {
    FormHarness h({.sample = GetParam(), .databases = true});
    MainForm& form = h.start();
    for (const sim::MessageBoxCall& box : h.dialogs().messageBoxes()) {
        ADD_FAILURE() << "message at start: " << box.text;
    }
    EXPECT_EQ(h.left.section(1).subItems().lines(), printerEntries(form.printers()));

    form.leftCategoryExpanded(kInputDevicesCategory);
    ASSERT_EQ(h.right.sectionCount(), 3);
    EXPECT_EQ(h.rightLines(1), h.mouseLines());
    EXPECT_EQ(h.rightLines(2), h.keyboardLines());

    form.leftCategoryExpanded(kPrintersCategory);
    ASSERT_EQ(h.right.sectionCount(), 1 + form.printers().count());
    for (int i = 0; i < form.printers().count(); ++i) {
        EXPECT_EQ(h.rightLines(i + 1), h.printerLines(i)) << "printer " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, FormCreateOnSamples,
                         ::testing::Values("winxp", "winxp-user", "win95", "win98se", "winme",
                                           "nt4", "win2000", "vista", "empty"));

}  // namespace
}  // namespace tamux::test
