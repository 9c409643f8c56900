// The keyboard section's info lines: the device name, the driver group, the four lock-key
// indicator lines, the layouts group, the repeat settings and the accessibility group.
#pragma once

#include <string>
#include <vector>

#include "devices/keyboard/key_state.h"
#include "devices/keyboard/keyboard_facts.h"
#include "lang/lang_module.h"
#include "ui/section_list.h"

namespace tamux {

// The indicator line of a lock key: green while it is on, black while off.
std::string IndicatorLine(LockKey key, bool on);

// The keys in the order of their indicator lines.
inline constexpr LockKey kIndicatorOrder[] = {LockKey::CapsLock, LockKey::NumLock,
                                              LockKey::ScrollLock, LockKey::Insert};

// A new list of the keyboard section's lines (30 + 4 per layout), with the lock keys' current
// states. Every value from the system is escaped; labels and on/off texts come from the
// language module as they are.
std::vector<std::string> KeyboardTextLines(const KeyboardFacts& facts, TKeyState& keys,
                                           const LangModule& lang);

// Writes the four indicator lines with the keys' current states: for each key in the order of
// kIndicatorOrder, the first line equal (letter case ignored) to its on line, or else to its off
// line, is replaced in place; a key with neither gets its line appended. A null list is left
// alone.
void setkeybinfokeys(std::vector<std::string>* lines, TKeyState& keys);
void setkeybinfokeys(TSubItems* lines, TKeyState& keys);

}  // namespace tamux
