#include "lang/language_dialog.h"

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_system.h"
#include "tests/unit/dialogs/program_folder.h"

namespace tamux {
namespace {

using test::kExecutable;

// Button indexes (top to bottom).
constexpr int kCZ = 0, kDE = 1, kEN = 2, kES = 3, kFR = 4, kIT = 5, kRU = 6;

// What the window showed when it opened.
struct Shown {
    std::array<bool, kLanguageButtonCount> enabled{};
    std::array<bool, kLanguageButtonCount> down{};
    std::string languageInFile;  // "Language" at that moment
};

// The window, scripted: the user's actions run while it is shown.
class FakeLanguageView : public LanguageDialogView {
  public:
    FakeLanguageView(LanguageDialog& dialog, std::function<void(LanguageDialog&)> script,
                     std::function<void()> onShow, int& closes)
        : dialog_(dialog),
          script_(std::move(script)),
          onShow_(std::move(onShow)),
          closes_(closes) {}
    void showModal() override {
        onShow_();
        if (script_) script_(dialog_);
    }
    void close() override { ++closes_; }

  private:
    LanguageDialog& dialog_;
    std::function<void(LanguageDialog&)> script_;
    std::function<void()> onShow_;
    int& closes_;
};

class LanguageDialogTest : public test::ProgramFolderTest {
  protected:
    LanguageDialogTest() {
        host.views = [this](LanguageDialog& dialog) -> std::unique_ptr<LanguageDialogView> {
            auto view = std::make_unique<FakeLanguageView>(
                dialog, script,
                [this, &dialog] {
                    Shown now;
                    for (int i = 0; i < kLanguageButtonCount; ++i) {
                        now.enabled[static_cast<std::size_t>(i)] = dialog.buttons().enabled(i);
                        now.down[static_cast<std::size_t>(i)] = dialog.buttons().down(i);
                    }
                    now.languageInFile = setting("Language");
                    shown.push_back(now);
                },
                closes);
            return view;
        };
        host.terminateApplication = [this] { ++terminations; };
    }

    void installModules(std::initializer_list<const char*> codes) {
        for (const char* code : codes) putFile(std::string("tamux") + code + ".dll");
    }

    // Opens the dialog with the user doing `actions`.
    bool open(std::function<void(LanguageDialog&)> actions) {
        script = std::move(actions);
        return showLanguageDialog(host);
    }

    sim::SimProfile& profile() { return machine->profile(); }

