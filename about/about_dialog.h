// The About dialog (AboutDialog): what it shows - the program's name, version and copyright from
// the executable's version resource, the flag and title of the language the program runs in, the
// maker's links - and what its links do. AboutLauncher creates, fills, shows and frees it. The
// window itself is a view made by a factory, so the whole flow runs on a simulated machine.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tamux {

// The flag images of the dialog; all hidden until setDlg shows one.
enum class AboutFlag { Czech, German, English, Spanish, French, Italian, Russian };
inline constexpr int kAboutFlagCount = 7;

// The flag and title for a "RunLang" value (upper-cased); any other value gets the English flag
// and "About". The titles are fixed texts in the 8-bit code page (0xDC is U with diaeresis, 0xF3
// o with acute accent, in Windows-1250 and -1252 alike).
struct AboutLanguage {
    std::string_view runLang;
    AboutFlag flag;
    std::string_view title;
};
inline constexpr AboutLanguage kAboutLanguages[] = {
    {"CSY", AboutFlag::Czech, "O Aplikaci"},
    {"DE", AboutFlag::German,
     "\xDC"
     "ber Applikacion"},
    {"ES", AboutFlag::Spanish, "Sobre aplicati\xF3n"},
    {"FR", AboutFlag::French, "About"},
    {"IT", AboutFlag::Italian, "About"},
    {"RUS", AboutFlag::Russian, "About"},
};
inline constexpr AboutLanguage kAboutDefaultLanguage = {"EN", AboutFlag::English, "About"};

// The name label: names longer than this many characters get the smaller font, lower down.
inline constexpr std::size_t kLongestLargeName = 15;
inline constexpr int kNameLargePoints = 16;
inline constexpr int kNameLargeTop = 194;
inline constexpr int kNameSmallPoints = 12;
inline constexpr int kNameSmallTop = 198;

// The version label's hint: this, then the file version.
inline constexpr std::string_view kBuildHintPrefix = "Build:  ";

// Modal results: closing by the close box cancels; "not shown" is what Execute reports when no
// dialog was shown.
inline constexpr int kModalCancel = 2;
inline constexpr int kAboutNotShown = 3;

// The messages. Each "\n" in them is shown as the two characters backslash and n: the texts were
// always shown that way and are kept so.
inline constexpr std::string_view kOpenDialogErrorMessage = "Error open dialog !\\n\\n%s";
inline constexpr std::string_view kNotShownMessage = "Not show 'About' !";
inline constexpr std::string_view kShellExecuteErrorMessage =
    "Error no.%d of 'ShellExecute' design!\\n\\n%s";
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kInformationCaption = "Information";

class AboutDialog {
  public:
    // A label as setDlg fills it.
    struct Label {
        std::string caption;
        std::string hint;
    };
    struct NameLabel : Label {
        int points = kNameLargePoints;
        int top = kNameLargeTop;
    };

    explicit AboutDialog(const platform::Platform& platform);

    // Fills the dialog from the executable's version resource and the settings file's
    // "RunLang". Always returns true.
    bool setDlg();

    // The web link (a click or a double-click) and the e-mail link: opened through the shell,
    // with a message naming the error when that fails. The dialog stays open either way: they
    // leave ModalResult alone.
    void labelWwwDblClick();
    void labelMailClick();

    // What the view shows.
    std::string caption = std::string(kAboutDefaultLanguage.title);
    std::optional<AboutFlag> visibleFlag;
    NameLabel labelName;
    Label labelVer;
    std::string labelCopyright;
    std::string labelWww;
    std::string labelMail;

    // 0 while the dialog stays open; a handler that ends the dialog sets the result the window
    // closes with.
    int modalResult = 0;

  private:
    void openLink(const std::string& target);

    platform::Platform platform_;
};

// The window of the dialog.
class AboutDialogView {
  public:
    virtual ~AboutDialogView() = default;
    // Shows the filled dialog modally and returns its modal result once it has closed
    // (kModalCancel when closed by the close box).
    virtual int showModal() = 0;
};

// Creates the window of a dialog (it reads the dialog when it is shown). May raise an error.
using AboutViewFactory = std::function<std::unique_ptr<AboutDialogView>(AboutDialog& dialog)>;

class AboutLauncher {
  public:
    AboutLauncher(const platform::Platform& platform, AboutViewFactory views);

    // Creates, fills and shows the dialog, then frees it; returns its modal result. When it
    // cannot be created or filled, the error is shown; whenever nothing was shown, a message
    // says so and the result is kAboutNotShown.
    int execute();

  private:
    platform::Platform platform_;
    AboutViewFactory views_;
};

// The About button's launcher: one AboutLauncher, executed and freed.
int showAboutDialog(const platform::Platform& platform, const AboutViewFactory& views);

}  // namespace tamux
