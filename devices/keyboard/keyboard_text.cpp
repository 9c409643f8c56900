#include "devices/keyboard/keyboard_text.h"

#include <string_view>

#include "lang/lang_markup.h"
#include "ui/markup_text.h"
#include "ui/text_compare.h"

namespace tamux {

namespace {

constexpr std::string_view kTitle = "<FONT color=\"clnavy\" size=\"12\">";
constexpr std::string_view kGroup1 =
    "<IMG src=\"idx:1\"></IMG> <FONT color=\"clblue\" size=\"11\">";
constexpr std::string_view kGreen = "<FONT color=\"clgreen\" size=\"10\">";
constexpr std::string_view kNavy = "<IMG src=\"idx:1\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
constexpr std::string_view kBlue = "<IMG src=\"idx:1\"></IMG> <FONT color=\"clblue\" size=\"10\">";
constexpr std::string_view kVal = "<IND x=\"200\"><FONT color=\"clmaroon\">";
constexpr std::string_view kVal10 = "<IND x=\"200\"><FONT color=\"clmaroon\" size=\"10\">";
constexpr std::string_view kEnd = "</FONT>";
constexpr std::string_view kMsEnd = " ms</FONT>";

std::string_view indicatorName(LockKey key) {
    switch (key) {
        case LockKey::CapsLock:
            return " CAPS ";
        case LockKey::NumLock:
            return " NUM ";
        case LockKey::ScrollLock:
            return " SCROLL ";
        case LockKey::Insert:
            return " INS ";
    }
    return {};
}

// Builds the section's lines, looking each label up once.
class KeyboardLines {
  public:
    explicit KeyboardLines(const LangModule& lang) : lang_(lang) {}

    void add(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        std::string line;
        line.reserve(a.size() + b.size() + c.size());
        line.append(a).append(b).append(c);
        lines_.push_back(std::move(line));
    }
    // Label part, label, value part, the value (escaped), end part.
    void item(std::string_view image, TextId label, std::string_view valuePart,
              std::string_view value, std::string_view end) {
        lines_.push_back(std::string(image) + LangMarkup(lang_, label) + std::string(valuePart) +
                         EscapeMarkup(value) + std::string(end));
    }
    // An on/off value: a text of the language module, escaped like the label.
    void state(TextId label, std::string_view text) {
        lines_.push_back(std::string(kBlue) + LangMarkup(lang_, label) + std::string(kVal10) +
                         EscapeMarkup(text) + std::string(kEnd));
    }
    void group(std::string_view head, TextId label) {
        lines_.push_back(std::string(head) + LangMarkup(lang_, label) + std::string(kEnd));
    }
    std::vector<std::string>& lines() { return lines_; }

  private:
    const LangModule& lang_;
    std::vector<std::string> lines_;
};

int findLine(const std::vector<std::string>& lines, std::string_view line) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (EqualsIgnoringCase(lines[i], line)) return static_cast<int>(i);
    }
    return -1;
}
void setLine(std::vector<std::string>& lines, int index, std::string line) {
    lines[static_cast<std::size_t>(index)] = std::move(line);
}
void addLine(std::vector<std::string>& lines, std::string line) {
    lines.push_back(std::move(line));
}

int findLine(const TSubItems& lines, std::string_view line) {
    return lines.indexOf(line);
}
void setLine(TSubItems& lines, int index, std::string line) {
    lines.set(index, std::move(line));
}
void addLine(TSubItems& lines, std::string line) {
    lines.add(std::move(line));
}

// The one piece of logic behind both setkeybinfokeys.
template <class Lines>
void writeIndicators(Lines& lines, TKeyState& keys) {
    for (LockKey key : kIndicatorOrder) {
        std::string chosen = IndicatorLine(key, keys.isOn(key));
        int index = findLine(lines, IndicatorLine(key, true));
        if (index < 0) index = findLine(lines, IndicatorLine(key, false));
        if (index < 0) {
            addLine(lines, std::move(chosen));
        } else {
            setLine(lines, index, std::move(chosen));
        }
    }
}

}  // namespace

std::string IndicatorLine(LockKey key, bool on) {
    std::string line =
        on ? "<FONT color=\"clgreen\" size=\"10\">" : "<FONT color=\"clblack\" size=\"10\">";
    line.append(indicatorName(key)).append(kEnd);
    return line;
}

void setkeybinfokeys(std::vector<std::string>* lines, TKeyState& keys) {
    if (lines) writeIndicators(*lines, keys);
}

void setkeybinfokeys(TSubItems* lines, TKeyState& keys) {
    if (lines) writeIndicators(*lines, keys);
}

std::vector<std::string> KeyboardTextLines(const KeyboardFacts& facts, TKeyState& keys,
                                           const LangModule& lang) {
    KeyboardLines out(lang);
    out.add(kTitle, EscapeMarkup(facts.KeyboardName), kEnd);
    out.group(kGroup1, 500);
    out.item(kNavy, 501, kVal, facts.DriverDesc, kEnd);
    out.item(kNavy, 502, kVal, facts.ProviderName, kEnd);
    out.item(kNavy, 503, kVal, facts.DriverVersion, kEnd);
    out.item(kNavy, 504, kVal, facts.DriverDate, kEnd);
    out.item(kNavy, 505, kVal, facts.InfPath, kEnd);
    out.add(" ");

    std::vector<std::string> indicators;
    setkeybinfokeys(&indicators, keys);
    for (std::string& line : indicators) out.add(line);
    out.add("");

    out.group(kGreen, 102);
    for (const LayoutEntry& layout : facts.Layouts) {
        out.item(kNavy, 103, kVal, layout.LayoutId, kEnd);
        out.item(kNavy, 104, kVal, layout.LayoutText, kEnd);
        out.item(kNavy, 105, kVal, layout.LayoutFile, kEnd);
        out.add("");
    }
    out.item(kBlue, 100, kVal, facts.KeyboardDelay, kMsEnd);
    out.item(kBlue, 101, kVal, facts.KeyboardSpeed, kEnd);
    out.item(kBlue, 107, kVal, facts.FunctionKeys, kEnd);
    out.add("");

    out.group(kGreen, 200);
    out.state(202, facts.FilterKeysState);
    out.item(kBlue, 108, kVal, facts.AutoRepeatDelay, kMsEnd);
    out.item(kBlue, 109, kVal, facts.AutoRepeatRate, kMsEnd);
    out.item(kBlue, 110, kVal, facts.BounceTime, kMsEnd);
    out.item(kBlue, 111, kVal, facts.DelayBeforeAcceptance, kMsEnd);
    out.state(201, facts.ToggleKeysState);
    out.state(203, facts.MouseKeysState);
    out.item(kBlue, 208, kVal, facts.MaximumSpeed, kEnd);
    out.item(kBlue, 209, kVal, facts.TimeToMaximumSpeed, kMsEnd);
    out.state(204, facts.StickyKeysState);
    out.state(205, facts.SerialKeysState);
    return std::move(out.lines());
}

}  // namespace tamux
