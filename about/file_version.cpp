#include "about/file_version.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace tamux {

namespace {

// VS_FIXEDFILEINFO: signature, structure version, then the file and product versions.
constexpr std::size_t kFixedInfoSize = 52;
constexpr std::size_t kFileVersionMsAt = 8;
constexpr std::size_t kProductVersionMsAt = 16;

// The indexes of the two version strings among kVersionKeys.
constexpr int kFileVersionKey = 2;
constexpr int kProductVersionKey = 8;

std::uint16_t word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t dword(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(word(bytes, at)) |
           static_cast<std::uint32_t>(word(bytes, at + 2)) << 16;
}

std::string translationName(std::uint16_t language, std::uint16_t codePage) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4X%.4X", static_cast<unsigned>(language),
                  static_cast<unsigned>(codePage));
    return text;
}

}  // namespace

std::string VersionNumber::text() const {
    if (!valid) return {};
    if (!stringValue.empty()) return stringValue;
    char text[48];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", major(), minor(), release(), build());
    return text;
}

FileVersionInfo::FileVersionInfo(platform::ResourceModules& modules, platform::System& system,
                                 std::string ownModulePath)
    : modules_(modules), system_(system), ownModulePath_(std::move(ownModulePath)) {}

void FileVersionInfo::setFilename(std::string filename) {
    filename_ = std::move(filename);
    load();
}

void FileVersionInfo::setForceEXE(bool force) {
    if (force == forceExe_) return;
    forceExe_ = force;
    load();
}

std::string FileVersionInfo::fileToRead() const {
    if (!filename_.empty()) return filename_;
    if (forceExe_ || ownModulePath_.empty()) return system_.executablePath();
    return ownModulePath_;
}

void FileVersionInfo::setTranslationIndex(int index) {
    if (index >= 0 && index < static_cast<int>(translations_.size())) translationIndex_ = index;
}

void FileVersionInfo::load() {
    const std::string file = fileToRead();
    translations_.clear();
    block_.reset();
    fileVersion_ = {};
    productVersion_ = {};

    std::uint32_t size = 0;
    try {
        size = modules_.fileVersionInfoSize(file);
    } catch (const std::exception&) {
        size = 0;
    }
    if (size != 0) {
        try {
            block_ = modules_.fileVersionInfo(file);
        } catch (const std::exception&) {
            block_.reset();
        }
    }
    // A file whose size was reported but whose block cannot be read counts as one without.
    if (!block_) return;

    readTranslations();
    if (translationIndex_ >= static_cast<int>(translations_.size())) translationIndex_ = 0;
    readFixedVersions();
}

void FileVersionInfo::readTranslations() {
    auto value = modules_.queryVersionValue(*block_, "\\VarFileInfo\\Translation");
    if (!value || value->empty()) return;
    const std::vector<std::uint8_t>& bytes = *value;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        translations_.push_back(translationName(word(bytes, at), word(bytes, at + 2)));
    }
    if (bytes.size() < 4) {
        // Too short for a language and a code page: the one word there is the code page. A
        // single byte is taken alone rather than read past the value's end.
        const std::uint16_t codePage = bytes.size() >= 2 ? word(bytes, 0) : bytes[0];
        translations_.push_back(translationName(kShortTranslationLanguage, codePage));
    }
}

void FileVersionInfo::readFixedVersions() {
    // A block without its fixed part still has its string values; the numbers are then 0.
    auto fixed = modules_.queryVersionValue(*block_, "\\");
    const bool hasFixed = fixed && fixed->size() >= kFixedInfoSize;

    fileVersion_.valid = true;
    productVersion_.valid = true;
    if (hasFixed) {
        fileVersion_.mostSignificant = dword(*fixed, kFileVersionMsAt);
        fileVersion_.leastSignificant = dword(*fixed, kFileVersionMsAt + 4);
        productVersion_.mostSignificant = dword(*fixed, kProductVersionMsAt);
        productVersion_.leastSignificant = dword(*fixed, kProductVersionMsAt + 4);
    }
    fileVersion_.stringValue = getByIndex(kFileVersionKey);
    productVersion_.stringValue = getByIndex(kProductVersionKey);
}

std::string FileVersionInfo::getByIndex(int index) const {
    if (index < 0 || index >= kVersionKeyCount || !block_) return {};
    const std::string translation =
        translations_.empty() ? std::string(kDefaultTranslation)
                              : translations_[static_cast<std::size_t>(translationIndex_)];
    std::string query = "\\StringFileInfo\\" + translation + "\\";
    query += kVersionKeys[index];
    auto value = modules_.queryVersionValue(*block_, query);
    if (!value) return {};
    std::string text(value->begin(), value->end());
    return text.substr(0, text.find('\0'));
}

platform::SystemTime fileTimeToSystemTime(std::uint64_t fileTime) {
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    constexpr std::uint64_t kSecondsPerDay = 86'400;
    const std::uint64_t seconds = fileTime / kTicksPerSecond;
    const std::int64_t days = static_cast<std::int64_t>(seconds / kSecondsPerDay);
    const std::uint64_t secondOfDay = seconds % kSecondsPerDay;

    platform::SystemTime time;
    // 1601-01-01 was a Monday.
    time.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);
    // Days since 1601-01-01 to a civil date, counting in 400-year eras from 1600-03-01.
    std::int64_t z = days + 306;  // 1600-03-01 to 1601-01-01
    const std::int64_t era = z / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 is March
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = 1600 + era * 400 + yearOfEra + (month <= 2 ? 1 : 0);

    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    time.minute = static_cast<std::uint16_t>(secondOfDay % 3600 / 60);
    time.second = static_cast<std::uint16_t>(secondOfDay % 60);
    time.milliseconds = static_cast<std::uint16_t>(fileTime % kTicksPerSecond / 10'000);
    return time;
}

std::string getVersionItem(const platform::Platform& platform, std::string_view path,
                           int selector) {
    if (selector < 0 || selector >= kVersionItemCount) return {};
    if (selector == kVersionItemFileDate) {
        auto written = platform.files.lastWriteTime(path);
        if (!written) return {};
        return platform.clock.formatShortDate(fileTimeToSystemTime(*written));
    }
    FileVersionInfo version(platform.modules, platform.system);
    version.setForceEXE(true);
    version.setFilename(std::string(path));
    for (int key = 0; key < kVersionKeyCount; ++key) {
        if (kVersionKeys[key] == kVersionItemKeys[selector]) return version.getByIndex(key);
    }
    return {};
}

}  // namespace tamux
