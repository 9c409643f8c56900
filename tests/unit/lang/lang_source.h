// Reading the language sources as a translator writes them (data/lang/<code>.rc, UTF-8) and the
// list of text ids the program uses (data/lang/text_ids.txt), so that tests can compare what the
// built modules deliver with what was written. Shared by the native tests and the Wine lane.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tamux::test {

// The seven languages with a module, and the Windows code page each is written for.
struct LanguageInfo {
    const char* code;
    unsigned codePage;
};
inline constexpr LanguageInfo kLanguages[] = {
    {"EN", 1252}, {"ES", 1252},  {"DE", 1252},  {"FR", 1252},
    {"IT", 1252}, {"RUS", 1251}, {"CSY", 1250},
};

inline std::string readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The ids of text_ids.txt, in its order.
inline std::vector<std::uint32_t> readTextIds(const std::filesystem::path& file) {
    std::vector<std::uint32_t> ids;
    std::istringstream lines(readWholeFile(file));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] < '0' || line[0] > '9') continue;
        ids.push_back(static_cast<std::uint32_t>(std::strtoul(line.c_str(), nullptr, 10)));
    }
    return ids;
}

// Undoes the resource compiler's escapes in a quoted text: "" for a quote, and \0, \n, \t, \\.
inline std::string unescapeRcText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            out += '"';
            ++i;
        } else if (c == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            out += next == '0' ? '\0' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += c;
        }
    }
    return out;
}

// The texts of a string table source: id -> UTF-8 text. Only lines of the form
// `id, "text"` count; everything else (comments, LANGUAGE, STRINGTABLE, BEGIN, END) is skipped.
inline std::map<std::uint32_t, std::string> readRcTexts(const std::filesystem::path& file) {
    std::map<std::uint32_t, std::string> texts;
    std::istringstream lines(readWholeFile(file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] < '0' || line[start] > '9') continue;
        std::size_t open = line.find('"', start);
        std::size_t close = line.rfind('"');
        if (open == std::string::npos || close <= open) continue;
        auto id = static_cast<std::uint32_t>(std::strtoul(line.c_str() + start, nullptr, 10));
        texts[id] = unescapeRcText(std::string_view(line).substr(open + 1, close - open - 1));
    }
    return texts;
}

}  // namespace tamux::test
