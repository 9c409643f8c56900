#include "tools/capture/machine_folder.h"

namespace tamux::capture {

namespace {

// A name beside `base` that nothing holds yet.
std::string freeSibling(FolderSystem& fs, const std::string& base, const std::string& tag) {
    for (int n = 1; n < 1000; ++n) {
        std::string candidate = base + tag + (n == 1 ? "" : std::to_string(n));
        if (fs.kind(candidate) == FolderSystem::Kind::Missing) return candidate;
    }
    return {};
}

}  // namespace

FolderResult writeMachineFolder(FolderSystem& fs, std::string target, const MachineFiles& files,
                                bool force) {
    while (target.size() > 1 && (target.back() == '/' || target.back() == '\\') &&
           !(target.size() == 3 && target[1] == ':')) {
        target.pop_back();
    }
    const FolderSystem::Kind kind = fs.kind(target);
    if (kind == FolderSystem::Kind::Other) {
        return {false, target + " exists and is not a folder"};
    }
    const bool occupied = kind == FolderSystem::Kind::Folder && !fs.isEmptyFolder(target);
    if (occupied && !force) {
        return {false, target + " is not empty (--force puts the capture there and renames the " +
                           "old folder aside)"};
    }

    const std::string partial = freeSibling(fs, target, ".partial");
    if (partial.empty() || !fs.makeFolder(partial)) {
        return {false, "cannot write " + target + ": no folder can be made beside it"};
    }
    std::vector<std::string> made;  // files and folders made, to take back on failure
    bool ok = true;
    for (const auto& [relative, content] : files) {
        std::string path = partial;
        std::string::size_type start = 0;
        for (auto slash = relative.find('/'); ok && slash != std::string::npos;
             slash = relative.find('/', start)) {
            path += fs.separator() + relative.substr(start, slash - start);
            start = slash + 1;
            if (fs.kind(path) == FolderSystem::Kind::Missing) {
                ok = fs.makeFolder(path);
                if (ok) made.push_back(path);
            }
        }
        if (!ok) break;
        path += fs.separator() + relative.substr(start);
        ok = fs.writeFile(path, content);
        made.push_back(path);
        if (!ok) break;
    }

    std::string aside;
    if (ok && kind == FolderSystem::Kind::Folder) {
        if (occupied) {
            aside = freeSibling(fs, target, ".old");
            ok = !aside.empty() && fs.rename(target, aside);
        } else {
            ok = fs.removeFolder(target);
        }
    }
    if (ok && !fs.rename(partial, target)) {
        ok = false;
        if (!aside.empty()) {
            fs.rename(aside, target);
        } else if (kind == FolderSystem::Kind::Folder) {
            fs.makeFolder(target);
        }
    }
    if (!ok) {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            if (!fs.removeFile(*it)) fs.removeFolder(*it);
        }
        fs.removeFolder(partial);
        return {false, "cannot write " + target + ": a file or folder there cannot be written"};
    }
    return {true, aside.empty() ? std::string() : "the earlier folder is now " + aside};
}

}  // namespace tamux::capture
