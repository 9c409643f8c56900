#include "devices/mouse/mouse_collector.h"

#include <string>
#include <string_view>

#include "devices/device_driver.h"
#include "platform/reg_key.h"

namespace tamux {

namespace {

using platform::KeyAccess;
using platform::RootKey;

constexpr TextId kButtonsNormal = 300;
constexpr TextId kButtonsSwapped = 301;

// The named acceleration settings of the Control Panel, compared as the stored strings: a
// stored "00" is not "0".
struct Acceleration {
    std::string_view speed, threshold1, threshold2;
    TextId text;
};
constexpr Acceleration kAccelerations[] = {
    {"0", "0", "0", 310},
    {"1", "7", "0", 311},
    {"2", "4", "12", 312},
    {"2", "4", "6", 313},
};
constexpr TextId kOtherAcceleration = 314;

std::string readIfPresent(RegKey& key, std::string_view name) {
    return key.valueExists(name) ? key.readString(name) : std::string();
}

void readIfPresent(RegKey& key, std::string_view name, std::string& field) {
    if (key.valueExists(name)) field = key.readString(name);
}

TextId accelerationText(std::string_view speed, std::string_view threshold1,
                        std::string_view threshold2) {
    for (const Acceleration& a : kAccelerations) {
        if (speed == a.speed && threshold1 == a.threshold1 && threshold2 == a.threshold2) {
            return a.text;
        }
    }
    return kOtherAcceleration;
}

}  // namespace

void readMouseFacts(const platform::Platform& platform, const DeviceTable& devices,
                    const LangModule& lang, MouseFacts& facts) {
    {
        RegKey user(platform.registry, RootKey::CurrentUser, KeyAccess::Read);
        user.openKey("Control Panel\\Mouse");
        if (user.valueExists("SwapMouseButtons")) {
            const bool normal = user.readString("SwapMouseButtons") == "0";
            facts.buttonsText = lang.getLangText(normal ? kButtonsNormal : kButtonsSwapped);
        }
        readIfPresent(user, "DoubleClickSpeed", facts.doubleClickSpeed);
        readIfPresent(user, "MouseSensitivity", facts.sensitivity);
        const std::string speed = readIfPresent(user, "MouseSpeed");
        const std::string threshold1 = readIfPresent(user, "MouseThreshold1");
        const std::string threshold2 = readIfPresent(user, "MouseThreshold2");
        facts.accelerationText = lang.getLangText(accelerationText(speed, threshold1, threshold2));
    }

    // Only the first mouse counts.
    const tamux::DeviceEntry* mouse = firstDeviceOfClass(devices, "MOUSE");
    if (!mouse) return;
    facts.name = deviceDisplayName(*mouse);
    readDriverValues(platform.registry, mouse->driverKey, facts);
}

}  // namespace tamux
