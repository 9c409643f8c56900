// A language module that is not a PE file, is cut short, or lacks most texts: the program starts
// without a message, every missing text reads "<No load message>", and each device entry still
// holds that device's own lines - also where the mouse and keyboard entries are captioned alike.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devices/keyboard/keyboard_section.h"
#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_system.h"
#include "report/text_report.h"
#include "tests/unit/bad_input/program_view.h"
#include "ui/section_markup.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;

const std::string kNoText(kNoLoadMessage);

enum class Damage { NotAPeFile, Truncated, LacksIds };

const char* nameOf(Damage damage) {
    switch (damage) {
        case Damage::NotAPeFile:
            return "NotAPeFile";
        case Damage::Truncated:
            return "Truncated";
        case Damage::LacksIds:
            return "LacksIds";
    }
    return "";
}

fs::path englishModule(FormHarness& h) {
    return h.machine().hostPath(langModuleFileName(h.machine().system().executablePath(), "EN"));
}

void damageModule(FormHarness& h, Damage damage) {
    const fs::path module = englishModule(h);
    switch (damage) {
        case Damage::NotAPeFile:
            std::ofstream(module, std::ios::binary | std::ios::trunc)
                << "[Texts]\r\n1=Input and output devices\r\n";
            break;
        case Damage::Truncated:
            // The headers are there; the sections they describe end early.
            fs::resize_file(module, fs::file_size(module) / 2);
            break;
        case Damage::LacksIds:
            fs::copy_file(TAMUX_SHORT_MODULE, module, fs::copy_options::overwrite_existing);
            break;
    }
}

std::string setting(FormHarness& h, std::string_view key) {
    return h.machine().profile().getString(settingsFilePath(h.machine().system().executablePath()),
                                           kOptionsSection, key, "(absent)", kIniValueBufferSize);
}

class BadLanguageModule : public ::testing::TestWithParam<Damage> {};

TEST_P(BadLanguageModule, StartsQuietlyWithTheFallbackTextAndEveryDeviceInItsOwnEntry) {
    FormHarness sound({.databases = true});
    sound.start();
    const Seen expected = look(sound);

    FormHarness h({.databases = true});
    damageModule(h, GetParam());
    h.start();
    const Seen seen = look(h);

    EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
    const std::string report = GetParam() == Damage::LacksIds ? "Report" : kNoText;
    EXPECT_EQ(seen.captions.front(), report);
    EXPECT_EQ(seen.entries, (std::vector<std::string>{kNoText, kNoText, expected.entries[2],
                                                      expected.entries[3]}))
        << "the mouse and keyboard texts fall back; printer names are their own";
    // The choice stays: the module is there, and a newer one may be put in its place.
    EXPECT_EQ(setting(h, kLanguageKey), "EN");
    EXPECT_EQ(setting(h, kRunLangKey), "EN");

    // The facts are the machine's, whatever the labels; only those made of texts differ.
    EXPECT_EQ(h.state().devices, sound.state().devices);
    EXPECT_EQ(h.state().keyboard.keyboardName, sound.state().keyboard.keyboardName);
    EXPECT_EQ(h.state().keyboard.layouts, sound.state().keyboard.layouts);
    EXPECT_EQ(h.state().mouse.name, sound.state().mouse.name);
    EXPECT_EQ(h.state().mouse.doubleClickSpeed, sound.state().mouse.doubleClickSpeed);
    EXPECT_EQ(h.state().keyboard.toggleKeysState, kNoText);

    // Both entries are captioned alike, yet each section holds its own device's lines: the name
    // on top, and as many lines as on the sound machine.
    ASSERT_EQ(seen.inputDevices.size(), 3u);
    // The headings and the labels that fell back are drawn, not taken for tags.
    EXPECT_EQ(seen.mouse().caption, kNoText);
    EXPECT_EQ(seen.keyboard().caption, kNoText);
    EXPECT_EQ(seen.mouse().lines.at(1), kNoText);
    EXPECT_EQ(seen.mouse().lines.front(), expected.mouse().lines.front());
    EXPECT_EQ(seen.mouse().lines.size(), expected.mouse().lines.size());
    EXPECT_EQ(seen.keyboard().lines.front(), expected.keyboard().lines.front());
    EXPECT_EQ(seen.keyboard().lines.size(), expected.keyboard().lines.size());
    ASSERT_EQ(seen.printers.size(), expected.printers.size());
    for (std::size_t i = 1; i < seen.printers.size(); ++i) {
        EXPECT_EQ(seen.printers[i].lines.size(), expected.printers[i].lines.size());
    }
}

TEST_P(BadLanguageModule, TheLockKeysRewriteTheKeyboardSectionOnly) {
    FormHarness h({.databases = true});
    damageModule(h, GetParam());
    MainForm& form = h.start();
    form.leftCategoryExpanded(kInputDevicesCategory);
    const std::vector<std::string> mouse = h.rightLines(1);

    h.machine().keyboard().pressKey(sim::kVkCapital);
    h.application().processMessages();

    EXPECT_EQ(h.rightLines(1), mouse) << "the mouse section got indicator lines";
    const std::vector<std::string> keyboard = h.rightLines(2);
    EXPECT_NE(std::find(keyboard.begin(), keyboard.end(),
                        sectionLineMarkup(DeviceKind::Keyboard,
                                          lockIndicatorLine(LockKey::CapsLock, true))),
              keyboard.end());
}

TEST_P(BadLanguageModule, TheReportHoldsEachDevicesOwnLines) {
    FormHarness h({.databases = true});
    damageModule(h, GetParam());
    h.start();
    const auto report = saveEverything(h, "C:\\report.txt");
    ASSERT_TRUE(report.has_value()) << "nothing saved";
    // Each section as the text report writes it, apart from the frame around it.
    auto asReported = [&](const DeviceSection& section) {
        const LangModule& lang = h.state().lang;
        const ReportDocument alone{
            "",  {{"", "", {section}}}, "", lang.getLangText(kOnText), lang.getLangText(kOffText),
            1252};
        const std::vector<std::string> lines = textReportLines(alone);
        return std::vector<std::string>(lines.begin() + 4, lines.end() - 4);
    };
    const std::vector<std::string> mouse = asReported(h.mouseSection());
    const std::vector<std::string> keyboard = asReported(h.keyboardSection());
    const auto at = [&](const std::vector<std::string>& lines) {
        return std::search(report->begin(), report->end(), lines.begin(), lines.end());
    };
    EXPECT_NE(at(mouse), report->end());
    EXPECT_NE(at(keyboard), report->end());
    EXPECT_LT(at(mouse), at(keyboard)) << "the mouse comes first, as in the window";
}

INSTANTIATE_TEST_SUITE_P(Damages, BadLanguageModule,
                         ::testing::Values(Damage::NotAPeFile, Damage::Truncated, Damage::LacksIds),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

}  // namespace
}  // namespace tamux::test
