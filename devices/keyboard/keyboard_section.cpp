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
        add(GroupLine(lang_.GetLangText(label), major, icon));
    }
    // A driver or layout record line.
    void record(TextId label, const std::string& value) {
        add(ItemLine(LineIcon::Keyboard, Emphasis::Strong, lang_.GetLangText(label), value));
    }
    // A unit follows a value only: an empty value shows empty.
    void setting(TextId label, const std::string& value, std::string_view unit = {}) {
        add(ItemLine(LineIcon::Keyboard, Emphasis::Normal, lang_.GetLangText(label), value,
                     value.empty() ? std::string() : std::string(unit)));
    }
    void state(TextId label, const std::string& text) {
        add(StateLine(LineIcon::Keyboard, lang_.GetLangText(label), text));
    }
    std::vector<SectionLine> take() { return std::move(lines_); }

  private:
    const LangModule& lang_;
    std::vector<SectionLine> lines_;
};

}  // namespace

DeviceSection KeyboardSection(const KeyboardFacts& facts, TKeyState& keys, const LangModule& lang) {
    KeyboardLines out(lang);
    out.add(TitleLine(facts.KeyboardName));
    out.group(500, true, LineIcon::Keyboard);
    out.record(501, facts.DriverDesc);
    out.record(502, facts.ProviderName);
    out.record(503, facts.DriverVersion);
    out.record(504, facts.DriverDate);
    out.record(505, facts.InfPath);
    out.add(GapLine());

    for (LockKey key : kLockKeysInShownOrder) out.add(IndicatorLine(key, keys.isOn(key)));
    out.add(EmptyLine());

    out.group(102, false);
    for (const LayoutEntry& layout : facts.Layouts) {
        out.record(103, layout.LayoutId);
        out.record(104, layout.LayoutText);
        out.record(105, layout.LayoutFile);
        out.add(EmptyLine());
    }
    std::string delay, delayUnit;
    repeatDelay(facts.KeyboardDelay, delay, delayUnit);
    out.setting(100, delay, delayUnit);
    out.setting(101, facts.KeyboardSpeed);
    out.setting(107, facts.FunctionKeys);
    out.add(EmptyLine());

    out.group(200, false);
    out.state(202, facts.FilterKeysState);
    out.setting(108, facts.AutoRepeatDelay, kMilliseconds);
    out.setting(109, facts.AutoRepeatRate, kMilliseconds);
    out.setting(110, facts.BounceTime, kMilliseconds);
    out.setting(111, facts.DelayBeforeAcceptance, kMilliseconds);
    out.state(201, facts.ToggleKeysState);
    out.state(203, facts.MouseKeysState);
    out.setting(208, facts.MaximumSpeed);
    out.setting(209, facts.TimeToMaximumSpeed, kMilliseconds);
    out.state(204, facts.StickyKeysState);
    out.state(205, facts.SerialKeysState);
    return {DeviceKind::Keyboard, lang.GetLangText(kKeyboardText), out.take()};
}

std::vector<int> UpdateIndicators(DeviceSection& section, TKeyState& keys) {
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
