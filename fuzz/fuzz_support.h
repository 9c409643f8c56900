// What the fuzz targets share: a scratch folder for the parsers that read host files, line
// splitting for the text-based input formats, and a check that stops the run with a message when
// a property that must hold for every input does not.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace tamux::fuzz {

// A property that every input must keep. A violation aborts, which libFuzzer reports as a crash
// and saves the input that caused it.
#define TAMUX_FUZZ_CHECK(condition, message)                                                \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: property violated: %s (%s)\n", __FILE__, __LINE__, \
                         message, #condition);                                              \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// One folder per fuzzing process under the system's temporary folder, removed at exit; fuzzing
// jobs that run side by side each get their own.
inline const std::filesystem::path& scratchFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            path = std::filesystem::temp_directory_path() /
                   ("tamux-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

inline void writeHostFile(const std::filesystem::path& file, std::string_view content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    TAMUX_FUZZ_CHECK(out.good(), "the scratch file could not be written");
}

// Lines split at LF, each without a trailing CR; a final line end adds no empty line.
inline std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace tamux::fuzz
