// The simulated machine's files: real host files under the folder that stands for the drive,
// reached through the machine's path mapping. Failures are injectable: a file that is locked, a
// file that is read-only (its owner may not write it), and a disk that fills up after a number of
// bytes. On a machine without GetFileAttributesExA (Windows
// 95) file times come from the directory entry FindFirstFileA finds, as the program's own file
// service reads them there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/sim/host_path_mapper.h"

namespace tamux::sim {

class SimFiles : public platform::Files {
  public:
    // `hasAttributesQuery` tells whether the machine has GetFileAttributesExA (empty: it has).
    explicit SimFiles(HostPathMapper mapper, std::function<bool()> hasAttributesQuery = {});

    // platform::Files
    bool fileExists(std::string_view path) override;
    std::optional<std::string> readFile(std::string_view path) override;
    bool readFileFrom(std::string_view path, std::uint64_t from,
                      const std::function<bool(std::string_view)>& take) override;
    std::optional<std::uint64_t> fileSize(std::string_view path) override;
    void writeFile(std::string_view path, std::string_view content) override;
    std::optional<std::uint64_t> lastWriteTime(std::string_view path) override;

    // Test hooks.
    // The file at `path` can be neither read nor written (another program holds it open).
    void lockFile(std::string_view path);
    void unlockAll() { locked_.clear(); }
    // Every later write fails once this many bytes in all have been written (nullopt: no limit).
    void setDiskSpace(std::optional<std::uintmax_t> bytes) { diskSpace_ = bytes; }

    // FILETIME (100 ns since 1601) of a host file time.
    static std::uint64_t toFileTime(std::filesystem::file_time_type time);

    // FindFirstFileA's last-write time of the first entry that `pattern` ("C:\\dir\\*.txt")
    // matches, its last component compared without regard to case; nullopt when none does.
    std::optional<std::uint64_t> findFirstWriteTime(std::string_view pattern);

  private:
    bool isLocked(const std::filesystem::path& host) const;
    // The file opened for reading, unless it is missing, locked or no regular file.
    std::optional<std::ifstream> openForReading(std::string_view path) const;

    HostPathMapper mapper_;
    std::function<bool()> hasAttributesQuery_;
    std::set<std::filesystem::path> locked_;
    std::optional<std::uintmax_t> diskSpace_;
};

}  // namespace tamux::sim
