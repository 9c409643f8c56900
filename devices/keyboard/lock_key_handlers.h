// The main window's answers to the lock keys: refreshing the keyboard section's indicator lines
// when a lock key is pressed or the program is activated, and toggling a key when the user clicks
// its indicator line in the right pane.
#pragma once

#include <optional>
#include <string_view>

#include "devices/keyboard/key_state.h"
#include "lang/lang_module.h"
#include "ui/section_list.h"

namespace tamux {

// The right pane's keyboard section: the first section after the category heading (section 0)
// whose caption is the keyboard text (id 601); null when the pane shows none.
TListSection* FindKeyboardSection(SectionList& pane, const LangModule& lang);

// Rewrites the keyboard section's indicator lines in place with the keys' current states; does
// nothing when the pane shows no keyboard section. Every lock-key event of the main window does
// this.
void RefreshKeyboardIndicators(SectionList& pane, TKeyState& keys, const LangModule& lang);

// The key whose indicator line `line` is (its on or its off form, letter case ignored); nullopt
// for any other line.
std::optional<LockKey> IndicatorLineKey(std::string_view line);

// A click on line `item` of right-pane section `section`: when that line is a lock key's indicator
// line, sets the key to the opposite of its current state and returns the key. Any other line,
// however much it spells like a key's name, toggles nothing. The lines are not rewritten here: the
// synthesised press comes back as a key-down, whose event refreshes them.
std::optional<LockKey> ToggleLockKeyOfLine(SectionList& pane, int section, int item,
                                           TKeyState& keys);

}  // namespace tamux
