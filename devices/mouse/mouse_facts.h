// The mouse facts: the mouse device's name, its driver details and the current user's pointer
// settings, gathered once at start as display-ready strings.
#pragma once

#include <string>

namespace tamux {

struct MouseFacts {
    std::string Name;
    // The button order and the acceleration as texts of the language module; the double-click
    // speed and the sensitivity as stored.
    std::string ButtonsText, DoubleClickSpeed, Sensitivity, AccelerationText;
    // From the mouse's driver key.
    std::string DriverDesc, ProviderName, DriverVersion, DriverDate, InfPath;

    bool operator==(const MouseFacts&) const = default;
};

}  // namespace tamux
