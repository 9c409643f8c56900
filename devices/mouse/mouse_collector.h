// Gathering the mouse facts at start: the pointer settings of the current user and the first
// mouse device's name and driver details.
#pragma once

#include "devices/mouse/mouse_facts.h"
#include "lang/lang_module.h"
#include "platform/platform.h"
#include "registry/devices.h"

namespace tamux {

// Fills `facts`. Keys are opened for reading only, so that a limited account sees what an
// administrator sees. A missing value or key leaves its fact empty, except the acceleration,
// which is always one of its texts. A value that is not a string raises RegistryError, which
// ends the collection there; the facts set before it stay.
void readMouseFacts(const platform::Platform& platform, const DeviceTable& devices,
                    const LangModule& lang, MouseFacts& facts);

}  // namespace tamux
