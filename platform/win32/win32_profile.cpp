#include "platform/win32/win32_profile.h"

#include <limits>
#include <vector>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

std::string Win32Profile::getString(std::string_view file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) {
    // A buffer without room for the terminating NUL holds no text at all.
    if (bufferSize == 0) return {};
    if (bufferSize > std::numeric_limits<DWORD>::max())
        bufferSize = std::numeric_limits<DWORD>::max();
    const std::string fileName(file), sectionName(section), keyName(key), fallback(defaultValue);
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length =
        GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), fallback.c_str(),
                                 buffer.data(), static_cast<DWORD>(bufferSize), fileName.c_str());
    if (length >= bufferSize) length = static_cast<DWORD>(bufferSize - 1);
    return std::string(buffer.data(), length);
}

bool Win32Profile::writeString(std::string_view file, std::string_view section,
                               std::string_view key, std::string_view value) {
    const std::string fileName(file), sectionName(section), keyName(key), text(value);
    return WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(),
                                      fileName.c_str()) != FALSE;
}

}  // namespace tamux::win32
