// The info line markup, split into text and tags.
//
// A tag runs from "<" to the next ">": an optional "/" (a closing tag), the tag name, then
// attributes separated by blanks, each name="value". Tag and attribute names are compared without
// regard to case by the readers below, except where a reader asks for the exact name. A value not
// in double quotes is not read. A "<" with no ">" after it is ordinary text. Text has its entities
// decoded (see decodeMarkupEntities).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamux {

struct MarkupAttribute {
    std::string name;   // as written
    std::string value;  // without the quotes
};

struct MarkupToken {
    enum class Kind { Text, Tag };
    Kind kind = Kind::Text;
    std::string text;  // Text: the decoded text. Tag: the name in upper case, without "/".
    bool closing = false;
    std::vector<MarkupAttribute> attributes;

    // The value of the first attribute of that name, letter case ignored; nullptr if none.
    const std::string* attribute(std::string_view name) const;
    // The same, with the name compared exactly.
    const std::string* attributeExact(std::string_view name) const;
};

std::vector<MarkupToken> parseMarkup(std::string_view line);

}  // namespace tamux
