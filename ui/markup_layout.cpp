#include "ui/markup_layout.h"

#include <algorithm>
#include <charconv>

#include "ui/markup_parser.h"

namespace tamux {

namespace {

// A size beyond this, or below 1 point, is not a font anyone means (nor one GDI can give); the
// tag's size is then left as it was.
constexpr int kLargestPoints = 1000;
// GDI of the 9x family draws within 16-bit coordinates, so a tab stop beyond this is no position
// on any screen; the tag is then not read. It also keeps every position of the line well within
// an int.
constexpr int kFarthestTabStop = 32767;

bool parseWholeNumber(std::string_view text, int& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool isBlank(char c) {
    return c == ' ';
}

// One item of the row being built, with what it needs above and below the row's baseline.
struct RowItem {
    DrawInstruction draw;
    int ascent = 0;
    int descent = 0;
};

class LineBuilder {
  public:
    LineBuilder(const MarkupContext& context, TextMeasurer& measurer)
        : context_(context), measurer_(measurer), font_(context.baseFont) {}

    MarkupLayout build(std::string_view line) {
        for (const MarkupToken& token : parseMarkup(line)) {
            if (token.kind == MarkupToken::Kind::Text) {
                addText(token.text);
            } else if (!applyTag(token)) {
                break;  // an HR ends what is drawn of the line
            }
        }
        if (!ruled_ && (!row_.empty() || !runText_.empty() || rows_ == 0)) finishRow();
        return std::move(layout_);
    }

  private:
    // Returns false when nothing after this tag is to be drawn.
    bool applyTag(const MarkupToken& tag) {
        const std::string& name = tag.text;
        if (name == "FONT") {
            FontSpec next = font_;
            if (tag.closing) {
                next.face = context_.baseFont.face;
                next.points = context_.baseFont.points;
                next.color = context_.baseFont.color;
            } else {
                if (const std::string* color = tag.attribute("color")) {
                    next.color = parseMarkupColor(*color);
                }
                if (const std::string* size = tag.attribute("size")) {
                    if (int points = markupFontPoints(*size)) next.points = points;
                }
                if (const std::string* face = tag.attribute("face")) {
                    if (!face->empty()) next.face = *face;
                }
            }
            setFont(next);
        } else if (name == "IMG" && !tag.closing) {
            addImage(tag);
        } else if (name == "IND" && !tag.closing) {
            // Only the lower-case x is read; the tab stop is in unscaled pixels.
            int stop = 0;
            const std::string* x = tag.attributeExact("x");
            if (x && parseWholeNumber(*x, stop) && stop <= kFarthestTabStop && stop > currentX()) {
                moveTo(stop);
            }
        } else if (name == "HR" && !tag.closing) {
            addRule();
            return false;
        } else if (name == "BR") {
            finishRow();
        } else if (name == "B" || name == "STRONG") {
            setStyle(&FontSpec::bold, !tag.closing);
        } else if (name == "I" || name == "EM") {
            setStyle(&FontSpec::italic, !tag.closing);
        } else if (name == "U") {
            setStyle(&FontSpec::underline, !tag.closing);
        } else if (name == "S" || name == "STRIKE") {
            setStyle(&FontSpec::strikeOut, !tag.closing);
        }
        // Any other tag, /IMG among them, draws nothing.
        return true;
    }

    void setStyle(bool FontSpec::*flag, bool on) {
        FontSpec next = font_;
        next.*flag = on;
        setFont(next);
    }

    void setFont(const FontSpec& font) {
        if (font == font_) return;
        flushRun();
        font_ = font;
    }

    void addImage(const MarkupToken& tag) {
        const std::string* src = tag.attribute("src");
        constexpr std::string_view kPrefix = "idx:";
        if (!src || src->size() <= kPrefix.size() ||
            src->compare(0, kPrefix.size(), kPrefix) != 0) {
            return;
        }
        int index = 0;
        if (!parseWholeNumber(std::string_view(*src).substr(kPrefix.size()), index)) return;
        if (index < 0 || index >= context_.imageCount) return;  // no such image: nothing at all
        int width = scaleForDpi(context_.imageWidth, context_.dpiX);
        int height = scaleForDpi(context_.imageHeight, context_.dpiY);
        flushRun();
        if (x_ > 0 && wraps(x_ + width)) finishRow();
        ImageDraw image;
        image.x = x_;
        image.width = width;
        image.height = height;
        image.index = index;
        RowItem& item = row_.emplace_back();
        item.draw.emplace<ImageDraw>(image);
        item.ascent = height;
        x_ += width;
    }

    void addRule() {
        finishRow();
        RuleDraw rule;
        rule.y = layout_.height;
        rule.width = context_.width > 0 ? context_.width : layout_.width;
        layout_.items.emplace_back(std::in_place_type<RuleDraw>, rule);
        layout_.height += 1;
        ruled_ = true;
    }

    void addText(std::string_view text) {
        std::size_t i = 0;
        while (i < text.size()) {
            if (text[i] == '\t') {
                tab();
                ++i;
                continue;
            }
            // A segment is a run of blanks or a run of other characters, so that word wrap
            // breaks between words.
            bool blank = isBlank(text[i]);
            std::size_t end = i;
            while (end < text.size() && text[end] != '\t' && isBlank(text[end]) == blank) ++end;
            std::string_view segment = text.substr(i, end - i);
            i = end;
            if (blank) {
                if (!(wrappedRow_ && currentX() == 0)) appendToRun(segment);
                continue;
            }
            if (context_.wordWrap && currentX() > 0) {
                int start = runText_.empty() ? x_ : runX_;
                int width = measurer_.textWidth(font_, runText_ + std::string(segment));
                if (wraps(start + width)) {
                    trimRunBlanks();
                    finishRow();
                    wrappedRow_ = true;
                }
            }
            appendToRun(segment);
        }
    }

    void tab() {
        int x = currentX();
        auto next = std::find_if(context_.tabStops.begin(), context_.tabStops.end(),
                                 [x](int stop) { return stop > x; });
        if (next != context_.tabStops.end()) {
            moveTo(*next);
        } else {
            appendToRun(" ");
        }
    }

    void appendToRun(std::string_view text) {
        if (runText_.empty()) runX_ = x_;
        runText_ += text;
    }

    void trimRunBlanks() {
        while (!runText_.empty() && isBlank(runText_.back())) runText_.pop_back();
    }

    void flushRun() {
        if (runText_.empty()) return;
        FontMetrics metrics = measurer_.metrics(font_);
        TextDraw text;
        text.x = runX_;
        text.width = measurer_.textWidth(font_, runText_);
        text.height = metrics.height;
        text.font = font_;
        text.text = std::move(runText_);
        runText_.clear();
        x_ = runX_ + text.width;
        RowItem& item = row_.emplace_back();
        item.draw.emplace<TextDraw>(std::move(text));
        item.ascent = metrics.ascent;
        item.descent = metrics.height - metrics.ascent;
    }

    int currentX() {
        if (runText_.empty()) return x_;
        return runX_ + measurer_.textWidth(font_, runText_);
    }

    void moveTo(int x) {
        flushRun();
        x_ = x;
    }

    bool wraps(int right) const {
        return context_.wordWrap && context_.width > 0 && right > context_.width;
    }

    void finishRow() {
        flushRun();
        int ascent = 0;
        int descent = 0;
        if (row_.empty()) {
            FontMetrics metrics = measurer_.metrics(font_);
            ascent = metrics.ascent;
            descent = metrics.height - metrics.ascent;
        }
        for (const RowItem& item : row_) {
            ascent = std::max(ascent, item.ascent);
            descent = std::max(descent, item.descent);
        }
        int top = layout_.height;
        for (RowItem& item : row_) {
            int y = top + ascent - item.ascent;
            std::visit(
                [&](auto& draw) {
                    using T = std::decay_t<decltype(draw)>;
                    if constexpr (!std::is_same_v<T, RuleDraw>) {
                        draw.y = y;
                        layout_.width = std::max(layout_.width, draw.x + draw.width);
                    }
                },
                item.draw);
            layout_.items.push_back(std::move(item.draw));
        }
        layout_.height = top + ascent + descent;
        row_.clear();
        x_ = 0;
        wrappedRow_ = false;
        ++rows_;
    }

    const MarkupContext& context_;
    TextMeasurer& measurer_;
    FontSpec font_;
    MarkupLayout layout_;
    std::vector<RowItem> row_;
    int x_ = 0;
    std::string runText_;
    int runX_ = 0;
    int rows_ = 0;
    bool wrappedRow_ = false;
    bool ruled_ = false;
};

}  // namespace

int markupFontPoints(std::string_view size) {
    int value = 0;
    if (!parseWholeNumber(size, value) || value < 1 || value > kLargestPoints) return 0;
    static constexpr int kSizes[] = {8, 10, 12, 14, 16};
    return value <= 5 ? kSizes[value - 1] : value;
}

int scaleForDpi(int pixels, int dpi) {
    if (dpi <= 0) dpi = 96;
    return (pixels * dpi + 48) / 96;
}

MarkupLayout layoutMarkup(std::string_view line, const MarkupContext& context,
                          TextMeasurer& measurer) {
    return LineBuilder(context, measurer).build(line);
}

}  // namespace tamux
