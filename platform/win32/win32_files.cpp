#include "platform/win32/win32_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_name_pattern.h"
#include "platform/win32/optional_function.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

ScopedFile openFile(const std::string& path, DWORD access, DWORD disposition) {
    // A reader lets others keep writing (a database open in another program of the suite); a
    // writer lets others read.
    DWORD share = access == GENERIC_READ ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return ScopedFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// ReadFile and WriteFile move at most a DWORD at a time; pieces keep well below that.
constexpr DWORD kChunk = 1u << 20;

bool writeAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(content.size(), kChunk));
        DWORD written = 0;
        if (!WriteFile(file, content.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

// The folder part of `path` as GetTempFileNameA takes it: "." for a bare name, "C:" for "C:x".
std::string folderOf(const std::string& path) {
    const std::size_t split = path.find_last_of("\\/:");
    if (split == std::string::npos) return ".";
    if (path[split] == ':') return path.substr(0, split + 1);
    return split == 0 ? path.substr(0, 1) : path.substr(0, split);
}

// Puts the complete file `fresh` in the place of `target`, which may exist.
bool replaceWith(const std::string& fresh, const std::string& target) {
    using Move = decltype(&MoveFileExA);
    if (auto move = optionalFunctionAs<Move>(platform::OptionalFunction::ReplacingMove)) {
        if (move(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        // The 9x family exports a MoveFileExA that only fails; anything else is a real refusal.
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    }
    // Without it the old file has to go first; one that cannot be deleted (read-only, held open)
    // keeps its content.
    if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !DeleteFileA(target.c_str())) {
        return false;
    }
    return MoveFileA(fresh.c_str(), target.c_str()) != 0;
}

}  // namespace

bool Win32Files::fileExists(std::string_view path) {
    DWORD attributes = GetFileAttributesA(std::string(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32Files::readFile(std::string_view path) {
    std::string content;
    if (!readFilePieces(path, [&content](std::string_view piece) { content += piece; })) {
        return std::nullopt;
    }
    return content;
}

bool Win32Files::readFileFrom(std::string_view path, std::uint64_t from,
                              const std::function<bool(std::string_view)>& take) {
    ScopedFile file = openFile(std::string(path), GENERIC_READ, OPEN_EXISTING);
    if (!file) return false;
    if (from > 0) {
        // A position past the end is allowed; the first read there reads nothing.
        LONG high = static_cast<LONG>(from >> 32);
        const DWORD low =
            SetFilePointer(file.get(), static_cast<LONG>(from & 0xFFFFFFFFu), &high, FILE_BEGIN);
        if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
    }
    std::vector<char> buffer(kReadPieceBytes);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      nullptr)) {
            return false;
        }
        if (got == 0 || !take(std::string_view(buffer.data(), got))) return true;
    }
}

std::optional<std::uint64_t> Win32Files::fileSize(std::string_view path) {
    ScopedFile file = openFile(std::string(path), GENERIC_READ, OPEN_EXISTING);
    if (!file) return std::nullopt;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

void Win32Files::writeFile(std::string_view path, std::string_view content) {
    const std::string name(path);
    // A read-only file is not to be written over, as opening it for writing would refuse; not
    // every MoveFileEx refuses to replace one (Wine's does not).
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        throw FileCreateError(name);
    }
    // The new content goes to a file of its own in the same folder, so that a write that fails
    // (a full disk, a device error) leaves an earlier report of that name as it was.
    char fresh[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(name).c_str(), "tmx", 0, fresh)) throw FileCreateError(name);
    ScopedFile file = openFile(fresh, GENERIC_WRITE, CREATE_ALWAYS);
    const bool written = file && writeAll(file.get(), content);
    file.reset();
    if (!written || !replaceWith(fresh, name)) {
        DeleteFileA(fresh);
        throw FileCreateError(name);
    }
}

namespace {

std::uint64_t ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::optional<std::uint64_t> Win32Files::lastWriteTime(std::string_view path) {
    const std::string name(path);
    using AttributesQuery = decltype(&GetFileAttributesExA);
    if (auto query =
            optionalFunctionAs<AttributesQuery>(platform::OptionalFunction::FileAttributesEx)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!query(name.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
        return ticks(data.ftLastWriteTime);
    }
    // Windows 95: the file's directory entry carries the same times.
    if (platform::hasWildcard(path)) return std::nullopt;
    WIN32_FIND_DATAA entry{};
    HANDLE search = FindFirstFileA(name.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    return ticks(entry.ftLastWriteTime);
}

}  // namespace tamux::win32
