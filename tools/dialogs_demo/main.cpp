// Opens the language dialog or the About dialog on the real system, for the eye, the screenshots
// and the end-to-end checks, before and apart from the main window. A test program, not shipped.
//
//   dialogs_demo.exe language|about [executable]
//
// With an executable (a Windows path), the dialogs act as if they ran inside it: the language
// dialog looks for the modules beside it, writes its settings file and restarts it; the About
// dialog reads its version resource and settings file. Without, they use the demo's own file.
// Prints what the dialog returned.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "about/about_dialog.h"
#include "about/win32/about_window.h"
#include "lang/language_dialog.h"
#include "lang/win32/language_window.h"
#include "platform/relocated_system.h"
#include "platform/win32/real_platform.h"

namespace {

using namespace tamux;

// The About window, reporting what it showed once it has closed.
class ReportingAboutView : public AboutDialogView {
  public:
    ReportingAboutView(AboutDialog& dialog, std::unique_ptr<AboutDialogView> window)
        : dialog_(dialog), window_(std::move(window)) {}
    int showModal() override {
        const int result = window_->showModal();
        std::printf("title: %s\nname: %s\nversion: %s\nversion hint: %s\ncopyright: %s\n",
                    dialog_.caption.c_str(), dialog_.labelName.caption.c_str(),
                    dialog_.labelVer.caption.c_str(), dialog_.labelVer.hint.c_str(),
                    dialog_.labelCopyright.c_str());
        std::fflush(stdout);
        return result;
    }

  private:
    AboutDialog& dialog_;
    std::unique_ptr<AboutDialogView> window_;
};

// The command line's words; a quoted word may hold blanks.
std::vector<std::string> words(const char* commandLine) {
    std::vector<std::string> result;
    std::string_view rest = commandLine ? commandLine : "";
    while (!rest.empty()) {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        if (rest.empty()) break;
        std::string word;
        if (rest.front() == '"') {
            rest.remove_prefix(1);
            const std::size_t end = rest.find('"');
            word = std::string(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        } else {
            const std::size_t end = rest.find(' ');
            word = std::string(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        result.push_back(word);
    }
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::vector<std::string> args = words(commandLine);
    const std::string which = args.empty() ? "about" : args[0];
    win32::RealPlatform real;
    platform::Platform base = real.platform();
    platform::RelocatedSystem system(base.system, args.size() > 1 ? args[1] : std::string());
    platform::Platform platform{base.registry, system,     base.files,   base.profile,
                                base.modules,  base.shell, base.dialogs, base.keyboard,
                                base.spooler,  base.clock, base.parallel};

    if (which == "language") {
        LanguageDialogHost host{platform, win32::languageWindowFactory(nullptr),
                                [] { PostQuitMessage(0); }};
        const bool restart = showLanguageDialog(host);
        std::printf("language dialog: restart %s\n", restart ? "yes" : "no");
        return restart ? 1 : 0;
    }
    // What the window showed, for the end-to-end check.
    AboutViewFactory windows = win32::aboutWindowFactory(nullptr);
    const int result = showAboutDialog(
        platform, [&windows](AboutDialog& dialog) -> std::unique_ptr<AboutDialogView> {
            return std::make_unique<ReportingAboutView>(dialog, windows(dialog));
        });
    std::printf("about dialog: %d\n", result);
    return result;
}
