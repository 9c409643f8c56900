#include "devices/keyboard/keyboard_section.h"

#include "lang/window_text_ids.h"

namespace tamux {

namespace {

constexpr std::string_view kMilliseconds = " ms";

// The repeat delay is stored as a step, 0 to 3, of a quarter second each from 250 ms; a value
// outside the steps is shown as stored, without a unit it might not have.
void repeatDelay(std::string_view stored, std::string& value, std::string& unit) {
    if (stored.size() == 1 && stored[0] >= '0' && stored[0] <= '3') {
        value = std::to_string(250 * (stored[0] - '0' + 1));
        unit = kMilliseconds;
    } else {
        value = stored;
        unit.clear();
    }
}

class KeyboardLines {
  public:
    explicit KeyboardLines(const LangModule& lang) : lang_(lang) {}

    void add(SectionLine line) { lines_.push_back(std::move(line)); }
    void group(TextId label, bool major, LineIcon icon = LineIcon::None) {
        add(groupLine(lang_.getLangText(label), major, icon));
    }
    // A driver or layout record line.
    void record(TextId label, const std::string& value) {
        add(itemLine(LineIcon::Keyboard, Emphasis::Strong, lang_.getLangText(label), value));
    }
    // A unit follows a value only: an empty value shows empty.
    void setting(TextId label, const std::string& value, std::string_view unit = {}) {
        add(itemLine(LineIcon::Keyboard, Emphasis::Normal, lang_.getLangText(label), value,
                     value.empty() ? std::string() : std::string(unit)));
    }
    void state(TextId label, const std::string& text) {
        add(stateLine(LineIcon::Keyboard, lang_.getLangText(label), text));
    }
    std::vector<SectionLine> take() { return std::move(lines_); }

  private:
    const LangModule& lang_;
    std::vector<SectionLine> lines_;
};

}  // namespace

DeviceSection keyboardSection(const KeyboardFacts& facts, KeyState& keys, const LangModule& lang) {
    KeyboardLines out(lang);
    out.add(titleLine(facts.keyboardName));
    out.group(500, true, LineIcon::Keyboard);
    out.record(501, facts.driverDesc);
    out.record(502, facts.providerName);
    out.record(503, facts.driverVersion);
    out.record(504, facts.driverDate);
    out.record(505, facts.infPath);
    out.add(gapLine());

    for (LockKey key : kLockKeysInShownOrder) out.add(lockIndicatorLine(key, keys.isOn(key)));
    out.add(emptyLine());

    out.group(102, false);
    for (const LayoutEntry& layout : facts.layouts) {
        out.record(103, layout.layoutId);
        out.record(104, layout.layoutText);
        out.record(105, layout.layoutFile);
        out.add(emptyLine());
    }
    std::string delay, delayUnit;
    repeatDelay(facts.keyboardDelay, delay, delayUnit);
    out.setting(100, delay, delayUnit);
    out.setting(101, facts.keyboardSpeed);
    out.setting(107, facts.functionKeys);
    out.add(emptyLine());

    out.group(200, false);
    out.state(202, facts.filterKeysState);
    out.setting(108, facts.autoRepeatDelay, kMilliseconds);
    out.setting(109, facts.autoRepeatRate, kMilliseconds);
    out.setting(110, facts.bounceTime, kMilliseconds);
    out.setting(111, facts.delayBeforeAcceptance, kMilliseconds);
    out.state(201, facts.toggleKeysState);
    out.state(203, facts.mouseKeysState);
    out.setting(208, facts.maximumSpeed);
    out.setting(209, facts.timeToMaximumSpeed, kMilliseconds);
    out.state(204, facts.stickyKeysState);
    out.state(205, facts.serialKeysState);
    return {DeviceKind::Keyboard, lang.getLangText(kKeyboardText), out.take()};
}

std::vector<int> updateIndicators(DeviceSection& section, KeyState& keys) {
    std::vector<int> changed;
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        SectionLine& line = section.lines[i];
        if (line.kind != LineKind::Indicator) continue;
        const bool on = keys.isOn(line.key);
        if (line.on == on) continue;
        line.on = on;
        changed.push_back(static_cast<int>(i));
    }
    return changed;
}

}  // namespace tamux
