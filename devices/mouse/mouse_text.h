// The mouse section's info lines.
#pragma once

#include <string>
#include <vector>

#include "devices/mouse/mouse_facts.h"
#include "lang/lang_module.h"

namespace tamux {

// A new list of exactly twelve lines: the name, the driver group and its five lines, a blank
// line, and the four pointer settings. Every value from the system is escaped; labels and the
// texts of the button order and the acceleration come from the language module as they are.
std::vector<std::string> MouseTextLines(const MouseFacts& facts, const LangModule& lang);

}  // namespace tamux
