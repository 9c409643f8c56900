#include "devices/keyboard/keyboard_collector.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/device_driver.h"
#include "devices/keyboard/flag_text.h"
#include "platform/reg_key.h"
#include "registry/win_version.h"

namespace tamux {

namespace {

using platform::KeyAccess;
using platform::RootKey;
namespace regtype = platform::regtype;

constexpr TextId kTextOn = 7;
constexpr TextId kTextOff = 8;
constexpr std::size_t kMaxKeyboardName = 255;

constexpr std::string_view kNtLayouts = "SYSTEM\\ControlSet001\\Control\\Keyboard Layouts\\";
// Where ControlSet001 is not there (a machine whose current set has another number, or Wine, which
// keeps the set under this name alone), the layouts are read through the current set.
constexpr std::string_view kNtCurrentLayouts =
    "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\";
constexpr std::string_view k9xLayouts = "System\\CurrentControlSet\\Control\\keyboard layouts\\";

std::string onOffText(bool on, const LangModule& lang) {
    return lang.getLangText(on ? kTextOn : kTextOff);
}

// Stores the value's text in `field` when the value exists; returns whether it did.
bool readIfPresent(RegKey& key, std::string_view name, std::string& field) {
    if (!key.valueExists(name)) return false;
    field = key.readString(name);
    return true;
}

// The NT flag test: bit 0 of the decimal number stored as text. A text that is no decimal number
// tells nothing, so the state is left empty rather than guessed.
void readFlagState(RegKey& key, std::string_view name, const LangModule& lang, std::string& state) {
    if (!key.valueExists(name)) return;
    if (std::optional<std::int32_t> flags = parseDecimalInteger(key.readString(name))) {
        state = onOffText((*flags & 1) != 0, lang);
    }
}

// The 9x "On" test: on exactly when the text is "1".
void readOnState(RegKey& key, const LangModule& lang, std::string& state) {
    if (!key.valueExists("On")) return;
    state = onOffText(key.readString("On") == "1", lang);
}

// Serial keys: off when the key or its flags are missing. XP stores the flags as a DWORD, while
// scripts and 9x store them as text; both are read, as the other flags are.
void readSerialKeysState(RegKey& key, const LangModule& lang, std::string& state) {
    std::int32_t flags = 0;
    if (std::optional<std::uint32_t> type = key.valueType("Flags")) {
        if (*type == regtype::kDword) {
            flags = static_cast<std::int32_t>(key.readInteger("Flags"));
        } else {
            std::optional<std::int32_t> parsed = parseDecimalInteger(key.readString("Flags"));
            if (!parsed) return;
            flags = *parsed;
        }
    }
    state = onOffText((flags & 1) != 0, lang);
}

// The display name and driver file of every layout found, from the machine's layout keys.
void readLayoutNames(platform::Registry& registry, std::string_view layoutsKey,
                     std::vector<LayoutEntry>& layouts, std::string_view fallbackKey = {}) {
    RegKey machine(registry, RootKey::LocalMachine, KeyAccess::Read);
    for (LayoutEntry& layout : layouts) {
        if (!machine.openKey(std::string(layoutsKey) + layout.layoutId) && !fallbackKey.empty()) {
            machine.openKey(std::string(fallbackKey) + layout.layoutId);
        }
        readIfPresent(machine, "Layout Text", layout.layoutText);
        readIfPresent(machine, "Layout File", layout.layoutFile);
        machine.closeKey();
    }
}

void readKeyboardResponse(RegKey& user, KeyboardFacts& facts) {
    readIfPresent(user, "AutoRepeatDelay", facts.autoRepeatDelay);
    readIfPresent(user, "AutoRepeatRate", facts.autoRepeatRate);
    readIfPresent(user, "BounceTime", facts.bounceTime);
    readIfPresent(user, "DelayBeforeAcceptance", facts.delayBeforeAcceptance);
}

// The accessibility features, which both families keep in the same keys but for the spelling of
// two of their names; `readState` is the family's own test of whether a feature is on.
template <typename ReadState>
void readAccessibility(RegKey& user, const LangModule& lang, std::string_view keyboardResponseKey,
                       std::string_view stickyKeysKey, ReadState readState, KeyboardFacts& facts) {
    user.openKey(keyboardResponseKey);
    readKeyboardResponse(user, facts);
    readState(user, facts.filterKeysState);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\ToggleKeys");
    readState(user, facts.toggleKeysState);
    user.closeKey();

    user.openKey(stickyKeysKey);
    readState(user, facts.stickyKeysState);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\MouseKeys");
    readState(user, facts.mouseKeysState);
    readIfPresent(user, "MaximumSpeed", facts.maximumSpeed);
    readIfPresent(user, "TimeToMaximumSpeed", facts.timeToMaximumSpeed);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\SerialKeys");
    readSerialKeysState(user, lang, facts.serialKeysState);
    user.closeKey();
}

void collectNt(const platform::Platform& platform, const LangModule& lang, KeyboardFacts& facts) {
    RegKey user(platform.registry, RootKey::CurrentUser, KeyAccess::Read);

    user.openKey("Control Panel\\Keyboard");
    readIfPresent(user, "KeyboardDelay", facts.keyboardDelay);
    readIfPresent(user, "KeyboardSpeed", facts.keyboardSpeed);
    user.closeKey();

    // NT lists the layouts as values named "1", "2", ...; only plain strings count.
    user.openKey("Keyboard Layout\\Preload");
    for (const std::string& name : user.valueNames()) {
        if (user.valueType(name) == regtype::kSz) {
            facts.layouts.push_back({user.readString(name), {}, {}});
        }
    }
    user.closeKey();
    readLayoutNames(platform.registry, kNtLayouts, facts.layouts, kNtCurrentLayouts);

    facts.functionKeys = std::to_string(platform.system.keyboardType(2));

    readAccessibility(
        user, lang, "Control Panel\\Accessibility\\Keyboard Response",
        "Control Panel\\Accessibility\\StickyKeys",
        [&lang](RegKey& key, std::string& state) { readFlagState(key, "Flags", lang, state); },
        facts);
}

void collect9x(const platform::Platform& platform, const LangModule& lang, KeyboardFacts& facts) {
    RegKey user(platform.registry, RootKey::CurrentUser, KeyAccess::Read);

    user.openKey("Control Panel\\Accessibility\\KeyboardResponse");
    const bool delayFound = readIfPresent(user, "KeyboardDelay", facts.keyboardDelay);
    const bool speedFound = readIfPresent(user, "KeyboardSpeed", facts.keyboardSpeed);
    user.closeKey();
    // 9x itself keeps the repeat settings in "Control Panel\Keyboard"; without looking there the
    // delay and speed would come out empty on every 9x machine.
    if (!delayFound || !speedFound) {
        user.openKey("Control Panel\\Keyboard");
        if (!delayFound) readIfPresent(user, "KeyboardDelay", facts.keyboardDelay);
        if (!speedFound) readIfPresent(user, "KeyboardSpeed", facts.keyboardSpeed);
        user.closeKey();
    }

    // 9x lists the layouts as subkeys whose default value names the layout.
    user.openKey("keyboard layout\\preload");
    const std::vector<std::string> preload = user.subkeyNames();
    user.closeKey();
    for (const std::string& name : preload) {
        user.openKey("keyboard layout\\preload\\" + name);
        facts.layouts.push_back({user.readString(""), {}, {}});
        user.closeKey();
    }
    readLayoutNames(platform.registry, k9xLayouts, facts.layouts);

    facts.functionKeys = std::to_string(platform.system.keyboardType(2));

    readAccessibility(
        user, lang, "Control Panel\\Accessibility\\KeyboardResponse",
        "Control Panel\\Accessibility\\Stickykeys",
        [&lang](RegKey& key, std::string& state) { readOnState(key, lang, state); }, facts);
}

void collectDevice(platform::Registry& registry, const DeviceTable& table, KeyboardFacts& facts) {
    // Only the first keyboard counts.
    const DeviceEntry* keyboard = firstDeviceOfClass(table, "KEYBOARD");
    if (!keyboard) return;
    facts.keyboardName = deviceDisplayName(*keyboard).substr(0, kMaxKeyboardName);
    readDriverValues(registry, keyboard->driverKey, facts);
}

}  // namespace

void readKeyboardFacts(const platform::Platform& platform, const DeviceTable& devices,
                       const LangModule& lang, KeyboardFacts& facts) {
    if (isWinNT(platform.system)) {
        collectNt(platform, lang, facts);
    } else if (isWin9x(platform.system)) {
        collect9x(platform, lang, facts);
    }
    collectDevice(platform.registry, devices, facts);
}

}  // namespace tamux
