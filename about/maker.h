// Who makes and ships the program: the one place for the maker's name, copyright line, web site
// and support address, and the executable's file name. The About dialog shows them and the
// executable's version resource records them; the resource compiler reads this file too, so the
// values are plain macros and the C++ names follow only outside it.
#ifndef TAMUX_ABOUT_MAKER_H
#define TAMUX_ABOUT_MAKER_H

#define TAMUX_MAKER_NAME "Zorv Software"
#define TAMUX_MAKER_COPYRIGHT "Copyright (C) 2026 Zorv Software"
#define TAMUX_MAKER_WEB_HOST "www.zorv.example"
#define TAMUX_MAKER_SUPPORT_MAIL "support@zorv.example"
#define TAMUX_EXECUTABLE_NAME "tamux.exe"

#ifndef RC_INVOKED
#include <string_view>

namespace tamux {

inline constexpr std::string_view kMakerName = TAMUX_MAKER_NAME;
inline constexpr std::string_view kMakerCopyright = TAMUX_MAKER_COPYRIGHT;
// The web site's host name: the link opens "http://" followed by it.
inline constexpr std::string_view kMakerWebHost = TAMUX_MAKER_WEB_HOST;
// The support address: the link opens "mailto:" followed by it.
inline constexpr std::string_view kMakerSupportMail = TAMUX_MAKER_SUPPORT_MAIL;
inline constexpr std::string_view kExecutableName = TAMUX_EXECUTABLE_NAME;

}  // namespace tamux
#endif

#endif
