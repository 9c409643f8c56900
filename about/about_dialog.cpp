#include "about/about_dialog.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "about/file_version.h"
#include "about/maker.h"
#include "about/sys_error_text.h"
#include "lang/settings_file.h"
#include "platform/ascii_case.h"

namespace tamux {

namespace {

// The selectors of getVersionItem that the dialog shows.
constexpr int kInternalNameItem = 2;
constexpr int kFileVersionItem = 4;
constexpr int kLegalCopyrightItem = 5;
constexpr int kCommentsItem = 7;
constexpr int kProductVersionItem = 9;

// `message` with its first `placeholder` replaced by `value`. The values are inserted as they
// are: a "%" in an error text is not read as another placeholder.
std::string replaceFirst(std::string message, std::string_view placeholder,
                         std::string_view value) {
    const std::size_t at = message.find(placeholder);
    if (at != std::string::npos) message.replace(at, placeholder.size(), value);
    return message;
}

const AboutLanguage& languageFor(const std::string& runLang) {
    for (const AboutLanguage& language : kAboutLanguages) {
        if (language.runLang == runLang) return language;
    }
    return kAboutDefaultLanguage;
}

}  // namespace

AboutDialog::AboutDialog(const platform::Platform& platform) : platform_(platform) {}

bool AboutDialog::setDlg() {
    const std::string path = platform_.system.executablePath();

    // The language the program runs in; a missing or unreadable value is English.
    const AboutLanguage* language = &kAboutDefaultLanguage;
    try {
        std::string runLang;
        readIniValue(platform_.profile, settingsFilePath(path), kOptionsSection, kRunLangKey,
                     runLang);
        language = &languageFor(toAsciiUpper(runLang));
    } catch (const std::exception&) {
        language = &kAboutDefaultLanguage;
    }
    visibleFlag = language->flag;
    caption = std::string(language->title);

    labelName.caption = getVersionItem(platform_, path, kInternalNameItem);
    if (labelName.caption.size() > kLongestLargeName) {
        labelName.points = kNameSmallPoints;
        labelName.top = kNameSmallTop;
    } else {
        labelName.points = kNameLargePoints;
        labelName.top = kNameLargeTop;
    }
    labelName.hint = getVersionItem(platform_, path, kCommentsItem);
    labelCopyright = getVersionItem(platform_, path, kLegalCopyrightItem);
    labelVer.caption = getVersionItem(platform_, path, kProductVersionItem);
    labelVer.hint =
        std::string(kBuildHintPrefix) + getVersionItem(platform_, path, kFileVersionItem);
    labelWww = std::string(kMakerWebHost);
    labelMail = std::string(kMakerSupportMail);
    return true;
}

void AboutDialog::labelWwwDblClick() {
    openLink("http://" + std::string(kMakerWebHost));
}

void AboutDialog::labelMailClick() {
    openLink("mailto:" + std::string(kMakerSupportMail));
}

void AboutDialog::openLink(const std::string& target) {
    const std::intptr_t result =
        platform_.shell.shellExecute("open", target, "", "", platform::kSwShowNormal);
    if (result > 32) return;
    // The result is the failure: ShellExecute need not set the thread's last error, which may
    // still say that all went well.
    std::string message = replaceFirst(std::string(kShellExecuteErrorMessage), "%d",
                                       std::to_string(static_cast<std::int32_t>(result)));
    message = replaceFirst(std::move(message), "%s", shellFailureText(platform_.shell, result));
    platform_.dialogs.messageBox(message, kErrorCaption,
                                 platform::mb::kOk | platform::mb::kIconError);
}

AboutLauncher::AboutLauncher(const platform::Platform& platform, AboutViewFactory views)
    : platform_(platform), views_(std::move(views)) {}

int AboutLauncher::execute() {
    int result = kAboutNotShown;
    std::unique_ptr<AboutDialog> dialog;
    std::unique_ptr<AboutDialogView> view;
    try {
        dialog = std::make_unique<AboutDialog>(platform_);
        if (views_) view = views_(*dialog);
        // A factory that makes no window leaves nothing to show.
        if (view && dialog->setDlg()) result = view->showModal();
    } catch (const std::exception& error) {
        platform_.dialogs.messageBox(
            replaceFirst(std::string(kOpenDialogErrorMessage), "%s", error.what()), kErrorCaption,
            platform::mb::kOk | platform::mb::kIconError);
        result = kAboutNotShown;
    }
    if (result == kAboutNotShown) {
        platform_.dialogs.messageBox(kNotShownMessage, kInformationCaption,
                                     platform::mb::kOk | platform::mb::kIconInformation);
    }
    // The window goes before the dialog it reads.
    view.reset();
    dialog.reset();
    return result;
}

int showAboutDialog(const platform::Platform& platform, const AboutViewFactory& views) {
    AboutLauncher about(platform, views);
    return about.execute();
}

}  // namespace tamux
