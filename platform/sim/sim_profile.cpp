#include "platform/sim/sim_profile.h"

#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/sim/case_fold.h"

namespace tamux::sim {

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) {
    // Windows treats CR and the DOS end-of-file mark as blanks in settings files too.
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<std::string> readHostFile(const fs::path& host) {
    std::error_code ec;
    if (host.empty() || !fs::is_regular_file(host, ec)) return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> splitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// A section header's name, or nullopt when the line is not one.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::optional<std::string_view> value;  // nullopt: the line has no "="
};

KeyLine keyLine(std::string_view line) {
    line = trim(line);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return {line, std::nullopt};
    return {trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string cut(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(text.substr(0, bufferSize - 1));
}

// The lines of one section: header index and the index one past its last line.
struct SectionRange {
    std::size_t header, end;
};

std::optional<SectionRange> findSection(const std::vector<std::string>& lines,
                                        std::string_view section, unsigned codePage) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name || !equalsIgnoreCase(*name, section, codePage)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<std::string>& lines, SectionRange range,
                                   std::string_view key, unsigned codePage) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (equalsIgnoreCase(keyLine(lines[i]).name, key, codePage)) return i;
    }
    return std::nullopt;
}

// Replaces the file whole: a sibling temporary file is written and renamed over it, so a failed
// write never leaves a truncated settings file behind.
bool replaceHostFile(const fs::path& host, const std::string& content) {
    std::error_code ec;
    if (fs::is_directory(host, ec)) return false;
    if (fs::exists(host, ec)) {
        std::ofstream probe(host, std::ios::binary | std::ios::app);
        if (!probe) return false;
    }
    fs::path temp = host;
    temp += ".tamux-write";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, host, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace

SimProfile::SimProfile(HostPathMapper mapper, unsigned codePage)
    : mapper_(std::move(mapper)), codePage_(codePage) {}

std::string SimProfile::getString(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view defaultValue,
                                  std::size_t bufferSize) {
    key = trim(key);
    section = trim(section);
    if (key.empty()) return {};
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);

    const auto content = readHostFile(mapper_(file));
    if (!content || section.empty()) return cut(defaultValue, bufferSize);
    const auto lines = splitLines(*content);
    const auto range = findSection(lines, section, codePage_);
    if (!range) return cut(defaultValue, bufferSize);
    const auto index = findKey(lines, *range, key, codePage_);
    if (!index) return cut(defaultValue, bufferSize);
    const KeyLine line = keyLine(lines[*index]);
    if (!line.value) return cut(defaultValue, bufferSize);
    return cut(unquote(*line.value), bufferSize);
}

bool SimProfile::writeString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) {
    ++writeCount_;
    section = trim(section);
    key = trim(key);
    while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
    const fs::path host = mapper_(file);
    if (writesFail_ || host.empty() || section.empty() || key.empty()) return false;

    std::vector<std::string> lines;
    std::error_code ec;
    if (fs::exists(host, ec)) {
        const auto content = readHostFile(host);
        if (!content) return false;
        lines = splitLines(*content);
    }

    const std::string newLine = std::string(key) + "=" + std::string(value);
    if (const auto range = findSection(lines, section, codePage_)) {
        if (const auto index = findKey(lines, *range, key, codePage_)) {
            const KeyLine old = keyLine(lines[*index]);
            if (old.value && *old.value == value) return true;  // nothing to change
            lines[*index] = std::string(old.name) + "=" + std::string(value);
        } else {
            std::size_t at = range->end;
            while (at > range->header + 1 && trim(lines[at - 1]).empty()) --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), newLine);
        }
    } else {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.emplace_back();
        std::string header = "[";
        header.append(section).append("]");
        lines.push_back(std::move(header));
        lines.push_back(newLine);
    }

    std::string content;
    for (const std::string& line : lines) content += line + "\r\n";
    return replaceHostFile(host, content);
}

}  // namespace tamux::sim
