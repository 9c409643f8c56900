#include "about/about_dialog.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about/maker.h"
#include "about/sys_error_text.h"
#include "platform/errors.h"
#include "tests/unit/dialogs/program_folder.h"

namespace tamux {
namespace {

using platform::mb::kIconError;
using platform::mb::kIconInformation;

class AboutDialogTest : public test::ProgramFolderTest {
  protected:
    AboutDialog filled() {
        AboutDialog dialog(machine->platform());
        EXPECT_TRUE(dialog.setDlg());
        return dialog;
    }
};

TEST_F(AboutDialogTest, TheProgramsOwnVersionResourceFillsTheLabels) {
    installExecutable("tamux_version");
    const AboutDialog dialog = filled();
    EXPECT_EQ(dialog.labelName.caption, "Zorv Info Tamux");
    EXPECT_EQ(dialog.labelName.points, 16) << "15 characters keep the large font";
    EXPECT_EQ(dialog.labelName.top, 194);
    EXPECT_EQ(dialog.labelName.hint,
              "Imput/Output device information (keyboard, mouse, printers, ..)");
    EXPECT_EQ(dialog.labelVer.caption, "1.00");
    EXPECT_EQ(dialog.labelVer.hint, "Build:  1.0.0.608");
    EXPECT_EQ(dialog.labelCopyright, kMakerCopyright);
    EXPECT_EQ(dialog.labelWww, kMakerWebHost);
    EXPECT_EQ(dialog.labelMail, kMakerSupportMail);
    // No settings file: English.
    EXPECT_EQ(dialog.visibleFlag, AboutFlag::English);
    EXPECT_EQ(dialog.caption, "About");
    EXPECT_EQ(settingsFileContent(), "(no file)") << "reading the language writes nothing";
}

TEST_F(AboutDialogTest, ASixteenCharacterNameGetsTheSmallFontLowerDown) {
    installExecutable("version_short_translation");
    const AboutDialog dialog = filled();
    ASSERT_EQ(dialog.labelName.caption, "Zorv Info Tamux!");
    EXPECT_EQ(dialog.labelName.points, 12);
    EXPECT_EQ(dialog.labelName.top, 198);
}

TEST_F(AboutDialogTest, WithoutVersionResourceTheLabelsStayEmpty) {
    installExecutable("version_none");
    const AboutDialog dialog = filled();
    EXPECT_EQ(dialog.labelName.caption, "");
    EXPECT_EQ(dialog.labelName.points, 16);
    EXPECT_EQ(dialog.labelName.hint, "");
    EXPECT_EQ(dialog.labelVer.caption, "");
    EXPECT_EQ(dialog.labelVer.hint, "Build:  ");
    EXPECT_EQ(dialog.labelCopyright, "");
    EXPECT_EQ(dialog.labelWww, kMakerWebHost) << "the links do not come from the resource";
}

TEST_F(AboutDialogTest, RunLangPicksFlagAndTitleAfterUpperCasing) {
    installExecutable("tamux_version");
    struct Case {
        const char* runLang;
        AboutFlag flag;
        const char* title;
    };
    const Case cases[] = {
        {"de", AboutFlag::German,
         "\xDC"
         "ber Applikacion"},
        {"Es", AboutFlag::Spanish, "Sobre aplicati\xF3n"},
        {"CSY", AboutFlag::Czech, "O Aplikaci"},
        {"fr", AboutFlag::French, "About"},
        {"IT", AboutFlag::Italian, "About"},
        {"rus", AboutFlag::Russian, "About"},
        {"EN", AboutFlag::English, "About"},
        {"PL", AboutFlag::English, "About"},
        {"CZ", AboutFlag::English, "About"},  // a button label, not a code
        {"", AboutFlag::English, "About"},
        {"DEU", AboutFlag::English, "About"},
    };
    for (const Case& c : cases) {
        setSetting("RunLang", c.runLang);
        const AboutDialog dialog = filled();
        EXPECT_EQ(dialog.visibleFlag, c.flag) << "'" << c.runLang << "'";
        EXPECT_EQ(dialog.caption, c.title) << "'" << c.runLang << "'";
    }
}

TEST_F(AboutDialogTest, LinksOpenTheWebSiteAndTheMailAddressThroughTheShell) {
    AboutDialog dialog = filled();
    dialog.labelWwwDblClick();
    dialog.labelMailClick();
    ASSERT_EQ(launches().size(), 2u);
    EXPECT_EQ(launches()[0].verb, "open");
    EXPECT_EQ(launches()[0].file, "http://" + std::string(kMakerWebHost));
    EXPECT_EQ(launches()[1].file, "mailto:" + std::string(kMakerSupportMail));
    for (const sim::ShellExecuteCall& call : launches()) {
        EXPECT_EQ(call.parameters, "");
        EXPECT_EQ(call.directory, "");
        EXPECT_EQ(call.show, platform::kSwShowNormal);
    }
    EXPECT_TRUE(boxes().empty());
}

struct LinkFailureRow {
    std::intptr_t result;
    bool systemHasText;  // false: FormatMessage knows no text for the error code
    const char* text;
};

TEST_F(AboutDialogTest, AFailedLinkNamesShellExecutesOwnResultEvenWithNoLastError) {
    // As ShellExecute may, every failure leaves the last error saying all went well.
    machine->shell().setSetsLastError(false);
    machine->shell().setLastError(0);
    const std::vector<LinkFailureRow> rows = {
        {2, true,
         "Error no.2 of 'ShellExecute' design!\\n\\nSysErr: The system cannot find the file "
         "specified"},
        {0, true,
         "Error no.0 of 'ShellExecute' design!\\n\\nSysErr: Not enough storage is available to "
         "process this command"},
        {26, true,
         "Error no.26 of 'ShellExecute' design!\\n\\nSysErr: The process cannot access the file "
         "because it is being used by another process"},
        {31, true,
         "Error no.31 of 'ShellExecute' design!\\n\\nSysErr: No application is associated with "
         "the specified file for this operation"},
        {31, false,
         "Error no.31 of 'ShellExecute' design!\\n\\nSysErr: There is no application associated "
         "with the given file name extension"},
        {32, true,
         "Error no.32 of 'ShellExecute' design!\\n\\nSysErr: One of the library files needed to "
         "run this application cannot be found"},
    };
    AboutDialog dialog = filled();
    for (const LinkFailureRow& row : rows) {
        if (!row.systemHasText) machine->shell().setSystemMessage(1155, "");
        machine->shell().queueResult(row.result);
        dialog.labelWwwDblClick();
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().text, row.text);
        EXPECT_EQ(boxes().back().caption, "Error");
        EXPECT_EQ(boxes().back().type, kIconError);
    }
    EXPECT_EQ(boxes().size(), rows.size());
}

TEST_F(AboutDialogTest, ALinkErrorTextIsShownAsItIsEvenWithPercentSigns) {
    AboutDialog dialog = filled();
    machine->shell().setSystemMessage(5, "100%s %d denied.\r\n");
    machine->shell().queueResult(5);
    dialog.labelWwwDblClick();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error no.5 of 'ShellExecute' design!\\n\\nSysErr: 100%s %d denied");
}

TEST_F(AboutDialogTest, SysErrorTextDropsTrailingControlCharactersAndFullStopsOnly) {
    sim::SimShell& shell = machine->shell();
    EXPECT_EQ(sysErrorText(shell, 2), "SysErr: The system cannot find the file specified");
    shell.setSystemMessage(7000, "Several. Sentences here...\t \r\n");
    EXPECT_EQ(sysErrorText(shell, 7000), "SysErr: Several. Sentences here");
    // Letters of the code page's upper half are text, not control characters.
    shell.setSystemMessage(7001, "Soubor nenalezen: \xE1\xE9\r\n");
    EXPECT_EQ(sysErrorText(shell, 7001), "SysErr: Soubor nenalezen: \xE1\xE9");
    shell.setSystemMessage(7002, ". .\r\n");
    EXPECT_EQ(sysErrorText(shell, 7002), "SysErr: ");
    EXPECT_EQ(sysErrorText(shell, 0x2000FFFF), "SysErr: ") << "a code without text";
}

// The window, scripted: the script plays the user on the shown dialog and returns the result of
// the user's closing it, unless the dialog has set a modal result of its own, which the real
// window closes with.
class FakeAboutView : public AboutDialogView {
  public:
    FakeAboutView(AboutDialog& dialog, std::function<int(AboutDialog&)> script)
        : dialog_(dialog), script_(std::move(script)) {}
    int showModal() override {
        const int closedByUser = script_(dialog_);
        return dialog_.modalResult != 0 ? dialog_.modalResult : closedByUser;
    }

