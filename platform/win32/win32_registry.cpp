#include "platform/win32/win32_registry.h"

#include <algorithm>
#include <string>

#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace status = platform::status;

namespace {

// Windows 9x kept its live hardware tree here; the SDK names it HKEY_DYN_DATA. Like every
// predefined key it is a negative 32-bit LONG widened to a handle, so a 64-bit program holds it
// sign-extended (0xFFFFFFFF80000006); zero-extended it would be no predefined key at all.
const HKEY kDynData =
    reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000006u)));

REGSAM accessMask(platform::KeyAccess access) {
    return access == platform::KeyAccess::AllAccess ? KEY_ALL_ACCESS : KEY_READ;
}

HKEY toHandle(platform::Registry::Key key) {
    return reinterpret_cast<HKEY>(key);
}

// Name buffers grow on ERROR_MORE_DATA; a registry that keeps asking for more past this size is
// broken, and the enumeration fails instead of looping.
constexpr std::size_t kNameBufferLimit = 1u << 20;

// The longest key name in the system's code page.
constexpr std::size_t kLongestKeyNameBytes = 2 * 255;

// The buffer of a value's first read: hardware id lists and descriptions fit in it.
constexpr std::size_t kFirstReadBytes = 1024;

// Enumerates names with RegEnumKeyExA or RegEnumValueA (both take index, buffer, length in and
// out, and return ERROR_NO_MORE_ITEMS past the end).
template <typename EnumOne>
long enumerateNames(std::size_t initialLength, EnumOne enumOne, std::vector<std::string>& names) {
    std::vector<char> buffer(std::max<std::size_t>(initialLength + 1, 256));
    std::vector<std::string> found;
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = enumOne(index, buffer.data(), &length);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_MORE_DATA) {
            if (buffer.size() >= kNameBufferLimit) return result;
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) return result;
        found.emplace_back(buffer.data(), std::min<std::size_t>(length, buffer.size()));
        ++index;
    }
    names = std::move(found);
    return status::kSuccess;
}

}  // namespace

HKEY rootKeyHandle(platform::RootKey root) {
    switch (root) {
        case platform::RootKey::CurrentUser:
            return HKEY_CURRENT_USER;
        case platform::RootKey::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case platform::RootKey::DynData:
            return kDynData;
    }
    return nullptr;
}

long Win32Registry::openKey(platform::RootKey root, std::string_view path,
                            platform::KeyAccess access, Key& key) {
    key = 0;
    HKEY opened = nullptr;
    const std::string subKey(path);
    LONG result =
        RegOpenKeyExA(rootKeyHandle(root), subKey.c_str(), 0, accessMask(access), &opened);
    if (result != ERROR_SUCCESS) return result;
    key = reinterpret_cast<Key>(opened);
    return status::kSuccess;
}

void Win32Registry::closeKey(Key key) {
    if (key != 0) RegCloseKey(toHandle(key));
}

long Win32Registry::queryValue(Key key, std::string_view name, std::uint32_t& type,
                               std::vector<std::uint8_t>& data) {
    if (key == 0) return status::kInvalidHandle;
    const std::string valueName(name);
    DWORD valueType = 0;
    // Most values are short: one read into a buffer on the stack answers them, without a size
    // query first. A walk of the device tree reads thousands of values, and every call is a
    // round trip to the registry's keeper.
    std::uint8_t first[kFirstReadBytes];
    DWORD got = sizeof first;
    LONG result =
        RegQueryValueExA(toHandle(key), valueName.c_str(), nullptr, &valueType, first, &got);
    if (result == ERROR_SUCCESS) {
        type = valueType;
        data.assign(first, first + std::min<std::size_t>(got, sizeof first));
        return status::kSuccess;
    }
    if (result != ERROR_MORE_DATA) return result;
    // The value may grow between two reads, and for string types the size answered may be an
    // estimate: read until the whole value fits.
    std::vector<std::uint8_t> buffer;
    DWORD size = std::max<DWORD>(got, 2 * sizeof first);
    for (;;) {
        buffer.resize(size);
        got = static_cast<DWORD>(buffer.size());
        result = RegQueryValueExA(toHandle(key), valueName.c_str(), nullptr, &valueType,
                                  buffer.data(), &got);
        if (result == ERROR_MORE_DATA) {
            size = std::max<DWORD>(got, static_cast<DWORD>(buffer.size() * 2));
            continue;
        }
        if (result != ERROR_SUCCESS) return result;
        buffer.resize(std::min<std::size_t>(got, buffer.size()));
        break;
    }
    type = valueType;
    data = std::move(buffer);
    return status::kSuccess;
}

long Win32Registry::subkeyNames(Key key, std::vector<std::string>& names) {
    if (key == 0) return status::kInvalidHandle;
    HKEY handle = toHandle(key);
    // A key's name is at most 255 UTF-16 units, twice that in a double-byte code page: no need
    // to ask each key for its longest subkey name first, a round trip of its own.
    return enumerateNames(
        kLongestKeyNameBytes,
        [handle](DWORD index, char* buffer, DWORD* length) {
            return RegEnumKeyExA(handle, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

long Win32Registry::valueNames(Key key, std::vector<std::string>& names) {
    if (key == 0) return status::kInvalidHandle;
    HKEY handle = toHandle(key);
    DWORD longest = 0;
    LONG result = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, &longest, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) return result;
    // The longest length is counted in UTF-16 units; a double-byte code page may need twice that.
    return enumerateNames(
        longest * 2,
        [handle](DWORD index, char* buffer, DWORD* length) {
            return RegEnumValueA(handle, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

}  // namespace tamux::win32
