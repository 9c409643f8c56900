// tamux-report: writes the report that tamux.exe would save on a simulated machine.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/tamux_report/report_run.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tamux-report [options] <machine-folder>\n"
    "Ticks entries of the report window on a simulated machine (samples/machines/<name>), presses\n"
    "Save and writes the saved report. The date and time are the machine's fixed clock.\n"
    "A real Windows machine becomes such a folder with tamux-capture.exe, which ships beside\n"
    "tamux.exe: run `tamux-capture <folder>` there and give that folder here as it is.\n"
    "  --tick <entry>  tick the entry of this text, as the report window shows it (Mouse,\n"
    "                  Keyboard, a printer's name); may be given several times\n"
    "  --all           tick every entry\n"
    "  --html, --text  the format (default: from the output file's extension, else text)\n"
    "  --lang <code>   the language module: EN, DE, CSY, ... (default EN)\n"
    "  --suite <dir>   the folder with Tamux/tamux<code>.dll and SHARED/DATABASES\n"
    "                  (default: this build's suite folder)\n"
    "  -o <file>       write the report there (default: standard output)\n";

int usage(std::string_view problem) {
    std::cerr << "tamux-report: " << problem << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tamux;
    tools::ReportRun run;
    run.suite = TAMUX_SUITE_DIR;
    std::string outputPath;
    bool formatGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--tick") {
            const char* entry = value();
            if (!entry) return usage("--tick needs an entry");
            run.entries.emplace_back(entry);
        } else if (arg == "--all") {
            run.all = true;
        } else if (arg == "--html" || arg == "--text") {
            run.format = arg == "--html" ? ReportFileFormat::Html : ReportFileFormat::Text;
            formatGiven = true;
        } else if (arg == "--lang") {
            const char* code = value();
            if (!code) return usage("--lang needs a code");
            run.language = code;
        } else if (arg == "--suite") {
            const char* dir = value();
            if (!dir) return usage("--suite needs a folder");
            run.suite = dir;
        } else if (arg == "-o") {
            const char* file = value();
            if (!file) return usage("-o needs a file");
            outputPath = file;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage("unknown option " + std::string(arg));
        } else if (run.machine.empty()) {
            run.machine = std::string(arg);
        } else {
            return usage("more than one machine folder");
        }
    }
    if (run.machine.empty()) return usage("no machine folder");
    if (run.entries.empty() && !run.all) return usage("nothing to tick (--tick or --all)");
    if (!formatGiven && !outputPath.empty()) run.format = reportFileFormatOf(outputPath);

    try {
        const tools::ReportResult result = tools::runReport(run);
        for (const std::string& message : result.messages) {
            std::cerr << "tamux-report: the program showed: " << message << "\n";
        }
        if (outputPath.empty()) {
            std::cout << result.content;
        } else {
            std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
            out << result.content;
            if (!out) {
                std::cerr << "tamux-report: cannot write " << outputPath << "\n";
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "tamux-report: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
