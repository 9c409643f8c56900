#include "bench/measure.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <malloc.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace tamux::bench {

namespace {

// A "Vm...:" line of /proc/self/status, in KiB.
long statusKib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, field.size(), field) == 0 && line.size() > field.size() &&
            line[field.size()] == ':') {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return 0;
}

std::string formatted(const char* format, double median, double min, double max) {
    char text[128];
    std::snprintf(text, sizeof text, format, median, min, max);
    return text;
}

const char* findOption(int argc, char** argv, const std::string& name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (name == argv[i]) return argv[i + 1];
    }
    return nullptr;
}

}  // namespace

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long currentMemoryKib() {
    return statusKib("VmRSS");
}

long peakMemoryKib() {
    return statusKib("VmHWM");
}

void returnFreedMemory() {
    malloc_trim(0);
}

bool resetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

namespace {

struct Reply {
    double ms;
    long peakKib;
    int status;
};

bool readAll(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = read(fd, bytes, size);
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = write(fd, bytes, size);
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// The helper: each request is the output file and the program's arguments, NUL-separated, after
// their length; each answer a Reply. Ends when the benchmark closes its end.
[[noreturn]] void serveRequests(int in, int out) {
    for (;;) {
        std::uint32_t length = 0;
        if (!readAll(in, &length, sizeof length)) _exit(0);
        std::string request(length, '\0');
        if (!readAll(in, request.data(), length)) _exit(0);
        std::vector<std::string> parts;
        for (std::size_t at = 0; at < request.size();) {
            std::size_t end = request.find('\0', at);
            if (end == std::string::npos) end = request.size();
            parts.push_back(request.substr(at, end - at));
            at = end + 1;
        }
        std::vector<char*> args;
        for (std::size_t i = 1; i < parts.size(); ++i) args.push_back(parts[i].data());
        args.push_back(nullptr);

        const Clock::time_point start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(parts[0].c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0) _exit(126);
            dup2(fd, 1);
            close(fd);
            execvp(args[0], args.data());
            _exit(127);
        }
        Reply reply{0, 0, -1};
        int status = 0;
        struct rusage usage {};
        if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
            reply.ms = millisecondsSince(start);
            reply.peakKib = usage.ru_maxrss;
            reply.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (!writeAll(out, &reply, sizeof reply)) _exit(0);
    }
}

}  // namespace

ProgramRunner::ProgramRunner() {
    int requests[2], replies[2];
    if (pipe(requests) != 0 || pipe(replies) != 0) throw std::runtime_error("no pipe");
    floorKib_ = peakMemoryKib();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot fork the program runner");
    if (pid == 0) {
        close(requests[1]);
        close(replies[0]);
        serveRequests(requests[0], replies[1]);
    }
    close(requests[0]);
    close(replies[1]);
    helper_ = pid;
    toHelper_ = requests[1];
    fromHelper_ = replies[0];
}

ProgramRunner::~ProgramRunner() {
    close(toHelper_);
    close(fromHelper_);
    int status = 0;
    waitpid(helper_, &status, 0);
}

ChildFigures ProgramRunner::run(const std::vector<std::string>& argv,
                                const std::filesystem::path& output) {
    std::string request = output.string();
    for (const std::string& arg : argv) request += '\0' + arg;
    const auto length = static_cast<std::uint32_t>(request.size());
    Reply reply{};
    if (!writeAll(toHelper_, &length, sizeof length) ||
        !writeAll(toHelper_, request.data(), request.size()) ||
        !readAll(fromHelper_, &reply, sizeof reply)) {
        throw std::runtime_error("the program runner has gone");
    }
    if (reply.status != 0) {
        throw std::runtime_error(argv[0] + " failed (exit status " + std::to_string(reply.status) +
                                 "); is it installed?");
    }
    return {reply.ms, reply.peakKib};
}

double medianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Series::min() const {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double Series::max() const {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

Series pairwiseRatios(const Series& a, const Series& b) {
    Series ratios;
    for (std::size_t i = 0; i < a.values.size() && i < b.values.size(); ++i) {
        if (b.values[i] > 0) ratios.add(a.values[i] / b.values[i]);
    }
    return ratios;
}

std::string formatMs(const Series& series) {
    return formatted("%.1f ms (min %.1f, max %.1f)", series.median(), series.min(), series.max());
}

std::string formatMib(const Series& kib) {
    return formatted("%.1f MiB (min %.1f, max %.1f)", kib.median() / 1024, kib.min() / 1024,
                     kib.max() / 1024);
}

std::string formatRatio(const Series& ratios) {
    return formatted("%.2f (min %.2f, max %.2f)", ratios.median(), ratios.min(), ratios.max());
}

int intOption(int argc, char** argv, const std::string& name, int fallback) {
    const char* value = findOption(argc, argv, name);
    return value ? std::stoi(value) : fallback;
}

bool flagOption(int argc, char** argv, const std::string& name) {
    for (int i = 1; i < argc; ++i) {
        if (name == argv[i]) return true;
    }
    return false;
}

std::string textOption(int argc, char** argv, const std::string& name,
                       const std::string& fallback) {
    const char* value = findOption(argc, argv, name);
    return value ? value : fallback;
}

}  // namespace tamux::bench
