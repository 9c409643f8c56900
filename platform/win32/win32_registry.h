// The Registry service over the real ANSI registry functions of advapi32.
#pragma once

#include "platform/registry.h"

namespace tamux::win32 {

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
