// The capture's folder operations on the real file system, with the ANSI functions every Windows
// since 95 has.
#pragma once

#include "tools/capture/machine_folder.h"

namespace tamux::capture {

class Win32FolderSystem : public FolderSystem {
  public:
    Kind kind(const std::string& path) override;
    bool isEmptyFolder(const std::string& path) override;
    bool makeFolder(const std::string& path) override;
    bool writeFile(const std::string& path, const std::string& content) override;
    bool removeFile(const std::string& path) override;
    bool removeFolder(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    char separator() const override { return '\\'; }
};

}  // namespace tamux::capture
