// The language module: the resource library beside the executable that holds every text of the
// user interface in its string table, chosen at start from the settings file or the system's
// default language, and the text lookup by id that every window and builder calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tamux {

// A number that selects one text of the language module.
using TextId = std::uint32_t;

// What every lookup yields when the module has no text for the id (or no module is loaded).
inline constexpr std::string_view kNoLoadMessage = "<No load message>";

// The lookup buffer: 1023 bytes of text and the terminating NUL.
inline constexpr int kLangTextBufferSize = 1024;

// The language whose module is loaded when the chosen one is missing.
inline constexpr std::string_view kFallbackLangCode = "EN";

// The message shown when the chosen module is missing, with the code in place of %s. It is fixed
// Czech text, not looked up (no module is loaded yet); 0xE1 is the a with acute accent in the
// Central European and Western code pages alike.
inline constexpr std::string_view kMissingModuleMessage =
    "Jazykov\xE1 mutace %s modulu neexistuje!";
inline constexpr std::string_view kMissingModuleCaption = "Error";

// The language code for the system's default language (GetSystemDefaultLangID, primary language
// in its low 10 bits): Czech "CSY", German "DE", Spanish "ES", French "FR", Italian "IT",
// Russian "RUS", anything else (English included) "EN".
std::string defaultLangCode(platform::System& system);

// The module of a language: the executable's full path without its extension, then the code,
// then ".dll" ("C:\Tamux\tamux.exe" and "DE" -> "C:\Tamux\tamuxDE.dll").
std::string langModuleFileName(std::string_view executablePath, std::string_view code);

// Decides the language and returns the full path of its module, writing the settings file as it
// goes: "Language" when it was absent (the system default) or its module is missing ("EN", after
// the error message naming the missing code), and "RunLang" always.
std::string langModulePath(const platform::Platform& platform);

// The text of `id` in `module`'s string table, at most 1023 bytes, in the system code page; the
// fallback text when the module has none (no such id, an empty text, no module) or the lookup
// fails.
std::string loadModuleString(platform::ResourceModules& modules,
                             platform::ResourceModules::Module module, TextId id);

// The loaded language module of the process. The application keeps one for its whole run; tests
// make a fresh one per case.
class LangModule {
  public:
    explicit LangModule(const platform::Platform& platform) : platform_(platform) {}
    LangModule(const LangModule&) = delete;
    LangModule& operator=(const LangModule&) = delete;

    // Releases the module that is loaded, if any, then loads the module that langModulePath
    // decides on. A module that cannot be loaded leaves no module (every text is then the
    // fallback text); nothing is shown. Always returns true.
    bool loadLangModule();

    // Overwrites `text` with the text of `id` cut at its first NUL, or with "<No load message>":
    // never with an empty text.
    void getLangText(TextId id, std::string& text) const;
    std::string getLangText(TextId id) const;

    // The loaded module; 0 when none is.
    platform::ResourceModules::Module handle() const { return handle_; }

  private:
    platform::Platform platform_;
    platform::ResourceModules::Module handle_ = 0;
};

}  // namespace tamux
