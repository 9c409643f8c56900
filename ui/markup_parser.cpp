#include "ui/markup_parser.h"

#include "platform/ascii_case.h"
#include "ui/markup_text.h"

namespace tamux {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The inside of a tag, between "<" and ">".
MarkupToken parseTag(std::string_view inside) {
    MarkupToken tag;
    tag.kind = MarkupToken::Kind::Tag;
    std::size_t i = 0;
    while (i < inside.size() && isBlank(inside[i])) ++i;
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
    }
    std::size_t nameStart = i;
    while (i < inside.size() && !isBlank(inside[i]) && inside[i] != '/') ++i;
    tag.text = toAsciiUpper(inside.substr(nameStart, i - nameStart));

    while (i < inside.size()) {
        while (i < inside.size() && (isBlank(inside[i]) || inside[i] == '/')) ++i;
        if (i >= inside.size()) break;
        std::size_t attrStart = i;
        while (i < inside.size() && !isBlank(inside[i]) && inside[i] != '=') ++i;
        std::string_view name = inside.substr(attrStart, i - attrStart);
        while (i < inside.size() && isBlank(inside[i])) ++i;
        if (i >= inside.size() || inside[i] != '=') continue;  // a name without a value
        ++i;
        while (i < inside.size() && isBlank(inside[i])) ++i;
        if (i < inside.size() && inside[i] == '"') {
            std::size_t valueStart = i + 1;
            std::size_t valueEnd = inside.find('"', valueStart);
            if (valueEnd == std::string_view::npos) break;  // unterminated: not read
            tag.attributes.push_back(
                {std::string(name), std::string(inside.substr(valueStart, valueEnd - valueStart))});
            i = valueEnd + 1;
        } else {
            // An unquoted value is skipped, not read.
            while (i < inside.size() && !isBlank(inside[i])) ++i;
        }
    }
    return tag;
}

}  // namespace

const std::string* MarkupToken::attribute(std::string_view name) const {
    for (const MarkupAttribute& attr : attributes) {
        if (equalsIgnoringCase(attr.name, name)) return &attr.value;
    }
    return nullptr;
}

const std::string* MarkupToken::attributeExact(std::string_view name) const {
    for (const MarkupAttribute& attr : attributes) {
        if (attr.name == name) return &attr.value;
    }
    return nullptr;
}

std::vector<MarkupToken> parseMarkup(std::string_view line) {
    std::vector<MarkupToken> tokens;
    std::string pendingText;
    auto flushText = [&] {
        if (pendingText.empty()) return;
        MarkupToken text;
        text.text = decodeMarkupEntities(pendingText);
        tokens.push_back(std::move(text));
        pendingText.clear();
    };
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '<') {
            std::size_t close = line.find('>', i + 1);
            // A "<" that no ">" closes cannot be a tag; reading it as one would hide the rest of
            // the line, so it is drawn as the text it is.
            if (close != std::string_view::npos) {
                flushText();
                tokens.push_back(parseTag(line.substr(i + 1, close - i - 1)));
                i = close + 1;
                continue;
            }
        }
        pendingText += line[i++];
    }
    flushText();
    return tokens;
}

}  // namespace tamux