    LanguageDialogHost host{machine->platform(), nullptr, nullptr};
    std::function<void(LanguageDialog&)> script;
    std::vector<Shown> shown;
    int closes = 0;  // of every window so far
    int terminations = 0;
};

std::array<bool, kLanguageButtonCount> only(std::initializer_list<int> buttons) {
    std::array<bool, kLanguageButtonCount> set{};
    for (int button : buttons) set[static_cast<std::size_t>(button)] = true;
    return set;
}

TEST_F(LanguageDialogTest, OnlyTheLanguagesWithAModuleAreEnabled) {
    installModules({"EN", "DE"});
    putFile("tamuxPL.dll");  // not a language of the dialog
    putFile("tamuxFR.txt");
    putFile("tamux.dll");
    std::filesystem::create_directory(folder() / "tamuxES.dll");  // a folder, not a module
    open([](LanguageDialog& dialog) { dialog.cancelClick(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].enabled, only({kDE, kEN}));
}

TEST_F(LanguageDialogTest, TheStoredLanguageIsMarkedByExactCode) {
    installModules({"EN", "ES", "DE", "FR", "IT", "RUS", "CSY"});
    struct Case {
        const char* stored;
        std::array<bool, kLanguageButtonCount> down;
    };
    const Case cases[] = {
        {"RUS", only({kRU})}, {"CSY", only({kCZ})}, {"IT", only({kIT})}, {"ES", only({kES})},
        {"de", only({})},     {"RU", only({})},     {"CZ", only({})},    {"", only({})},
    };
    for (const Case& c : cases) {
        setSetting("Language", c.stored);
        shown.clear();
        open([](LanguageDialog& dialog) { dialog.cancelClick(); });
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].down, c.down) << "'" << c.stored << "'";
        EXPECT_EQ(setting("Language"), c.stored) << "marking rewrites nothing";
    }
}

TEST_F(LanguageDialogTest, AButtonWithoutModuleIsStillMarked) {
    installModules({"EN"});
    setSetting("Language", "FR");
    open([](LanguageDialog& dialog) { dialog.cancelClick(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].down, only({kFR}));
    EXPECT_FALSE(shown[0].enabled[kFR]);
}

TEST_F(LanguageDialogTest, AMissingLanguageMarksEnglishAndWritesItAtOnce) {
    installModules({"EN", "DE"});
    open([](LanguageDialog& dialog) { dialog.cancelClick(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].down, only({kEN}));
    EXPECT_EQ(shown[0].languageInFile, "EN") << "written before the user chose anything";
    EXPECT_EQ(setting("Language"), "EN");
    EXPECT_EQ(profile().writeCount(), 1);
}

TEST_F(LanguageDialogTest, ChoosingFrenchOkAndNoStoresItAndKeepsRunning) {
    installModules({"EN", "FR"});
    setSetting("Language", "EN");
    setSetting("RunLang", "EN");
    machine->dialogs().queueMessageBoxAnswer(platform::mb::kIdNo);
    const bool restart = open([](LanguageDialog& dialog) {
        dialog.languageButtonClick(kFR);
        dialog.okClick();
    });
    EXPECT_FALSE(restart);
    EXPECT_EQ(setting("Language"), "FR");
    EXPECT_EQ(setting("RunLang"), "EN") << "the running language is not the dialog's business";
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "Changing language will take effect after you restart the application.Would You "
              "like to exit?");
    EXPECT_EQ(boxes()[0].type, platform::mb::kYesNo | platform::mb::kIconInformation);
    EXPECT_TRUE(launches().empty());
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(host.current, nullptr);
    EXPECT_FALSE(host.restart);
}

TEST_F(LanguageDialogTest, AnsweringYesStartsTheProgramAgainAndEndsThisOne) {
    installModules({"EN", "FR"});
    setSetting("Language", "EN");
    machine->dialogs().queueMessageBoxAnswer(platform::mb::kIdYes);
    const bool restart = open([this](LanguageDialog& dialog) {
        dialog.languageButtonClick(kFR);
        dialog.okClick();
        // The language is stored and the window closed before the question is asked.
        EXPECT_EQ(closes, 1);
        EXPECT_EQ(host.current, nullptr);
    });
    EXPECT_TRUE(restart);
    EXPECT_TRUE(host.restart);
    EXPECT_EQ(setting("Language"), "FR") << "what the new instance reads";
    ASSERT_EQ(launches().size(), 1u);
    EXPECT_EQ(launches()[0].verb, "") << "the default verb";
    EXPECT_EQ(launches()[0].file, kExecutable);
    EXPECT_EQ(launches()[0].parameters, "");
    EXPECT_EQ(launches()[0].directory, "");
    EXPECT_EQ(launches()[0].show, platform::kSwShowNormal);
    EXPECT_EQ(terminations, 1);
}

// A shell whose start fails with an error instead of a result.
class ThrowingShell : public sim::SimShell {
  public:
    std::intptr_t shellExecute(std::string_view, std::string_view, std::string_view,
                               std::string_view, int) override {
        throw std::runtime_error("no shell");
    }
};

TEST_F(LanguageDialogTest, TheProgramEndsEvenWhenTheRestartFails) {
    installModules({"EN"});
    setSetting("Language", "EN");
    machine->shell().queueResult(2);
    machine->dialogs().queueMessageBoxAnswer(platform::mb::kIdYes);
    EXPECT_TRUE(open([](LanguageDialog& dialog) { dialog.okClick(); }));
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(boxes().size(), 1u) << "the failed start is not reported";

    ThrowingShell shell;
    platform::Platform withThrowingShell = machine->platform();
    LanguageDialogHost throwing{
        platform::Platform{withThrowingShell.registry, withThrowingShell.system,
                           withThrowingShell.files, withThrowingShell.profile,
                           withThrowingShell.modules, shell, withThrowingShell.dialogs,
                           withThrowingShell.keyboard, withThrowingShell.spooler,
                           withThrowingShell.clock, withThrowingShell.parallel},
        host.views, host.terminateApplication};
    machine->dialogs().queueMessageBoxAnswer(platform::mb::kIdYes);
    script = [](LanguageDialog& dialog) { dialog.okClick(); };
    EXPECT_TRUE(showLanguageDialog(throwing));
    EXPECT_EQ(terminations, 2);
}

TEST_F(LanguageDialogTest, CancelAfterChoosingLeavesTheFileUntouched) {
    installModules({"EN", "DE"});
    setSetting("Language", "EN");
    const std::string before = settingsFileContent();
    const int writesBefore = profile().writeCount();
    const bool restart = open([](LanguageDialog& dialog) {
        dialog.languageButtonClick(kDE);
        EXPECT_TRUE(dialog.buttons().down(kDE));
        dialog.cancelClick();
    });
    EXPECT_FALSE(restart);
    EXPECT_EQ(settingsFileContent(), before);
    EXPECT_EQ(profile().writeCount(), writesBefore);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(host.current, nullptr);
}

TEST_F(LanguageDialogTest, TheCloseBoxForgetsTheDialogSoThatItOpensAgainRebuilt) {
    installModules({"EN"});
    setSetting("Language", "EN");
    open([](LanguageDialog& dialog) {
        dialog.languageButtonClick(kEN);
        dialog.formClose();
    });
    EXPECT_EQ(host.current, nullptr);
    EXPECT_EQ(closes, 1);

    // A module installed in between, and another stored language: the new window shows both.
    installModules({"IT"});
    setSetting("Language", "IT");
    open([](LanguageDialog& dialog) { dialog.formClose(); });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].enabled, only({kEN, kIT}));
    EXPECT_EQ(shown[1].down, only({kIT}));
    EXPECT_EQ(setting("Language"), "IT");
}

