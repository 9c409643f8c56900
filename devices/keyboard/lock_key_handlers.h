// The right pane's answers to the lock keys: which key a clicked line stands for.
#pragma once

#include <optional>

#include "devices/keyboard/key_state.h"
#include "ui/device_section.h"

namespace tamux {

// A click on line `item` of `section`: when that line is a lock key's indicator, sets the key to
// the opposite of its current state and returns the key. Any other line, however much it spells
// like a key's name, toggles nothing. The line is not rewritten here: the synthesised press comes
// back as a key-down, whose event refreshes the indicators.
std::optional<LockKey> toggleLockKeyOfLine(const DeviceSection& section, int item, KeyState& keys);

}  // namespace tamux
