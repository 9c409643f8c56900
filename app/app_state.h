// The values that live from start to exit, in one object: the loaded language module, the device
// table and the keyboard and mouse facts gathered at start, the language dialog's open reference
// and restart flag, the report request with the report window's open reference, and the one wait
// dialog. The program makes one; tests make a fresh one per
// case.
#pragma once

#include <string_view>

#include "app/wait_set.h"
#include "devices/keyboard/keyboard_facts.h"
#include "devices/mouse/mouse_facts.h"
#include "lang/lang_module.h"
#include "lang/language_dialog.h"
#include "platform/platform.h"
#include "registry/devices.h"
#include "report/report_dialog.h"
#include "report/report_request.h"

namespace tamux {

// The application's title: the main window's caption, the caption of the error messages.
inline constexpr std::string_view kApplicationTitle = "Zorv Info Tamux";

struct AppState {
    explicit AppState(const platform::Platform& platform)
        : platform(platform),
          lang(platform),
          languageDialog{platform, {}, {}},
          reportDialog{platform, lang, sel, std::string(kApplicationTitle), {}} {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    platform::Platform platform;
    LangModule lang;
    DeviceTable devices;
    KeyboardFacts keyboard;
    MouseFacts mouse;
    // The window and the way to end the program are given by the program.
    LanguageDialogHost languageDialog;
    // What the report window was last left with; the window is given by the program.
    ReportRequest sel;
    ReportDialogHost reportDialog;
    WaitSet waitSet;
};

}  // namespace tamux
