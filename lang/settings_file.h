// The settings file: a Windows profile (INI) file beside the executable, read and written one
// value at a time through the Profile service, with nothing cached in between.
#pragma once

#include <string>
#include <string_view>

#include "platform/profile.h"

namespace tamux {

// The section that holds every value the program stores, and its two keys.
inline constexpr std::string_view kOptionsSection = "Options";
inline constexpr std::string_view kLanguageKey = "Language";
inline constexpr std::string_view kRunLangKey = "RunLang";

// The default a settings read supplies; a read that yields exactly this counts as an absent key.
inline constexpr std::string_view kMissingValue = "<Error>";

// The profile read's buffer: 2047 characters and the terminating NUL.
inline constexpr std::size_t kIniValueBufferSize = 2048;

// `path` without the extension of its file name (the text from the file name's last "."); the
// dots of folder names do not count. A name without an extension is returned unchanged.
std::string pathWithoutExtension(std::string_view path);

// The settings file of an executable: its full path with the extension replaced by ".ini"
// ("C:\Tamux\tamux.exe" -> "C:\Tamux\tamux.ini"; a name without extension gets ".ini" appended).
std::string settingsFilePath(std::string_view executablePath);

// Reads `key` in `section` of the settings file `fileName`, with "<Error>" as the default.
// Returns true with the value read (cut to 2047 characters) in `value`. Returns false when the
// read raised an error (`value` is then empty) or when the value read is "<Error>" (`value` then
// holds "<Error>").
bool readIniValue(platform::Profile& profile, std::string_view fileName, std::string_view section,
                  std::string_view key, std::string& value);

// Writes one value; the profile creates the file and the section when needed. Returns false when
// the write failed: the failure is swallowed, nothing is shown.
bool writeIniValue(platform::Profile& profile, std::string_view fileName, std::string_view section,
                   std::string_view key, std::string_view value);

}  // namespace tamux
