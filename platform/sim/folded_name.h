// Key and value names in the form in which NT compares and orders them: upper case, UTF-16 unit
// by unit, only ASCII letters folding. A name may be held folded already, folded as it is read
// from its UTF-16 spelling, or folded as it is read from 8-bit text of a code page; all three
// compare and hash alike, so that no folded copy need be made.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamux::sim {

constexpr char16_t foldUnit(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

inline std::u16string foldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) c = foldUnit(c);
    return folded;
}

// A UTF-16 name as written, folded as it is read.
struct FoldedView {
    std::u16string_view text;

    std::size_t size() const { return text.size(); }
    char16_t operator[](std::size_t i) const { return foldUnit(text[i]); }
};

// An 8-bit name of a code page: each byte read as the folded UTF-16 unit it converts to.
struct FoldingName {
    std::string_view text;
    const char16_t* units;  // the folded unit of each byte value

    std::size_t size() const { return text.size(); }
    char16_t operator[](std::size_t i) const { return units[static_cast<unsigned char>(text[i])]; }
};

// 32-bit FNV-1a over the folded units. A std::u16string_view counts as folded already.
template <typename Name>
std::uint32_t hashFolded(const Name& name) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < name.size(); ++i) hash = (hash ^ name[i]) * 16777619u;
    return hash;
}

template <typename A, typename B>
bool equalsFolded(const A& a, const B& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Whether `a` orders before `b`, as std::u16string_view's operator< orders their folded forms.
template <typename A, typename B>
bool foldedBefore(const A& a, const B& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) return a[i] < b[i];
    }
    return a.size() < b.size();
}

}  // namespace tamux::sim
