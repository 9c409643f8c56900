// The reader of a file's version resource: its translations, its string values by key and its
// fixed file and product versions, through the platform's version functions. The About dialog
// asks it for one item at a time (getVersionItem).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tamux {

// The string keys, by the index getByIndex takes.
inline constexpr int kVersionKeyCount = 11;
inline constexpr std::string_view kVersionKeys[kVersionKeyCount] = {
    "CompanyName",    "FileDescription", "FileVersion",      "InternalName",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
    "ProductVersion", "Comments",        "BuildFlags"};

// The string table read when a block names no translation: U.S. English, Windows Latin 1.
inline constexpr std::string_view kDefaultTranslation = "040904E4";

// The language that stands in for a translation value too short to hold one.
inline constexpr std::uint16_t kShortTranslationLanguage = 1033;

// One of the two versions of a block: the fixed 64-bit number and the matching string value.
class VersionNumber {
  public:
    bool valid = false;
    std::uint32_t mostSignificant = 0;   // most significant half: major, minor
    std::uint32_t leastSignificant = 0;  // least significant half: release, build
    std::string stringValue;             // the string value of the same version

    int major() const { return static_cast<int>(mostSignificant >> 16); }
    int minor() const { return static_cast<int>(mostSignificant & 0xFFFF); }
    int release() const { return static_cast<int>(leastSignificant >> 16); }
    int build() const { return static_cast<int>(leastSignificant & 0xFFFF); }

    // Empty when invalid; else the string value, or "major.minor.release.build" when that is
    // empty.
    std::string text() const;
};

class FileVersionInfo {
  public:
    // `ownModulePath` is the path of the module this code runs in when that is a library; empty
    // in the program itself, whose file is then always the executable.
    FileVersionInfo(platform::ResourceModules& modules, platform::System& system,
                    std::string ownModulePath = {});
    FileVersionInfo(const FileVersionInfo&) = delete;
    FileVersionInfo& operator=(const FileVersionInfo&) = delete;

    // Setting the file name reads its version resource.
    const std::string& filename() const { return filename_; }
    void setFilename(std::string filename);

    // Read the executable even when running in a library. Changing it reads the file again.
    void setForceEXE(bool force);

    // Reads the version resource of the file again (what a component does once its properties
    // have been loaded).
    void reload() { load(); }

    // The file that is read: Filename, else the executable or this library's own file.
    std::string fileToRead() const;

    bool hasBlock() const { return block_.has_value(); }

    // The block's translations as eight upper-case hexadecimal digits, language then code page.
    const std::vector<std::string>& translations() const { return translations_; }
    int translationIndex() const { return translationIndex_; }
    // Chooses the translation getByIndex reads; an index outside the list is ignored.
    void setTranslationIndex(int index);

    // The value of key `index` (kVersionKeys) in the current translation's string table, or in
    // the default one when the block has no translation. Empty for an index outside 0..10, a
    // file without version resource or a value the table lacks.
    std::string getByIndex(int index) const;

    const VersionNumber& fileVersion() const { return fileVersion_; }
    const VersionNumber& productVersion() const { return productVersion_; }

  private:
    void load();
    void readTranslations();
    void readFixedVersions();

    platform::ResourceModules& modules_;
    platform::System& system_;
    std::string ownModulePath_;
    std::string filename_;
    bool forceExe_ = false;
    std::optional<std::vector<std::uint8_t>> block_;
    std::vector<std::string> translations_;
    int translationIndex_ = 0;
    VersionNumber fileVersion_;
    VersionNumber productVersion_;
};

// What getVersionItem reads, by its selector. The order differs from kVersionKeys; 10 is the
// file's last-write date.
inline constexpr int kVersionItemCount = 11;
inline constexpr int kVersionItemFileDate = 10;
inline constexpr std::string_view kVersionItemKeys[kVersionItemFileDate] = {
    "CompanyName",    "LegalTrademarks",  "InternalName", "FileDescription", "FileVersion",
    "LegalCopyright", "OriginalFilename", "Comments",     "ProductName",     "ProductVersion"};

// One item of the version resource of `path` (the executable's, as an executable reads it): the
// string value of kVersionItemKeys[selector], or for selector 10 the file's last-write date in
// the system's short date format. Empty for any other selector, and when the file has no such
// value or date.
std::string getVersionItem(const platform::Platform& platform, std::string_view path, int selector);

// The calendar day and time of a FILETIME count (100 ns since 1601-01-01), in the same time
// scale as the count.
platform::SystemTime fileTimeToSystemTime(std::uint64_t fileTime);

}  // namespace tamux
