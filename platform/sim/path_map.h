// Windows paths of the simulated machine to host paths. Drive C: (and any other drive given a
// folder) is a host folder; a path is made absolute against the current directory the way
// GetFullPathNameA does it, then each component is looked up without regard to case among what
// exists on the host, so that "..\SHARED\DATABASES\Keyboard.txt" finds
// "shared/Databases/KEYBOARD.TXT".
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace tamux::sim {

class PathMap {
  public:
    // `driveC` is the host folder that stands for C:\; Windows names are 8-bit texts in
    // `codePage` and become UTF-8 names on the host.
    explicit PathMap(std::filesystem::path driveC, unsigned codePage = 1252);

    // Gives another drive letter a host folder.
    void mapDrive(char letter, std::filesystem::path hostFolder);

    // The absolute Windows path ("C:\A\B", or "C:\" for a root) of `path`, which may be absolute,
    // relative to `currentDirectory`, rooted ("\A" on the current drive) or drive-relative
    // ("D:A"). "/" counts as "\", "." and ".." are resolved (".." stops at the root) and trailing
    // dots and blanks of a component are dropped. Empty for a path with no drive (UNC names) or
    // an empty path.
    static std::string fullPath(std::string_view path, std::string_view currentDirectory);

    // The host path of `windowsPath`. An existing host entry whose name equals a component without
    // regard to case stands for it; components that do not exist keep their spelling. Empty when
    // the path's drive has no host folder.
    std::filesystem::path hostPath(std::string_view windowsPath,
                                   std::string_view currentDirectory) const;

    const std::filesystem::path& driveC() const { return drives_.at('C'); }

  private:
    std::map<char, std::filesystem::path> drives_;
    unsigned codePage_;
};

}  // namespace tamux::sim
