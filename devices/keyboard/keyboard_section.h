// The keyboard section: the device name, the driver group, the four lock-key indicators, the
// layouts group, the repeat settings and the accessibility group.
#pragma once

#include "devices/keyboard/key_state.h"
#include "devices/keyboard/keyboard_facts.h"
#include "lang/lang_module.h"
#include "ui/device_section.h"

namespace tamux {

// 30 lines plus 4 per layout, the indicators with the keys' current states.
DeviceSection keyboardSection(const KeyboardFacts& facts, KeyState& keys, const LangModule& lang);

// Sets every indicator line of the section to its key's current state. Returns the indexes of
// the lines whose state changed.
std::vector<int> updateIndicators(DeviceSection& section, KeyState& keys);

}  // namespace tamux
