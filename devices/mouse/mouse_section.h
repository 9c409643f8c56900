// The mouse section: what the right pane and the report show of the mouse.
#pragma once

#include "devices/mouse/mouse_facts.h"
#include "lang/lang_module.h"
#include "ui/device_section.h"

namespace tamux {

// Exactly twelve lines: the name, the driver group and its five lines, a gap, and the four
// pointer settings.
DeviceSection mouseSection(const MouseFacts& facts, const LangModule& lang);

}  // namespace tamux
