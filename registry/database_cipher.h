// The keys of the suite's device database files: the program deciphers with them and the
// database generator enciphers with them.
#pragma once

#include <cstdint>
#include <string_view>

#include "registry/crypt_lib.h"

namespace tamux {

constexpr std::int32_t kDatabaseAddKey = 9127;
constexpr std::int32_t kDatabaseMultKey = 8429;
constexpr std::string_view kDatabasePassword = "ZorvInfo";

// Sets the database keys in the order the component expects them: AddKey, multKey, Password.
inline void useDatabaseKeys(CryptLib& crypt) {
    crypt.setAddKey(kDatabaseAddKey);
    crypt.setMultKey(kDatabaseMultKey);
    crypt.setPassword(kDatabasePassword);
}

}  // namespace tamux
