// The mouse facts: the mouse device's name, its driver details and the current user's pointer
// settings, gathered once at start as display-ready strings.
#pragma once

#include <string>

namespace tamux {

struct MouseFacts {
    std::string name;
    // The button order and the acceleration as texts of the language module; the double-click
    // speed and the sensitivity as stored.
    std::string buttonsText, doubleClickSpeed, sensitivity, accelerationText;
    // From the mouse's driver key.
    std::string driverDesc, providerName, driverVersion, driverDate, infPath;

    bool operator==(const MouseFacts&) const = default;
};

}  // namespace tamux
