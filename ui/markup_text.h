// Values inside info lines, and info lines as plain text.
//
// Lines are composed by concatenating fixed markup fragments and values read from the system
// (registry strings, device and printer names). A value holding "<" would otherwise start a tag
// and swallow text, or inject markup; so every value goes through escapeMarkup on its way into a
// line, and whatever shows a line decodes the entities again, so the user sees the value exactly
// as the system stores it.
#pragma once

#include <string>
#include <string_view>

namespace tamux {

// "&" -> "&amp;", "<" -> "&lt;", ">" -> "&gt;"; every other byte unchanged. For values only:
// labels and fixed fragments are inserted as they are.
std::string escapeMarkup(std::string_view value);

// "&amp;" -> "&", "&lt;" -> "<", "&gt;" -> ">", "&nbsp;" -> " ", in one pass from left to right
// (so "&amp;lt;" becomes "&lt;"). Anything else, unknown entities included, stays as it is.
std::string decodeMarkupEntities(std::string_view text);

// A line's text without its tags, entities decoded: what the plain-text outputs write. A tag runs
// from "<" to the next ">"; a "<" with no ">" after it is text, not a tag.
std::string markupToPlainText(std::string_view line);

}  // namespace tamux
