// The info line markup: any line parses into text and tags and lays out on either pane's
// settings (tab stop or word wrap, 96 to 144 DPI) with every draw instruction inside the line's
// box; no text is lost or doubled on the way from the parser to the layout; and a value escaped
// on its way into a line comes back exactly, as text, from the parser and the plain-text form.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "ui/markup_layout.h"
#include "ui/markup_parser.h"
#include "ui/markup_text.h"

namespace {

using namespace tamux;

// Round numbers: a character is as wide as its font has points (bold adds one); a font is 1.5
// times its points high with the baseline at its points.
class FixedMeasurer : public TextMeasurer {
  public:
    FontMetrics metrics(const FontSpec& font) override {
        return {font.points + font.points / 2, font.points};
    }
    int textWidth(const FontSpec& font, std::string_view text) override {
        return static_cast<int>(text.size()) * (font.points + (font.bold ? 1 : 0));
    }
};

MarkupContext paneContext(std::size_t choice) {
    MarkupContext context;
    context.imageCount = 7;
    static constexpr int kDpi[] = {96, 120, 144};
    context.dpiX = context.dpiY = kDpi[choice % 3];
    if (choice / 3 % 2 == 0) {
        context.width = 180;  // the left pane: one tab stop, no wrap
        context.tabStops = {80};
    } else {
        context.width = 400;  // the right pane: lines wrap
        context.wordWrap = true;
    }
    return context;
}

void checkBox(const MarkupLayout& layout) {
    for (const DrawInstruction& item : layout.items) {
        std::visit(
            [&](const auto& draw) {
                using T = std::decay_t<decltype(draw)>;
                TAMUX_FUZZ_CHECK(draw.x >= 0 && draw.y >= 0, "nothing is drawn above or left");
                if constexpr (std::is_same_v<T, RuleDraw>) {
                    TAMUX_FUZZ_CHECK(draw.y < layout.height, "the rule lies within the line");
                } else {
                    TAMUX_FUZZ_CHECK(draw.y + draw.height <= layout.height,
                                     "every item lies within the line's height");
                    TAMUX_FUZZ_CHECK(draw.x + draw.width <= layout.width,
                                     "every item lies within the line's width");
                }
            },
            item);
    }
}

// Without word wrap and tab characters every character of text reaches the layout once, up to
// an HR.
void checkTextKept(std::string_view line, const MarkupLayout& layout) {
    std::string parsed;
    for (const MarkupToken& token : parseMarkup(line)) {
        if (token.kind == MarkupToken::Kind::Text) {
            parsed += token.text;
        } else if (token.text == "HR" && !token.closing) {
            break;
        }
    }
    std::string drawn;
    for (const DrawInstruction& item : layout.items) {
        if (const auto* text = std::get_if<TextDraw>(&item)) drawn += text->text;
    }
    TAMUX_FUZZ_CHECK(drawn == parsed, "the layout draws the parsed text once");
}

void checkEscaped(std::string_view value) {
    const std::string escaped = escapeMarkup(value);
    TAMUX_FUZZ_CHECK(decodeMarkupEntities(escaped) == value, "entities decode what was escaped");
    TAMUX_FUZZ_CHECK(markupToPlainText(escaped) == value, "an escaped value is plain text");
    const auto tokens = parseMarkup(escaped);
    if (value.empty()) {
        TAMUX_FUZZ_CHECK(tokens.empty(), "an empty line has no tokens");
    } else {
        TAMUX_FUZZ_CHECK(tokens.size() == 1 && tokens[0].kind == MarkupToken::Kind::Text &&
                             tokens[0].text == value,
                         "an escaped value parses as one text");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = tamux::fuzz::asText(data, size);
    FixedMeasurer measurer;
    const MarkupContext context = paneContext(size);
    const MarkupLayout layout = layoutMarkup(line, context, measurer);
    checkBox(layout);
    if (!context.wordWrap && line.find('\t') == std::string_view::npos) {
        checkTextKept(line, layout);
    }
    markupToPlainText(line);
    checkEscaped(line);
    return 0;
}
