// Putting a captured machine folder in place without harming what is there: the files are written
// into a fresh sibling folder and that folder is renamed to the target only once every file is
// complete, so a failure leaves no half-written folder. An existing folder with content is refused
// unless the caller forces the capture; even then it is only renamed aside, never deleted.
#pragma once

#include <string>
#include <vector>

#include "tools/capture/capture_writer.h"

namespace tamux::capture {

// The few file-system operations the folder needs, on the host's own paths.
class FolderSystem {
  public:
    enum class Kind { Missing, Folder, Other };
    virtual ~FolderSystem() = default;
    virtual Kind kind(const std::string& path) = 0;
    virtual bool isEmptyFolder(const std::string& path) = 0;
    virtual bool makeFolder(const std::string& path) = 0;  // fails when it exists
    virtual bool writeFile(const std::string& path, const std::string& content) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    virtual bool removeFolder(const std::string& path) = 0;  // an empty one
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    virtual char separator() const = 0;
};

struct FolderResult {
    bool ok = false;
    std::string message;  // the one line to show: what went wrong, or where the old folder went
};

FolderResult writeMachineFolder(FolderSystem& fs, std::string target, const MachineFiles& files,
                                bool force);

}  // namespace tamux::capture
