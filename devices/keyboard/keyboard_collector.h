// Gathering the keyboard facts at start: repeat settings, installed layouts, accessibility
// features (from the current user's and the machine's registry, in the NT or the 9x family's
// places), the number of function keys, and the keyboard device's name and driver details.
#pragma once

#include "devices/keyboard/keyboard_facts.h"
#include "lang/lang_module.h"
#include "platform/platform.h"
#include "registry/devices.h"

namespace tamux {

// Fills `facts` (empty on entry; the layout list is appended to). Keys are opened for reading
// only, so that a limited account sees what an administrator sees. A value that is missing, or
// whose key cannot be opened, leaves its field empty; an on/off flag that is not a decimal number
// leaves its state empty. On a Windows of neither family only the device part runs. A value of
// a type the read does not accept raises RegistryError, which ends the collection there; the
// fields filled before it stay.
void readKeyboardFacts(const platform::Platform& platform, const DeviceTable& devices,
                       const LangModule& lang, KeyboardFacts& facts);

}  // namespace tamux
