// Services that pass every query on to the real ones and note what was asked and answered, so
// that a capture holds exactly what the program reads, however the program changes. They also
// keep the run harmless on a stranger's machine: the registry is opened for reading only, key
// presses and keyboard-state changes are not passed on, the shell starts nothing, no printer
// dialog opens, every file or settings write stays in memory, and the save dialog answers a
// fixed name whose content the caller takes back.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "tools/capture/recording.h"

namespace tamux::capture {

class RecordingPlatform {
  public:
    explicit RecordingPlatform(platform::Platform inner);
    ~RecordingPlatform();
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    platform::Platform platform();
    Recording& recording();

    // The path the save dialog answers, and what the program saved there (nullopt: nothing).
    static constexpr const char* kSavePath = "C:\\tamux-capture-report.txt";
    std::optional<std::string> savedReport() const;
    // The message boxes the program showed on the way.
    const std::vector<std::string>& messages() const;

  private:
    struct Services;
    std::unique_ptr<Services> services_;
};

}  // namespace tamux::capture
