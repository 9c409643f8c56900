// The Registry service over the real ANSI registry functions of advapi32.
#pragma once

#include "platform/registry.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

// The predefined key of a root, HKEY_DYN_DATA included (which the SDK no longer names).
HKEY rootKeyHandle(platform::RootKey root);

class Win32Registry final : public platform::Registry {
  public:
    long openKey(platform::RootKey root, std::string_view path, platform::KeyAccess access,
                 Key& key) override;
    void closeKey(Key key) override;
    long queryValue(Key key, std::string_view name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override;
    long subkeyNames(Key key, std::vector<std::string>& names) override;
    long valueNames(Key key, std::vector<std::string>& names) override;
};

}  // namespace tamux::win32
