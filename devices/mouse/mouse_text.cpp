#include "devices/mouse/mouse_text.h"

#include <string_view>

#include "lang/lang_markup.h"
#include "ui/markup_text.h"

namespace tamux {

namespace {

constexpr std::string_view kTitle = "<FONT color=\"clnavy\" size=\"12\">";
constexpr std::string_view kGroup = "<FONT color=\"clblue\" size=\"11\">";
// The driver lines carry the mouse image, the settings lines the information sign.
constexpr std::string_view kP0 = "<IMG src=\"idx:0\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
constexpr std::string_view kP3 = "<IMG src=\"idx:3\"></IMG> <FONT color=\"clnavy\" size=\"10\">";
constexpr std::string_view kV = "<IND x=\"200\"><FONT color=\"clmaroon\">";
constexpr std::string_view kEnd = "</FONT>";

std::string line(std::string_view image, const std::string& label, std::string_view value) {
    return std::string(image) + label + std::string(kV) + std::string(value) + std::string(kEnd);
}

}  // namespace

std::vector<std::string> MouseTextLines(const MouseFacts& facts, const LangModule& lang) {
    auto t = [&lang](TextId id) { return LangMarkup(lang, id); };
    return {
        std::string(kTitle) + EscapeMarkup(facts.Name) + std::string(kEnd),
        std::string(kGroup) + t(500) + std::string(kEnd),
        line(kP0, t(501), EscapeMarkup(facts.DriverDesc)),
        line(kP0, t(502), EscapeMarkup(facts.ProviderName)),
        line(kP0, t(503), EscapeMarkup(facts.DriverVersion)),
        line(kP0, t(504), EscapeMarkup(facts.DriverDate)),
        line(kP0, t(505), EscapeMarkup(facts.InfPath)),
        " ",
        line(kP3, t(299), EscapeMarkup(facts.ButtonsText)),
        line(kP3, t(320), EscapeMarkup(facts.DoubleClickSpeed)),
        line(kP3, t(321), EscapeMarkup(facts.Sensitivity)),
        line(kP3, t(322), EscapeMarkup(facts.AccelerationText)),
    };
}

}  // namespace tamux
