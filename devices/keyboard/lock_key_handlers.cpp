#include "devices/keyboard/lock_key_handlers.h"

#include "devices/keyboard/keyboard_text.h"
#include "lang/lang_markup.h"
#include "ui/text_compare.h"

namespace tamux {

namespace {

constexpr TextId kKeyboardText = 601;
constexpr TextId kMouseText = 602;
constexpr TextId kInputDevicesText = 5590;

}  // namespace

TListSection* FindKeyboardSection(SectionList& pane, const LangModule& lang) {
    if (pane.sectionCount() <= 1) return nullptr;
    // Only the input-devices category holds the keyboard; while the printers are shown, a printer
    // named like the keyboard must not get indicator lines.
    if (pane.section(0).caption() != LangMarkup(lang, kInputDevicesText)) return nullptr;
    const std::string caption = LangMarkup(lang, kKeyboardText);
    // Where the mouse text reads like the keyboard text (a language module without them gives
    // both the fallback text), the first section so captioned is the mouse's: it is passed over.
    bool passOverMouse = LangMarkup(lang, kMouseText) == caption;
    for (int i = 1; i < pane.sectionCount(); ++i) {
        if (pane.section(i).caption() != caption) continue;
        if (passOverMouse) {
            passOverMouse = false;
            continue;
        }
        return &pane.section(i);
    }
    return nullptr;
}

void RefreshKeyboardIndicators(SectionList& pane, TKeyState& keys, const LangModule& lang) {
    if (TListSection* section = FindKeyboardSection(pane, lang)) {
        setkeybinfokeys(&section->subItems(), keys);
    }
}

std::optional<LockKey> IndicatorLineKey(std::string_view line) {
    for (LockKey key : kIndicatorOrder) {
        if (EqualsIgnoringCase(line, IndicatorLine(key, true)) ||
            EqualsIgnoringCase(line, IndicatorLine(key, false))) {
            return key;
        }
    }
    return std::nullopt;
}

std::optional<LockKey> ToggleLockKeyOfLine(SectionList& pane, int section, int item,
                                           TKeyState& keys) {
    if (section < 0 || section >= pane.sectionCount()) return std::nullopt;
    const TSubItems& lines = pane.section(section).subItems();
    if (item < 0 || item >= lines.count()) return std::nullopt;
    std::optional<LockKey> key = IndicatorLineKey(lines[item]);
    if (key) keys.setOn(*key, !keys.isOn(*key));
    return key;
}

}  // namespace tamux
