#include "tools/capture/capture_run.h"

#include <cstdio>

#include "platform/errors.h"
#include "tools/capture/recording_platform.h"
#include "tools/report_driver/report_driver.h"

namespace tamux::capture {

CaptureResult captureMachine(platform::Platform platform,
                             const std::optional<ClockPictures>& pictures) {
    RecordingPlatform recording(platform);
    platform::Platform recorded = recording.platform();
    // The folder's texts are in the code page, whether or not the program asks for it.
    recorded.system.ansiCodePage();
    tools::saveReport(recorded, tools::ReportChoice{{}, true});

    CaptureResult result;
    const std::optional<std::string> report = recording.savedReport();
    if (!report) throw Error("The program saved no report");
    result.report = *report;
    result.messages = recording.messages();

    const platform::SystemTime now = recorded.clock.localTime();
    char when[64];
    std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u:%02u", now.year, now.month, now.day,
                  now.hour, now.minute);
    result.files = machineFiles(recording.recording(), pictures,
                                std::string("Captured by tamux-capture on ") + when);
    result.warnings = recording.recording().warnings;
    return result;
}

}  // namespace tamux::capture
