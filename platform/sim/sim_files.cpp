#include "platform/sim/sim_files.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/file_name_pattern.h"

namespace tamux::sim {

namespace fs = std::filesystem;

SimFiles::SimFiles(HostPathMapper mapper, std::function<bool()> hasAttributesQuery)
    : mapper_(std::move(mapper)), hasAttributesQuery_(std::move(hasAttributesQuery)) {}

namespace {

// The pattern match of FindFirstFileA for one name: "*" any run, "?" one character.
bool matches(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) return name.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (matches(pattern.substr(1), name.substr(skip))) return true;
        }
        return false;
    }
    if (name.empty()) return false;
    if (pattern.front() != '?' && toAsciiUpper(pattern.front()) != toAsciiUpper(name.front())) {
        return false;
    }
    return matches(pattern.substr(1), name.substr(1));
}

}  // namespace

void SimFiles::lockFile(std::string_view path) {
    const fs::path host = mapper_(path);
    if (!host.empty()) locked_.insert(host.lexically_normal());
}

bool SimFiles::isLocked(const fs::path& host) const {
    return locked_.count(host.lexically_normal()) != 0;
}

bool SimFiles::fileExists(std::string_view path) {
    const fs::path host = mapper_(path);
    std::error_code ec;
    return !host.empty() && fs::is_regular_file(host, ec);
}

std::optional<std::ifstream> SimFiles::openForReading(std::string_view path) const {
    const fs::path host = mapper_(path);
    std::error_code ec;
    if (host.empty() || isLocked(host) || !fs::is_regular_file(host, ec)) return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    if (!in) return std::nullopt;
    return in;
}

std::optional<std::string> SimFiles::readFile(std::string_view path) {
    std::optional<std::ifstream> in = openForReading(path);
    if (!in) return std::nullopt;
    // One read of the whole file, as the program's own file service does: the databases run to
    // megabytes, and a character-by-character read costs time and twice the memory.
    in->seekg(0, std::ios::end);
    const std::streamoff size = in->tellg();
    if (size < 0) return std::nullopt;
    in->seekg(0, std::ios::beg);
    std::string content(static_cast<std::size_t>(size), '\0');
    if (!in->read(content.data(), size)) return std::nullopt;
    return content;
}

bool SimFiles::readFileFrom(std::string_view path, std::uint64_t from,
                            const std::function<bool(std::string_view)>& take) {
    std::optional<std::ifstream> in = openForReading(path);
    if (!in) return false;
    // A start past the end reads nothing, as ReadFile does there.
    in->seekg(0, std::ios::end);
    const std::streamoff size = in->tellg();
    if (size < 0) return false;
    if (from >= static_cast<std::uint64_t>(size)) return true;
    in->seekg(static_cast<std::streamoff>(from), std::ios::beg);
    std::vector<char> buffer(kReadPieceBytes);
    for (;;) {
        in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in->gcount());
        if (got > 0 && !take(std::string_view(buffer.data(), got))) return true;
        if (in->eof()) return true;
        if (!*in) return false;
    }
}

std::optional<std::uint64_t> SimFiles::fileSize(std::string_view path) {
    if (!openForReading(path)) return std::nullopt;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(mapper_(path), ec);
    if (ec) return std::nullopt;
    return size;
}

namespace {

bool isReadOnly(const fs::path& host) {
    std::error_code ec;
    const fs::file_status status = fs::status(host, ec);
    return !ec && fs::is_regular_file(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// A name in the folder of `host` that no file has yet.
fs::path freshNameBeside(const fs::path& host) {
    std::error_code ec;
    for (int i = 0;; ++i) {
        fs::path candidate = host.parent_path() / ("~tmx" + std::to_string(i) + ".tmp");
        if (!fs::exists(candidate, ec)) return candidate;
    }
}

}  // namespace

void SimFiles::writeFile(std::string_view path, std::string_view content) {
    const fs::path host = mapper_(path);
    std::error_code ec;
    // Windows refuses to put a file in the place of a locked or read-only one, or of a folder.
    if (host.empty() || isLocked(host) || isReadOnly(host) || fs::is_directory(host, ec)) {
        throw FileCreateError(std::string(path));
    }
    // The earlier file stays untouched until the new one is complete.
    const fs::path fresh = freshNameBeside(host);
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    if (!out) throw FileCreateError(std::string(path));

    std::size_t writable = content.size();
    if (diskSpace_ && *diskSpace_ < writable) writable = static_cast<std::size_t>(*diskSpace_);
    out.write(content.data(), static_cast<std::streamsize>(writable));
    out.close();
    if (diskSpace_) *diskSpace_ -= writable;
    if (out && writable == content.size()) {
        fs::rename(fresh, host, ec);
        if (!ec) return;
    }
    fs::remove(fresh, ec);
    throw FileCreateError(std::string(path));
}

std::uint64_t SimFiles::toFileTime(fs::file_time_type time) {
    using namespace std::chrono;
    const auto sys = file_clock::to_sys(time);
    const auto ticks =
        duration_cast<duration<std::int64_t, std::ratio<1, 10'000'000>>>(sys.time_since_epoch())
            .count();
    constexpr std::int64_t kUnixEpochIn1601Ticks = 116'444'736'000'000'000LL;
    return static_cast<std::uint64_t>(ticks + kUnixEpochIn1601Ticks);
}

std::optional<std::uint64_t> SimFiles::findFirstWriteTime(std::string_view pattern) {
    const std::size_t split = pattern.find_last_of('\\');
    std::string folder(split == std::string_view::npos ? "." : pattern.substr(0, split));
    // "C:\\name" searches the root, not the drive's current folder.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    const std::string_view name =
        split == std::string_view::npos ? pattern : pattern.substr(split + 1);
    const fs::path host = mapper_(folder);
    std::error_code ec;
    if (host.empty() || name.empty() || !fs::is_directory(host, ec)) return std::nullopt;
    std::vector<fs::path> found;
    for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
        if (matches(name, it->path().filename().string())) found.push_back(it->path());
    }
    if (found.empty()) return std::nullopt;
    const auto time = fs::last_write_time(*std::min_element(found.begin(), found.end()), ec);
    if (ec) return std::nullopt;
    return toFileTime(time);
}

std::optional<std::uint64_t> SimFiles::lastWriteTime(std::string_view path) {
    if (hasAttributesQuery_ && !hasAttributesQuery_()) {
        // A pattern would find some other file's entry.
        if (platform::hasWildcard(path)) return std::nullopt;
        return findFirstWriteTime(path);
    }
    const fs::path host = mapper_(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(host, ec)) return std::nullopt;
    const auto time = fs::last_write_time(host, ec);
    if (ec) return std::nullopt;
    return toFileTime(time);
}

}  // namespace tamux::sim
