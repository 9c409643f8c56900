// RegKey: one registry key at a time under one root, read with the program's rules. It opens
// keys by their full path under the root, and turns the raw answers of the Registry service
// into strings, integers and raw bytes, raising RegistryError where a read meets the wrong type.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/registry.h"

namespace tamux {

class RegKey {
  public:
    RegKey(platform::Registry& registry, platform::RootKey root, platform::KeyAccess access);
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    platform::RootKey root() const { return root_; }

    // Closes the key that is open, then opens `path` (the full path under the root). Returns
    // false when the open fails; no key is open then.
    bool openKey(std::string_view path);

    // Closes the open key, if any.
    void closeKey();

    bool isOpen() const { return key_ != 0; }

    // The path of the open key, as it was passed to openKey; empty when none is open.
    const std::string& currentPath() const { return path_; }

    // Whether the open key has a value of that name. False when no key is open.
    bool valueExists(std::string_view name);

    // The value's type (REG_*), or nullopt when it does not exist or no key is open.
    std::optional<std::uint32_t> valueType(std::string_view name);

    // A string value (REG_SZ or REG_EXPAND_SZ), cut at its first NUL. Returns "" when no key is
    // open, when the value does not exist or when its data is empty. Raises RegistryError
    // "Invalid data type for '<name>'" for a value of another type, and "Failed to get data for
    // '<name>'" when the query itself fails.
    std::string readString(std::string_view name);
    // readString without a copy: a view of the data that stays valid until the next read or open
    // through this key.
    std::string_view readStringView(std::string_view name);

    // A value's type and raw data, read in one query for whether it exists and what it holds.
    struct Value {
        std::uint32_t type = 0;
        std::string data;
    };
    // nullopt where valueExists would be false; otherwise the value, for stringOf to read later:
    // a walk that asks whether a value exists and then reads it makes one query instead of two.
    std::optional<Value> readValue(std::string_view name);
    // What readString(name) gives for a value readValue read, its errors included; the text is
    // the value's own data, cut.
    static std::string stringOf(Value value, std::string_view name);

    // A 32-bit integer value (REG_DWORD). Raises RegistryError "Failed to get data for '<name>'"
    // when the value does not exist, no key is open or the data is not 4 bytes, and "Invalid data
    // type for '<name>'" for a value of another type.
    std::uint32_t readInteger(std::string_view name);

    // The raw data of a value of raw-bytes type or of a type the program has no reader for
    // (REG_BINARY, REG_MULTI_SZ in its 8-bit form, REG_NONE, any other number), read whole
    // whatever its length. Returns an empty vector when the value does not exist or no key is
    // open. Raises RegistryError "Invalid data type for '<name>'" for REG_SZ, REG_EXPAND_SZ and
    // REG_DWORD values.
    std::vector<std::uint8_t> readBinaryData(std::string_view name);
    // readBinaryData without a copy: a view of the data that stays valid until the next read or
    // open through this key.
    std::span<const std::uint8_t> readBinaryView(std::string_view name);

    // The open key's value names or subkey names in the registry's order; empty when no key is
    // open or the listing fails.
    std::vector<std::string> valueNames();
    std::vector<std::string> subkeyNames();
    // subkeyNames into `names`, whose strings are reused: a walk lists thousands of keys.
    void subkeyNames(std::vector<std::string>& names);

  private:
    // Queries a value into data_; returns the status. Raises "Failed to get data" for failures
    // other than a missing value.
    long query(std::string_view name, std::uint32_t& type);

    platform::Registry& registry_;
    platform::RootKey root_;
    platform::KeyAccess access_;
    platform::Registry::Key key_ = 0;
    std::string path_;
    // The data of the last query: kept between queries, so that a walk that reads thousands of
    // values does not allocate a buffer for each.
    std::vector<std::uint8_t> data_;
};

// "Invalid data type for '<name>'" and "Failed to get data for '<name>'".
RegistryError invalidDataType(std::string_view name);
RegistryError failedToGetData(std::string_view name);

}  // namespace tamux