TEST_F(LanguageDialogTest, ASecondOpeningWhileOneIsOpenIsRefused) {
    installModules({"EN"});
    setSetting("Language", "EN");
    bool nested = true;
    open([&](LanguageDialog& dialog) {
        EXPECT_EQ(host.current, &dialog);
        nested = showLanguageDialog(host);
        dialog.cancelClick();
    });
    EXPECT_FALSE(nested) << "the refusal returns the restart flag";
    EXPECT_EQ(shown.size(), 1u) << "no second window";

    host.restart = true;  // a restart accepted earlier is what a refused opening reports
    open([&](LanguageDialog& dialog) {
        nested = showLanguageDialog(host);
        dialog.cancelClick();
    });
    EXPECT_TRUE(nested);
}

TEST_F(LanguageDialogTest, FlagsAreExclusiveAndDisabledOnesIgnoreClicks) {
    installModules({"EN", "DE"});
    setSetting("Language", "EN");
    open([](LanguageDialog& dialog) {
        dialog.languageButtonClick(kRU);  // disabled
        EXPECT_EQ(dialog.buttons().downButton(), kEN);
        dialog.languageButtonClick(kDE);
        EXPECT_EQ(dialog.buttons().downButton(), kDE);
        dialog.languageButtonClick(kDE);  // the button that is down stays down
        EXPECT_EQ(dialog.buttons().downButton(), kDE);
        EXPECT_FALSE(dialog.buttons().down(kEN));
        dialog.okClick();
    });
    EXPECT_EQ(setting("Language"), "DE");
}

TEST_F(LanguageDialogTest, EachButtonStoresItsCodeNotItsLabel) {
    installModules({"EN", "ES", "DE", "FR", "IT", "RUS", "CSY"});
    for (int button = 0; button < kLanguageButtonCount; ++button) {
        open([button](LanguageDialog& dialog) {
            dialog.languageButtonClick(button);
            dialog.okClick();
        });
        EXPECT_EQ(setting("Language"), kLanguageButtons[static_cast<std::size_t>(button)].code)
            << kLanguageButtons[static_cast<std::size_t>(button)].label;
    }
}

TEST_F(LanguageDialogTest, OkWithNoButtonDownKeepsTheStoredLanguageAndAsksNothing) {
    installModules({"EN", "DE"});
    setSetting("Language", "de");
    open([](LanguageDialog& dialog) { dialog.okClick(); });
    EXPECT_EQ(setting("Language"), "de");
    EXPECT_TRUE(boxes().empty()) << "a restart was offered";
}

TEST_F(LanguageDialogTest, AFailedWriteOnOkIsIgnoredAndTheQuestionStillAsked) {
    installModules({"EN", "DE"});
    setSetting("Language", "EN");
    profile().setWritesFail(true);
    open([](LanguageDialog& dialog) {
        dialog.languageButtonClick(kDE);
        dialog.okClick();
    });
    EXPECT_EQ(setting("Language"), "EN");
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(LanguageDialogTest, ErrorsWhileCreatingOrShowingAreSwallowedAndForgotten) {
    installModules({"EN"});
    setSetting("Language", "EN");
    LanguageViewFactory working = host.views;

    host.views = [](LanguageDialog&) -> std::unique_ptr<LanguageDialogView> {
        throw std::runtime_error("no window");
    };
    EXPECT_FALSE(showLanguageDialog(host));
    EXPECT_EQ(host.current, nullptr);

    host.views = working;
    EXPECT_FALSE(open([](LanguageDialog&) { throw std::runtime_error("lost"); }));
    EXPECT_EQ(host.current, nullptr);

    open([](LanguageDialog& dialog) { dialog.cancelClick(); });
    EXPECT_EQ(shown.size(), 2u) << "the dialog opens again";
    EXPECT_TRUE(boxes().empty());
}

TEST_F(LanguageDialogTest, AWindowThatClosesWithoutAHandlerIsForgottenToo) {
    installModules({"EN"});
    setSetting("Language", "EN");
    open(nullptr);
    EXPECT_EQ(host.current, nullptr);
    open(nullptr);
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(LanguageDialogTest, CloseLanguageDialogWithoutOpenDialogDoesNothing) {
    closeLanguageDialog(host);
    EXPECT_EQ(host.current, nullptr);
    EXPECT_EQ(languageButtonOf("RUS"), kRU);
    EXPECT_EQ(languageButtonOf("CSY"), kCZ);
    EXPECT_EQ(languageButtonOf("RU"), -1);
    EXPECT_EQ(languageButtonOf("rus"), -1);
}

}  // namespace
}  // namespace tamux
