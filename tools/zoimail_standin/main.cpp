// A stand-in for the suite's mail module: it writes ZoIMail.txt beside itself, one fact a line -
// the working folder, the raw command line, each argument as the C runtime splits it, and for
// each argument naming a file whether that file was there when it started - and ends.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/windows_support.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string log(module, length);
    const std::size_t folderEnd = log.find_last_of('\\');
    log = (folderEnd == std::string::npos ? std::string() : log.substr(0, folderEnd + 1)) +
          "ZoIMail.txt";

    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);

    std::FILE* out = std::fopen(log.c_str(), "wb");
    if (!out) return 1;
    std::fprintf(out, "directory=%s\r\n", directory);
    std::fprintf(out, "commandline=%s\r\n", GetCommandLineA());
    for (int i = 1; i < __argc; ++i) {
        std::fprintf(out, "arg%d=%s\r\n", i, __argv[i]);
        const DWORD attributes = GetFileAttributesA(__argv[i]);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::fprintf(out, "arg%d exists\r\n", i);
        }
    }
    std::fclose(out);
    return 0;
}
