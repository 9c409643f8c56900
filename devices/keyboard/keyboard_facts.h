// The keyboard facts: what the keyboard section shows apart from the lock-key states, gathered
// once at start as display-ready strings. Empty strings stand for what the system does not say.
#pragma once

#include <string>
#include <vector>

namespace tamux {

// One installed keyboard layout, in preload order.
struct LayoutEntry {
    std::string layoutId;    // as stored, for example "00000409"
    std::string layoutText;  // the layout's display name
    std::string layoutFile;  // the layout's driver file

    bool operator==(const LayoutEntry&) const = default;
};

struct KeyboardFacts {
    // The keyboard device's name, at most 255 characters.
    std::string keyboardName;
    // From the keyboard's driver key.
    std::string driverDesc, providerName, driverVersion, driverDate, infPath;
    // Repeat settings, as the registry stores them (not converted to milliseconds).
    std::string keyboardDelay, keyboardSpeed;
    std::vector<LayoutEntry> layouts;
    // GetKeyboardType(2) in decimal.
    std::string functionKeys;
    // The on/off facts hold the language's own text for on (id 7) or off (id 8).
    std::string filterKeysState;
    std::string autoRepeatDelay, autoRepeatRate, bounceTime, delayBeforeAcceptance;
    std::string toggleKeysState, stickyKeysState, mouseKeysState, serialKeysState;
    std::string maximumSpeed, timeToMaximumSpeed;

    bool operator==(const KeyboardFacts&) const = default;
};

}  // namespace tamux
