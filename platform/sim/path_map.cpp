#include "platform/sim/path_map.h"

#include <system_error>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/sim/case_fold.h"
#include "platform/sim/codepage.h"

namespace tamux::sim {

namespace fs = std::filesystem;

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && isLetter(path[0]) && path[1] == ':';
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::vector<std::string> splitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (isSeparator(c)) {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

fs::path hostName(const std::string& windowsName, unsigned codePage) {
    const std::string utf8 = utf16ToUtf8(widen(codePage, windowsName));
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::u16string windowsText(const fs::path& hostName) {
    const std::u8string utf8 = hostName.u8string();
    return utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

}  // namespace

PathMap::PathMap(fs::path driveC, unsigned codePage) : codePage_(codePage) {
    drives_['C'] = std::move(driveC);
}

void PathMap::mapDrive(char letter, fs::path hostFolder) {
    drives_[toAsciiUpper(letter)] = std::move(hostFolder);
}

std::string PathMap::fullPath(std::string_view path, std::string_view currentDirectory) {
    if (path.empty()) return {};
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return {};  // UNC

    char drive = 0;
    std::string_view rest;
    std::string_view base;  // the folder a relative rest starts from, without its drive
    const bool cwdHasDrive = hasDrive(currentDirectory);
    const char cwdDrive = cwdHasDrive ? toAsciiUpper(currentDirectory[0]) : 0;

    if (hasDrive(path)) {
        drive = toAsciiUpper(path[0]);
        rest = path.substr(2);
        if (!rest.empty() && isSeparator(rest[0])) {
            base = {};
        } else if (drive == cwdDrive) {
            base = currentDirectory.substr(2);  // "D:x" is relative to D:'s current folder
        }
    } else {
        if (!cwdHasDrive) return {};
        drive = cwdDrive;
        rest = path;
        if (!isSeparator(rest[0])) base = currentDirectory.substr(2);
    }

    std::vector<std::string> parts;
    for (std::string_view source : {base, rest}) {
        for (std::string& part : splitComponents(source)) {
            if (part == ".") continue;
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
                continue;
            }
            // Windows drops trailing dots and blanks of a name ("file." is "file").
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
            if (!part.empty()) parts.push_back(std::move(part));
        }
    }

    std::string out{drive, ':', '\\'};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out.push_back('\\');
        out += parts[i];
    }
    return out;
}

fs::path PathMap::hostPath(std::string_view windowsPath, std::string_view currentDirectory) const {
    const std::string full = fullPath(windowsPath, currentDirectory);
    if (full.empty()) return {};
    const auto drive = drives_.find(full[0]);
    if (drive == drives_.end()) return {};

    fs::path host = drive->second;
    bool parentExists = true;
    for (const std::string& part : splitComponents(std::string_view(full).substr(2))) {
        const fs::path name = hostName(part, codePage_);
        std::error_code ec;
        if (parentExists && !fs::exists(host / name, ec)) {
            const std::u16string wanted = widen(codePage_, part);
            fs::path match;
            for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
                const fs::path candidate = it->path().filename();
                if (equalsIgnoreCase(windowsText(candidate), wanted)) {
                    match = candidate;
                    break;
                }
            }
            if (match.empty()) {
                parentExists = false;
                host /= name;
            } else {
                host /= match;
            }
        } else {
            host /= name;
        }
    }
    return host;
}

}  // namespace tamux::sim
