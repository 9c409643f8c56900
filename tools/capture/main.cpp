// tamux-capture: writes a machine folder (machine.json and registry\captured.reg, the format of
// samples/machines) holding what Tamux reads of the machine it runs on, so that the native
// tamux-report shows the same report anywhere. It reads only: the registry is opened for reading,
// nothing is printed or started, and no file is written but the target folder (and the report
// file, when asked for one).
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform/win32/real_platform.h"
#include "platform/win32/windows_support.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/win32_folder_system.h"

namespace {

constexpr const char* kUsage =
    "usage: tamux-capture [--force] [--report <file>] <folder>\n"
    "Captures what Tamux reads of this machine into <folder>, a new or empty folder: the\n"
    "registry keys and values the device walks and the sections read, the Windows version,\n"
    "keyboard type, lock keys, code page, system language, screen DPI, the clock and its\n"
    "formats, and each printer's spooler record, device capabilities and paper names.\n"
    "The native tamux-report then writes this machine's report from the folder.\n"
    "  --force          capture into a folder that has content: the old folder is renamed\n"
    "                   aside (<folder>.old), nothing is deleted\n"
    "  --report <file>  also write the report of every entry, as tamux.exe saves it\n";

// fputs only: the formatted printing of the MinGW runtime would add imports older Windows lack.
void say(std::FILE* stream, const std::string& line) {
    std::fputs(("tamux-capture: " + line + "\n").c_str(), stream);
}

int usage(const std::string& problem) {
    say(stderr, problem);
    std::fputs(kUsage, stderr);
    return 2;
}

std::string localeText(LCTYPE type) {
    char buffer[128] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return {};
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tamux;
    std::string folder, reportPath;
    bool force = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--force") {
            force = true;
        } else if (arg == "--report") {
            if (i + 1 >= argc) return usage("--report needs a file");
            reportPath = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usage("unknown option " + std::string(arg));
        } else if (folder.empty()) {
            folder = std::string(arg);
        } else {
            return usage("more than one folder");
        }
    }
    if (folder.empty()) return usage("no folder");

    capture::Win32FolderSystem files;
    // Refused before the machine is read, so that a mistaken name costs nothing.
    if (files.kind(folder) == capture::FolderSystem::Kind::Folder && !force &&
        !files.isEmptyFolder(folder)) {
        say(stderr, folder + " is not empty (--force to capture there anyway)");
        return 1;
    }

    const DWORD started = GetTickCount();
    capture::CaptureResult result;
    try {
        win32::RealPlatform real;
        const capture::ClockPictures pictures{localeText(LOCALE_SSHORTDATE),
                                              localeText(LOCALE_STIMEFORMAT),
                                              localeText(LOCALE_S1159), localeText(LOCALE_S2359)};
        result = capture::captureMachine(real.platform(), pictures);
    } catch (const std::exception& error) {
        say(stderr, error.what());
        return 1;
    }
    for (const std::string& message : result.messages) {
        say(stderr, "the program showed: " + message);
    }
    for (const std::string& warning : result.warnings) {
        say(stderr, "not captured: " + warning);
    }

    const capture::FolderResult written =
        capture::writeMachineFolder(files, folder, result.files, force);
    if (!written.ok) {
        say(stderr, written.message);
        return 1;
    }
    if (!written.message.empty()) say(stdout, written.message);
    if (!reportPath.empty()) {
        DeleteFileA(reportPath.c_str());
        if (!files.writeFile(reportPath, result.report)) {
            say(stderr, "cannot write " + reportPath);
            return 1;
        }
    }
    std::size_t bytes = 0;
    for (const auto& file : result.files) bytes += file.second.size();
    say(stdout, folder + ": " + std::to_string(result.files.size()) + " files, " +
                    std::to_string(bytes) + " bytes, " + std::to_string(GetTickCount() - started) +
                    " ms");
    return 0;
}