  private:
    AboutDialog& dialog_;
    std::function<int(AboutDialog&)> script_;
};

class ExecuteTest : public AboutDialogTest {
  protected:
    AboutViewFactory showing(std::function<int(AboutDialog&)> script) {
        return [this, script](AboutDialog& dialog) {
            ++windowsMade;
            return std::make_unique<FakeAboutView>(dialog, script);
        };
    }
    int windowsMade = 0;
};

TEST_F(ExecuteTest, TheDialogIsFilledBeforeItIsShownAndItsResultReturned) {
    installExecutable("tamux_version");
    setSetting("RunLang", "DE");
    std::string shownName, shownTitle;
    const int result = showAboutDialog(machine->platform(), showing([&](AboutDialog& dialog) {
                                           shownName = dialog.labelName.caption;
                                           shownTitle = dialog.caption;
                                           return kModalCancel;
                                       }));
    EXPECT_EQ(result, kModalCancel);
    EXPECT_EQ(windowsMade, 1);
    EXPECT_EQ(shownName, "Zorv Info Tamux");
    EXPECT_EQ(shownTitle,
              "\xDC"
              "ber Applikacion");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ExecuteTest, AWindowThatCannotBeMadeIsReportedThenNotShown) {
    AboutLauncher about(machine->platform(), [](AboutDialog&) -> std::unique_ptr<AboutDialogView> {
        throw Error("Window class not registered: 100%s");
    });
    EXPECT_EQ(about.execute(), kAboutNotShown);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text, "Error open dialog !\\n\\nWindow class not registered: 100%s");
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_EQ(boxes()[0].type, kIconError);
    EXPECT_EQ(boxes()[1].text, "Not show 'About' !");
    EXPECT_EQ(boxes()[1].caption, "Information");
    EXPECT_EQ(boxes()[1].type, kIconInformation);
}

