// A settings file whose "Language" or "RunLang" is 5,000 characters long, or names a path: the
// user is told that no module of that language exists, the program runs in English and stores
// "EN", and the file's other sections and keys stay as they were. The About dialog shows English
// for a "RunLang" it does not know.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about/about_dialog.h"
#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "platform/dialogs.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_resource_modules.h"
#include "platform/sim/sim_system.h"
#include "tests/unit/bad_input/program_view.h"

namespace tamux::test {
namespace {

const std::string kOtherSections =
    "[Window]\r\nLeft=10\r\nTop=20\r\n\r\n[Report]\r\nFolder=C:\\\r\n";

std::string settingsPath(FormHarness& h) {
    return settingsFilePath(h.machine().system().executablePath());
}

std::string missingModuleMessage(const std::string& code) {
    return "Jazykov\xE1 mutace " + code + " modulu neexistuje!";
}

// A machine whose settings file holds `options` and two other sections.
void writeSettings(FormHarness& h, const std::string& options) {
    putFile(h.machine(), settingsPath(h), "[Options]\r\n" + options + "\r\n" + kOtherSections);
}

// What the settings file holds now: "[Options]" with the two values, then the other sections.
std::string expectedSettings(const std::string& language, const std::string& runLang) {
    return "[Options]\r\nLanguage=" + language + "\r\nRunLang=" + runLang + "\r\n" + kOtherSections;
}

class LanguageSetting : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        FormHarness sound({.modules = {"EN", "DE"}, .databases = true});
        sound.start();
        sound_ = new Seen(look(sound));
    }
    static void TearDownTestSuite() { delete sound_; }

    // The program fell back to English and shows what it shows on the sound machine.
    void expectEnglishWindow(const Seen& seen) {
        EXPECT_EQ(seen.captions, sound_->captions);
        EXPECT_EQ(seen.entries, sound_->entries);
        EXPECT_EQ(seen.inputDevices, sound_->inputDevices);
        EXPECT_EQ(seen.printers, sound_->printers);
        EXPECT_EQ(h.machine().modules().modulePath(h.state().lang.handle()).filename(),
                  "tamuxEN.dll");
    }

    FormHarness h{{.modules = {"EN", "DE"}, .language = "", .databases = true}};

  private:
    static Seen* sound_;
};

Seen* LanguageSetting::sound_ = nullptr;

TEST_F(LanguageSetting, FiveThousandCharactersNameNoModuleAndEnglishIsStored) {
    const std::string code(5000, 'X');
    writeSettings(h, "Language=" + code + "\r\nRunLang=DE");
    h.start();
    const Seen seen = look(h);

    // The profile read takes the first 2047 characters; the message names them.
    ASSERT_EQ(h.dialogs().messageBoxes().size(), 1u);
    const sim::MessageBoxCall& box = h.dialogs().messageBoxes()[0];
    EXPECT_EQ(box.text, missingModuleMessage(code.substr(0, 2047)));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, platform::mb::kOk | platform::mb::kIconError);
    expectEnglishWindow(seen);
    EXPECT_EQ(fileContent(h.machine(), settingsPath(h)), expectedSettings("EN", "EN"));

    // The next start reads the stored choice and says nothing.
    FormHarness next({.modules = {"EN", "DE"}, .language = ""});
    putFile(next.machine(), settingsPath(next), *fileContent(h.machine(), settingsPath(h)));
    next.start();
    EXPECT_TRUE(next.dialogs().messageBoxes().empty());
}

TEST_F(LanguageSetting, ACodeThatNamesAPathLoadsNothingFromThere) {
    // A module of that name lies where the path leads, and still it is not loaded.
    const std::string code = "..\\..\\Zmail\\mail";
    putFile(
        h.machine(), "C:\\Program Files\\Zmail\\mail.dll",
        *fileContent(h.machine(), langModuleFileName(h.machine().system().executablePath(), "DE")));
    writeSettings(h, "Language=" + code + "\r\nRunLang=DE");
    h.start();
    const Seen seen = look(h);

    EXPECT_EQ(seen.messages, (std::vector<std::string>{"Error: " + missingModuleMessage(code)}));
    expectEnglishWindow(seen);
    EXPECT_EQ(fileContent(h.machine(), settingsPath(h)), expectedSettings("EN", "EN"));
}

TEST_F(LanguageSetting, AFailingWriteStillRunsInEnglish) {
    // A read-only settings file: the choice cannot be stored, the program runs all the same.
    writeSettings(h, "Language=" + std::string(5000, 'X') + "\r\nRunLang=DE");
    const std::optional<std::string> before = fileContent(h.machine(), settingsPath(h));
    h.machine().profile().setWritesFail(true);
    h.start();
    const Seen seen = look(h);
    EXPECT_EQ(seen.messages.size(), 1u);
    expectEnglishWindow(seen);
    EXPECT_EQ(fileContent(h.machine(), settingsPath(h)), before);
}

// The About dialog as it is shown.
struct ShownAbout {
    std::string caption;
    std::optional<AboutFlag> flag;
};

ShownAbout showAbout(FormHarness& h) {
    class View : public AboutDialogView {
      public:
        View(AboutDialog& dialog, ShownAbout& shown) : dialog_(dialog), shown_(shown) {}
        int showModal() override {
            shown_ = {dialog_.caption, dialog_.visibleFlag};
            return kModalCancel;
        }

      private:
        AboutDialog& dialog_;
        ShownAbout& shown_;
    };
    ShownAbout shown;
    showAboutDialog(h.machine().platform(), [&shown](AboutDialog& dialog) {
        return std::make_unique<View>(dialog, shown);
    });
    return shown;
}

TEST_F(LanguageSetting, AnAboutDialogOfAnUnknownRunLangIsEnglish) {
    writeSettings(h, "Language=DE\r\nRunLang=" + std::string(5000, 'D') + "E");
    const ShownAbout shown = showAbout(h);
    EXPECT_EQ(shown.caption, "About");
    EXPECT_EQ(shown.flag, AboutFlag::English);
    EXPECT_TRUE(h.dialogs().messageBoxes().empty());
}

}  // namespace
}  // namespace tamux::test
