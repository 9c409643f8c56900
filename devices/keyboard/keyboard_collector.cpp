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
    return lang.GetLangText(on ? kTextOn : kTextOff);
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
    if (std::optional<std::int32_t> flags = ParseDecimalInteger(key.readString(name))) {
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
            std::optional<std::int32_t> parsed = ParseDecimalInteger(key.readString("Flags"));
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
        if (!machine.openKey(std::string(layoutsKey) + layout.LayoutId) && !fallbackKey.empty()) {
            machine.openKey(std::string(fallbackKey) + layout.LayoutId);
        }
        readIfPresent(machine, "Layout Text", layout.LayoutText);
        readIfPresent(machine, "Layout File", layout.LayoutFile);
        machine.closeKey();
    }
}

void readKeyboardResponse(RegKey& user, KeyboardFacts& facts) {
    readIfPresent(user, "AutoRepeatDelay", facts.AutoRepeatDelay);
    readIfPresent(user, "AutoRepeatRate", facts.AutoRepeatRate);
    readIfPresent(user, "BounceTime", facts.BounceTime);
    readIfPresent(user, "DelayBeforeAcceptance", facts.DelayBeforeAcceptance);
}

// The accessibility features, which both families keep in the same keys but for the spelling of
// two of their names; `readState` is the family's own test of whether a feature is on.
template <typename ReadState>
void readAccessibility(RegKey& user, const LangModule& lang, std::string_view keyboardResponseKey,
                       std::string_view stickyKeysKey, ReadState readState, KeyboardFacts& facts) {
    user.openKey(keyboardResponseKey);
    readKeyboardResponse(user, facts);
    readState(user, facts.FilterKeysState);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\ToggleKeys");
    readState(user, facts.ToggleKeysState);
    user.closeKey();

    user.openKey(stickyKeysKey);
    readState(user, facts.StickyKeysState);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\MouseKeys");
    readState(user, facts.MouseKeysState);
    readIfPresent(user, "MaximumSpeed", facts.MaximumSpeed);
    readIfPresent(user, "TimeToMaximumSpeed", facts.TimeToMaximumSpeed);
    user.closeKey();

    user.openKey("Control Panel\\Accessibility\\SerialKeys");
    readSerialKeysState(user, lang, facts.SerialKeysState);
    user.closeKey();
}

void collectNt(const platform::Platform& platform, const LangModule& lang, KeyboardFacts& facts) {
    RegKey user(platform.registry, RootKey::CurrentUser, KeyAccess::Read);

    user.openKey("Control Panel\\Keyboard");
    readIfPresent(user, "KeyboardDelay", facts.KeyboardDelay);
    readIfPresent(user, "KeyboardSpeed", facts.KeyboardSpeed);
    user.closeKey();

    // NT lists the layouts as values named "1", "2", ...; only plain strings count.
    user.openKey("Keyboard Layout\\Preload");
    for (const std::string& name : user.valueNames()) {
        if (user.valueType(name) == regtype::kSz) {
            facts.Layouts.push_back({user.readString(name), {}, {}});
        }
    }
    user.closeKey();
    readLayoutNames(platform.registry, kNtLayouts, facts.Layouts, kNtCurrentLayouts);

    facts.FunctionKeys = std::to_string(platform.system.keyboardType(2));

    readAccessibility(
        user, lang, "Control Panel\\Accessibility\\Keyboard Response",
        "Control Panel\\Accessibility\\StickyKeys",
        [&lang](RegKey& key, std::string& state) { readFlagState(key, "Flags", lang, state); },
        facts);
}

void collect9x(const platform::Platform& platform, const LangModule& lang, KeyboardFacts& facts) {
    RegKey user(platform.registry, RootKey::CurrentUser, KeyAccess::Read);

    user.openKey("Control Panel\\Accessibility\\KeyboardResponse");
    const bool delayFound = readIfPresent(user, "KeyboardDelay", facts.KeyboardDelay);
    const bool speedFound = readIfPresent(user, "KeyboardSpeed", facts.KeyboardSpeed);
    user.closeKey();
    // 9x itself keeps the repeat settings in "Control Panel\Keyboard"; without looking there the
    // delay and speed would come out empty on every 9x machine.
    if (!delayFound || !speedFound) {
        user.openKey("Control Panel\\Keyboard");
        if (!delayFound) readIfPresent(user, "KeyboardDelay", facts.KeyboardDelay);
        if (!speedFound) readIfPresent(user, "KeyboardSpeed", facts.KeyboardSpeed);
        user.closeKey();
    }

    // 9x lists the layouts as subkeys whose default value names the layout.
    user.openKey("keyboard layout\\preload");
    const std::vector<std::string> preload = user.subkeyNames();
    user.closeKey();
    for (const std::string& name : preload) {
        user.openKey("keyboard layout\\preload\\" + name);
        facts.Layouts.push_back({user.readString(""), {}, {}});
        user.closeKey();
    }
    readLayoutNames(platform.registry, k9xLayouts, facts.Layouts);

    facts.FunctionKeys = std::to_string(platform.system.keyboardType(2));

    readAccessibility(
        user, lang, "Control Panel\\Accessibility\\KeyboardResponse",
        "Control Panel\\Accessibility\\Stickykeys",
        [&lang](RegKey& key, std::string& state) { readOnState(key, lang, state); }, facts);
}

void collectDevice(platform::Registry& registry, const DeviceTable& table, KeyboardFacts& facts) {
    // Only the first keyboard counts.
    const devices* keyboard = FirstDeviceOfClass(table, "KEYBOARD");
    if (!keyboard) return;
    facts.KeyboardName = DeviceName(*keyboard).substr(0, kMaxKeyboardName);
    ReadDriverValues(registry, keyboard->DriverKey, facts);
}

}  // namespace

void getkeyboardInfos(const platform::Platform& platform, const DeviceTable& devices,
                      const LangModule& lang, KeyboardFacts& facts) {
    if (IsWinNT(platform.system)) {
        collectNt(platform, lang, facts);
    } else if (IsWin9x(platform.system)) {
        collect9x(platform, lang, facts);
    }
    collectDevice(platform.registry, devices, facts);
}

}  // namespace tamux
