#include "devices/mouse/mouse_section.h"

#include "lang/window_text_ids.h"

namespace tamux {

DeviceSection mouseSection(const MouseFacts& facts, const LangModule& lang) {
    auto text = [&lang](TextId id) { return lang.getLangText(id); };
    // The driver lines carry the mouse's picture, the settings lines the information sign.
    auto driver = [&](TextId label, const std::string& value) {
        return itemLine(LineIcon::Mouse, Emphasis::Strong, text(label), value);
    };
    auto setting = [&](TextId label, const std::string& value) {
        return itemLine(LineIcon::Information, Emphasis::Strong, text(label), value);
    };
    return {DeviceKind::Mouse,
            text(kMouseText),
            {
                titleLine(facts.name),
                groupLine(text(500), true),
                driver(501, facts.driverDesc),
                driver(502, facts.providerName),
                driver(503, facts.driverVersion),
                driver(504, facts.driverDate),
                driver(505, facts.infPath),
                gapLine(),
                setting(299, facts.buttonsText),
                setting(320, facts.doubleClickSpeed),
                setting(321, facts.sensitivity),
                setting(322, facts.accelerationText),
            }};
}

}  // namespace tamux
