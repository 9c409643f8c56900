// File service: the few file operations of the program, on Windows paths ("C:\...", or relative
// to the current directory, with "\" separators).
#pragma once

#include <cstdint>
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
