// The keyboard facts: what the keyboard section shows apart from the lock-key states, gathered
// once at start as display-ready strings. Empty strings stand for what the system does not say.
#pragma once

#include <string>
#include <vector>

namespace tamux {

// One installed keyboard layout, in preload order.
struct LayoutEntry {
    std::string LayoutId;    // as stored, for example "00000409"
    std::string LayoutText;  // the layout's display name
    std::string LayoutFile;  // the layout's driver file

    bool operator==(const LayoutEntry&) const = default;
};

struct KeyboardFacts {
    // The keyboard device's name, at most 255 characters.
    std::string KeyboardName;
    // From the keyboard's driver key.
    std::string DriverDesc, ProviderName, DriverVersion, DriverDate, InfPath;
    // Repeat settings, as the registry stores them (not converted to milliseconds).
    std::string KeyboardDelay, KeyboardSpeed;
    std::vector<LayoutEntry> Layouts;
    // GetKeyboardType(2) in decimal.
    std::string FunctionKeys;
    // The on/off facts hold the language's own text for on (id 7) or off (id 8).
    std::string FilterKeysState;
    std::string AutoRepeatDelay, AutoRepeatRate, BounceTime, DelayBeforeAcceptance;
    std::string ToggleKeysState, StickyKeysState, MouseKeysState, SerialKeysState;
    std::string MaximumSpeed, TimeToMaximumSpeed;

    bool operator==(const KeyboardFacts&) const = default;
};

}  // namespace tamux
