// The simulated machine's settings files (GetPrivateProfileStringA / WritePrivateProfileStringA)
// over any file content. The first input line names what is asked and written,
// "section|key|value|other key"; the rest is the file. A value written reads back as written
// (trimmed and unquoted, as reading does), another key of the section keeps its value, and no
// answer is longer than the buffer allows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/sim/case_fold.h"
#include "platform/sim/sim_profile.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Names and values that stay on their own line and cannot be read as another line's part.
bool staysOnItsLine(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

bool usableName(std::string_view name) {
    const std::string_view trimmed = trim(name);
    return !trimmed.empty() && staysOnItsLine(name) && trimmed.front() != '[' &&
           trimmed.front() != ';' && name.find('=') == std::string_view::npos;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find('|', start);
        out.push_back(line.substr(start, bar == std::string_view::npos ? line.npos : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    while (out.size() < 4) out.emplace_back();
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = tamux::fuzz::asText(data, size);
    const std::size_t firstEnd = input.find('\n');
    const auto request = fields(input.substr(0, firstEnd));
    const std::string_view content =
        firstEnd == std::string_view::npos ? std::string_view() : input.substr(firstEnd + 1);
    const std::string_view section = request[0], key = request[1], value = request[2],
                           other = request[3];

    const auto file = tamux::fuzz::scratchFolder() / "tamux.ini";
    tamux::fuzz::writeHostFile(file, content);
    const unsigned codePage = size % 2 == 0 ? 1252 : 1250;
    tamux::sim::SimProfile profile([&file](std::string_view) { return file; }, codePage);
    const char* ini = "C:\\Tamux\\tamux.ini";
    constexpr std::size_t kRoomy = 1 << 20;

    const std::string full = profile.getString(ini, section, key, "default ", kRoomy);
    const std::size_t buffer = size % 300;
    const std::string cut = profile.getString(ini, section, key, "default ", buffer);
    TAMUX_FUZZ_CHECK(buffer == 0 ? cut.empty() : cut.size() <= buffer - 1,
                     "an answer fits the buffer with its NUL");
    TAMUX_FUZZ_CHECK(full.compare(0, cut.size(), cut) == 0, "a cut answer is the full one cut");

    const std::string otherBefore = profile.getString(ini, section, other, "", kRoomy);
    const bool written = profile.writeString(ini, section, key, value);
    if (trim(section).empty() || trim(key).empty()) {
        TAMUX_FUZZ_CHECK(!written, "a write without a section or key name is refused");
        return 0;
    }
    TAMUX_FUZZ_CHECK(written, "a settings file in a writable folder is written");
    if (!staysOnItsLine(section) || trim(section).find(']') != std::string_view::npos ||
        !usableName(key) || !staysOnItsLine(value)) {
        return 0;
    }
    TAMUX_FUZZ_CHECK(profile.getString(ini, section, key, "", kRoomy) == unquote(trim(value)),
                     "a value reads back as it was written");
    if (usableName(other) && !tamux::sim::equalsIgnoreCase(trim(other), trim(key), codePage)) {
        TAMUX_FUZZ_CHECK(profile.getString(ini, section, other, "", kRoomy) == otherBefore,
                         "writing one key leaves another key of the section alone");
    }
    return 0;
}
