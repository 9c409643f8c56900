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
    // The facts machine.json has a member for are asked whether or not this run needs them: the
    // folder's texts are in the code page, and tamux.exe asks for the language when it has no
    // settings file yet, and for the screen's DPI when it draws.
    recorded.system.ansiCodePage();
    recorded.system.systemDefaultLangId();
    recorded.system.screenDpiX();
    for (int which = 0; which < 3; ++which) recorded.system.keyboardType(which);
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
