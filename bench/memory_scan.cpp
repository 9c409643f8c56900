#include "bench/memory_scan.h"

#include <sys/mman.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace tamux::bench {

int occurrencesInMemory(const std::string& needle) {
    // The regions are listed before any is read, and each is copied into a mapping of its own
    // that is gone before the next: the copies never become part of what is searched.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> regions;
    {
        std::ifstream maps("/proc/self/maps");
        std::string line;
        while (std::getline(maps, line)) {
            std::istringstream fields(line);
            std::string range, perms;
            fields >> range >> perms;
            if (perms.size() < 2 || perms[0] != 'r' || perms[1] != 'w') continue;
            const auto dash = range.find('-');
            regions.emplace_back(std::stoull(range.substr(0, dash), nullptr, 16),
                                 std::stoull(range.substr(dash + 1), nullptr, 16));
        }
    }
    const int mem = open("/proc/self/mem", O_RDONLY);
    if (mem < 0) return -1;
    int found = 0;
    for (const auto& [from, to] : regions) {
        const std::size_t size = to - from;
        void* copy =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (copy == MAP_FAILED) continue;
        const char* data = static_cast<const char*>(copy);
        const ssize_t got = pread(mem, copy, size, static_cast<off_t>(from));
        if (got > 0) {
            const char* end = data + got;
            for (const char* it = data;
                 (it = std::search(it, end, needle.begin(), needle.end())) != end; ++it) {
                const auto address = from + static_cast<std::uint64_t>(it - data);
                if (address != reinterpret_cast<std::uint64_t>(needle.data())) ++found;
            }
        }
        munmap(copy, size);
    }
    close(mem);
    return found;
}

}  // namespace tamux::bench