TEST_F(ExecuteTest, AnErrorWhileShowingIsReportedLikeOneWhileCreating) {
    const int result = showAboutDialog(machine->platform(), showing([](AboutDialog&) -> int {
                                           throw std::runtime_error("out of handles");
                                       }));
    EXPECT_EQ(result, kAboutNotShown);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text, "Error open dialog !\\n\\nout of handles");
    EXPECT_EQ(boxes()[1].text, "Not show 'About' !");
}

TEST_F(ExecuteTest, NoWindowOrAResultOfThreeCountsAsNotShown) {
    EXPECT_EQ(showAboutDialog(machine->platform(), [](AboutDialog&) { return nullptr; }),
              kAboutNotShown);
    EXPECT_EQ(showAboutDialog(machine->platform(), showing([](AboutDialog&) { return 3; })), 3);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text, "Not show 'About' !");
    EXPECT_EQ(boxes()[1].text, "Not show 'About' !");
}

TEST_F(ExecuteTest, ALinkClickedInTheShownDialogKeepsItOpen) {
    machine->shell().queueResult(2);
    // The modal result after each click: a failed start and a good one both leave it at 0.
    std::vector<int> afterClicks;
    const int result = showAboutDialog(machine->platform(), showing([&](AboutDialog& dialog) {
                                           for (int i = 0; i < 2; ++i) {
                                               dialog.labelMailClick();
                                               afterClicks.push_back(dialog.modalResult);
                                           }
                                           return kModalCancel;  // the close box
                                       }));
    EXPECT_EQ(afterClicks, (std::vector<int>{0, 0}));
    EXPECT_EQ(result, kModalCancel);
    EXPECT_EQ(launches().size(), 2u);
    ASSERT_EQ(boxes().size(), 1u) << "only the failed start is reported";
    EXPECT_EQ(boxes()[0].text.substr(0, 10), "Error no.2");
}

}  // namespace
}  // namespace tamux
