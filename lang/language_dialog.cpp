#include "lang/language_dialog.h"

#include <exception>

#include "lang/lang_module.h"
#include "lang/settings_file.h"
#include "ui/open_dialog.h"

namespace tamux {

int languageButtonOf(std::string_view code) {
    for (int button = 0; button < kLanguageButtonCount; ++button) {
        if (kLanguageButtons[static_cast<std::size_t>(button)].code == code) return button;
    }
    return -1;
}

LanguageDialog::LanguageDialog(LanguageDialogHost& host) : host_(host) {
    for (int i = 0; i < kLanguageButtonCount; ++i) buttons_.addButton();
}

std::string LanguageDialog::settingsFile() const {
    return settingsFilePath(host_.platform.system.executablePath());
}

void LanguageDialog::enableLanguages() {
    for (int button = 0; button < kLanguageButtonCount; ++button) {
        buttons_.setEnabled(button, false);
    }
    const std::string executable = host_.platform.system.executablePath();
    for (std::string_view code : kLanguageCodeOrder) {
        if (host_.platform.files.fileExists(langModuleFileName(executable, code))) {
            buttons_.setEnabled(languageButtonOf(code), true);
        }
    }
}

void LanguageDialog::markCurrentLanguage() {
    const std::string file = settingsFile();
    std::string code;
    if (!readIniValue(host_.platform.profile, file, kOptionsSection, kLanguageKey, code)) {
        code = std::string(kDefaultDialogLanguage);
        writeIniValue(host_.platform.profile, file, kOptionsSection, kLanguageKey, code);
    }
    const int button = languageButtonOf(code);
    if (button >= 0) buttons_.setDown(button, true);
}

bool LanguageDialog::storeLanguage() {
    std::string code;
    for (std::string_view candidate : kLanguageCodeOrder) {
        if (buttons_.down(languageButtonOf(candidate))) code = std::string(candidate);
    }
    // No flag down (the stored code matched none, e.g. written by hand in lower case): an empty
    // code would name no module at the next start, so the stored one stays.
    if (code.empty()) return false;
    writeIniValue(host_.platform.profile, settingsFile(), kOptionsSection, kLanguageKey, code);
    return true;
}

void LanguageDialog::languageButtonClick(int button) {
    buttons_.click(button);
}

void LanguageDialog::okClick() {
    const bool stored = storeLanguage();
    closeLanguageDialog(host_);
    if (!stored) return;  // nothing changed that a restart would show
    const int answer =
        host_.platform.dialogs.messageBox(kRestartQuestion, kRestartQuestionCaption,
                                          platform::mb::kYesNo | platform::mb::kIconInformation);
    if (answer != platform::mb::kIdYes) return;

    host_.restart = true;
    // The program ends whatever the start of the new instance gives.
    try {
        host_.platform.shell.shellExecute("", host_.platform.system.executablePath(), "", "",
                                          platform::kSwShowNormal);
    } catch (const std::exception&) {
    }
    if (host_.terminateApplication) host_.terminateApplication();
}

void LanguageDialog::cancelClick() {
    closeLanguageDialog(host_);
}

void LanguageDialog::formClose() {
    closeLanguageDialog(host_);
}

bool showLanguageDialog(LanguageDialogHost& host) {
    if (host.current) return host.restart;
    try {
        LanguageDialog dialog(host);
        OpenDialogGuard current(host.current, dialog);
        std::unique_ptr<LanguageDialogView> view = host.views ? host.views(dialog) : nullptr;
        if (!view) return host.restart;
        dialog.setView(view.get());
        dialog.enableLanguages();
        dialog.markCurrentLanguage();
        view->showModal();
        dialog.setView(nullptr);
    } catch (const std::exception&) {
        // Nothing is shown; the guard has forgotten the dialog.
    }
    return host.restart;
}

void closeLanguageDialog(LanguageDialogHost& host) {
    closeOpenDialog(host.current);
}

}  // namespace tamux
