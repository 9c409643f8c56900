// The language module's texts that the main window and its panes show, by id.
#pragma once

#include "lang/lang_module.h"

namespace tamux {

inline constexpr TextId kWindowTitleText = 1;
inline constexpr TextId kReportButtonText = 10;
inline constexpr TextId kAboutButtonText = 11;
inline constexpr TextId kLanguageButtonText = 12;
inline constexpr TextId kMinimizeButtonText = 13;
inline constexpr TextId kCloseButtonText = 52;
inline constexpr TextId kWaitCaptionText = 409;
inline constexpr TextId kWaitMessageText = 410;
inline constexpr TextId kKeyboardText = 601;
inline constexpr TextId kMouseText = 602;
inline constexpr TextId kInputDevicesText = 5590;
inline constexpr TextId kPrintersText = 5591;

}  // namespace tamux
