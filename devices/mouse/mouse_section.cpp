#include "devices/mouse/mouse_section.h"

#include "lang/window_text_ids.h"

namespace tamux {

DeviceSection MouseSection(const MouseFacts& facts, const LangModule& lang) {
    auto text = [&lang](TextId id) { return lang.GetLangText(id); };
    // The driver lines carry the mouse's picture, the settings lines the information sign.
    auto driver = [&](TextId label, const std::string& value) {
        return ItemLine(LineIcon::Mouse, Emphasis::Strong, text(label), value);
    };
    auto setting = [&](TextId label, const std::string& value) {
        return ItemLine(LineIcon::Information, Emphasis::Strong, text(label), value);
    };
    return {DeviceKind::Mouse,
            text(kMouseText),
            {
                TitleLine(facts.Name),
                GroupLine(text(500), true),
                driver(501, facts.DriverDesc),
                driver(502, facts.ProviderName),
                driver(503, facts.DriverVersion),
                driver(504, facts.DriverDate),
                driver(505, facts.InfPath),
                GapLine(),
                setting(299, facts.ButtonsText),
                setting(320, facts.DoubleClickSpeed),
                setting(321, facts.Sensitivity),
                setting(322, facts.AccelerationText),
            }};
}

}  // namespace tamux
