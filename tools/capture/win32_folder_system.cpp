#include "tools/capture/win32_folder_system.h"

#include "platform/win32/windows_support.h"

namespace tamux::capture {

FolderSystem::Kind Win32FolderSystem::kind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::Other;
}

bool Win32FolderSystem::isEmptyFolder(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") empty = false;
    } while (empty && FindNextFileA(find, &entry));
    FindClose(find);
    return empty;
}

bool Win32FolderSystem::makeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FolderSystem::writeFile(const std::string& path, const std::string& content) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < content.size()) {
        DWORD written = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 20));
        ok = WriteFile(file, content.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

bool Win32FolderSystem::removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

bool Win32FolderSystem::removeFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32FolderSystem::rename(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

}  // namespace tamux::capture
