// File service: the few file operations of the program, on Windows paths ("C:\...", or relative
// to the current directory, with "\" separators).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace tamux::platform {

class Files {
  public:
    virtual ~Files() = default;

    // True when a file (not a folder) exists at `path`.
    virtual bool fileExists(std::string_view path) = 0;

    // The whole content of the file, or nullopt when it cannot be opened or read.
    virtual std::optional<std::string> readFile(std::string_view path) = 0;

    // The file's content from byte `from` on, handed to `take` piece by piece, in order, each
    // piece at most kReadPieceBytes and never empty, until the file ends or `take` returns false:
    // a reader that works through a file of megabytes holds a piece at a time instead of the
    // whole of it, and readers of two parts of one file can work side by side. False when the
    // file cannot be opened or a read fails; the pieces before the failure have been handed over
    // by then. A start at or past the end hands over nothing. By default the file is read whole
    // with readFile and handed over in pieces.
    static constexpr std::size_t kReadPieceBytes = 65536;
    virtual bool readFileFrom(std::string_view path, std::uint64_t from,
                              const std::function<bool(std::string_view)>& take) {
        const std::optional<std::string> content = readFile(path);
        if (!content) return false;
        for (std::uint64_t at = from; at < content->size(); at += kReadPieceBytes) {
            if (!take(std::string_view(*content).substr(at, kReadPieceBytes))) break;
        }
        return true;
    }

    // The whole file, piece by piece: readFileFrom from its first byte to its end.
    bool readFilePieces(std::string_view path, const std::function<void(std::string_view)>& take) {
        return readFileFrom(path, 0, [&take](std::string_view piece) {
            take(piece);
            return true;
        });
    }

    // The file's size in bytes, or nullopt when it cannot be opened. By default the length of
    // readFile's content.
    virtual std::optional<std::uint64_t> fileSize(std::string_view path) {
        const std::optional<std::string> content = readFile(path);
        if (!content) return std::nullopt;
        return content->size();
    }

    // Writes `content` to a new file in the same folder and puts it in the place of `path` only
    // once it is written in full. Raises FileCreateError ("Cannot create file <path>") when the
    // file cannot be created, written or put in place (an earlier file that is read-only or held
    // open by another program); then the new file is removed again and an earlier file of that
    // name keeps its content.
    virtual void writeFile(std::string_view path, std::string_view content) = 0;

    // Last-write time as a FILETIME-style count of 100 ns since 1601, or nullopt.
    virtual std::optional<std::uint64_t> lastWriteTime(std::string_view path) = 0;
};

}  // namespace tamux::platform
