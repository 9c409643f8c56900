// Registry service: the raw operations of the Win32 registry API, answered either by the real
// API or by the simulated machine. Higher-level reading rules (which type a read accepts, which
// message a failure carries) live in RegKey, portable code over this interface. As the Win32
// registry, it answers two threads at once, each with keys of its own (a device walk in two
// halves); nothing changes the registry meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamux::platform {

enum class RootKey : std::uint8_t { CurrentUser, LocalMachine, DynData };

// The root's full name, as .reg files and registry paths write it: "HKEY_CURRENT_USER"...
constexpr const char* rootKeyName(RootKey root) {
    switch (root) {
        case RootKey::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RootKey::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RootKey::DynData:
            return "HKEY_DYN_DATA";
    }
    return "";
}

// The two access masks the program asks for.
enum class KeyAccess : std::uint8_t {
    Read,       // KEY_READ (0x20019)
    AllAccess,  // KEY_ALL_ACCESS (0xF003F)
};

// Win32 status codes that the callers distinguish.
namespace status {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;
}  // namespace status

// Registry value types (REG_*).
namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kDwordBigEndian = 5;
constexpr std::uint32_t kLink = 6;
constexpr std::uint32_t kMultiSz = 7;
constexpr std::uint32_t kResourceList = 8;
constexpr std::uint32_t kQword = 11;
}  // namespace regtype

class Registry {
  public:
    // An open key; 0 is "no key".
    using Key = std::uintptr_t;

    virtual ~Registry() = default;

    // RegOpenKeyExA(root, path, 0, access). An empty path opens the root itself. Key names are
    // compared without regard to case.
    // Returns status::kSuccess and sets `key` to the open key, or a failure status
    // (kFileNotFound, kAccessDenied, ...) and sets `key` to 0: nothing is left open.
    virtual long openKey(RootKey root, std::string_view path, KeyAccess access, Key& key) = 0;

    // RegCloseKey. Closing 0 does nothing.
    virtual void closeKey(Key key) = 0;

    // RegQueryValueExA of the whole value, however long. The empty name is the key's default
    // value. String types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) arrive in the system's 8-bit
    // code page, terminating NULs included, as RegQueryValueExA delivers them; other types arrive
    // as stored.
    // Returns kSuccess with `type` and `data` set; kFileNotFound when the value does not exist,
    // kInvalidHandle for key 0. On failure `type` and `data` are left unchanged.
    virtual long queryValue(Key key, std::string_view name, std::uint32_t& type,
                            std::vector<std::uint8_t>& data) = 0;

    // RegEnumKeyExA over every index: the names of the key's subkeys, in the registry's order.
    // Returns kSuccess and replaces `names`; on failure `names` is left unchanged.
    virtual long subkeyNames(Key key, std::vector<std::string>& names) = 0;

    // RegEnumValueA over every index: the key's value names, in the registry's order (the
    // default value, when set, as the empty name). Same contract as subkeyNames.
    virtual long valueNames(Key key, std::vector<std::string>& names) = 0;
};

}  // namespace tamux::platform
