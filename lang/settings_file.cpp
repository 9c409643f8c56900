#include "lang/settings_file.h"

#include <exception>
#include <utility>

namespace tamux {

namespace {

// Where the file name begins: after the last folder separator or drive colon.
std::size_t fileNameStart(std::string_view path) {
    std::size_t separator = path.find_last_of("\\/:");
    return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string pathWithoutExtension(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < fileNameStart(path)) return std::string(path);
    return std::string(path.substr(0, dot));
}

std::string settingsFilePath(std::string_view executablePath) {
    return pathWithoutExtension(executablePath) + ".ini";
}

bool readIniValue(platform::Profile& profile, std::string_view fileName, std::string_view section,
                  std::string_view key, std::string& value) {
    std::string read;
    try {
        read = profile.getString(fileName, section, key, kMissingValue, kIniValueBufferSize);
    } catch (const std::exception&) {
        value.clear();
        return false;
    }
    // The profile cuts to the buffer; a longer answer would not fit the caller's promise either.
    if (read.size() > kIniValueBufferSize - 1) read.resize(kIniValueBufferSize - 1);
    value = std::move(read);
    return value != kMissingValue;
}

bool writeIniValue(platform::Profile& profile, std::string_view fileName, std::string_view section,
                   std::string_view key, std::string_view value) {
    try {
        return profile.writeString(fileName, section, key, value);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace tamux
