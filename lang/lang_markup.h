// A text of the language module as it goes into an info line or a heading.
//
// Lines and headings are markup; a module text is plain text (and the fallback for a missing text,
// "<No load message>", reads as a tag), so it is escaped like any other value on its way in.
#pragma once

#include <string>

#include "lang/lang_module.h"
#include "ui/markup_text.h"

namespace tamux {

inline std::string langMarkup(const LangModule& lang, TextId id) {
    return escapeMarkup(lang.getLangText(id));
}

}  // namespace tamux
