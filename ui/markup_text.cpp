#include "ui/markup_text.h"

#include <array>

namespace tamux {

namespace {

struct Entity {
    std::string_view name;  // with "&" and ";"
    char value;
};

constexpr std::array<Entity, 4> kEntities{{
    {"&amp;", '&'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&nbsp;", ' '},
}};

}  // namespace

std::string escapeMarkup(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                result += "&amp;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

std::string decodeMarkupEntities(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const Entity& entity : kEntities) {
                if (text.substr(i, entity.name.size()) == entity.name) {
                    result += entity.value;
                    i += entity.name.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) result += text[i++];
    }
    return result;
}

std::string markupToPlainText(std::string_view line) {
    std::string text;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '<') {
            std::size_t close = line.find('>', i + 1);
            if (close != std::string_view::npos) {
                i = close + 1;
                continue;
            }
        }
        text += line[i++];
    }
    return decodeMarkupEntities(text);
}

}  // namespace tamux
