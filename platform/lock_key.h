// The four keys whose toggle state the program shows and sets.
#pragma once

#include <cstdint>

namespace tamux {

enum class LockKey : std::uint8_t { CapsLock, NumLock, ScrollLock, Insert };

// The keys in the order the keyboard section shows them.
inline constexpr LockKey kLockKeysInShownOrder[] = {LockKey::CapsLock, LockKey::NumLock,
                                                    LockKey::ScrollLock, LockKey::Insert};

}  // namespace tamux
