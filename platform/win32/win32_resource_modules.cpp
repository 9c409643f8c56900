#include "platform/win32/win32_resource_modules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/win32/windows_support.h"

namespace tamux::win32 {

namespace {

HMODULE toHandle(platform::ResourceModules::Module module) {
    return reinterpret_cast<HMODULE>(module);
}

bool isStringQuery(std::string_view subBlock) {
    constexpr std::string_view kPrefix = "\\StringFileInfo\\";
    return equalsIgnoringCase(subBlock.substr(0, kPrefix.size()), kPrefix);
}

}  // namespace

platform::ResourceModules::Module Win32ResourceModules::loadLibrary(std::string_view path) {
    return reinterpret_cast<Module>(LoadLibraryA(std::string(path).c_str()));
}

void Win32ResourceModules::freeLibrary(Module module) {
    if (module != 0) FreeLibrary(toHandle(module));
}

int Win32ResourceModules::loadString(Module module, std::uint32_t id, std::string& text,
                                     int bufferSize) {
    text.clear();
    // Module 0 would make LoadStringA read the executable's own string table.
    if (module == 0 || bufferSize <= 1) return 0;
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize), '\0');
    int length = LoadStringA(toHandle(module), id, buffer.data(), bufferSize);
    if (length <= 0) return 0;
    length = std::min(length, bufferSize - 1);
    text.assign(buffer.data(), static_cast<std::size_t>(length));
    return length;
}

std::uint32_t Win32ResourceModules::fileVersionInfoSize(std::string_view path) {
    DWORD ignored = 0;
    return GetFileVersionInfoSizeA(std::string(path).c_str(), &ignored);
}

std::optional<std::vector<std::uint8_t>> Win32ResourceModules::fileVersionInfo(
    std::string_view path) {
    const std::string name(path);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(name.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoA(name.c_str(), 0, size, block.data())) return std::nullopt;
    return block;
}

std::optional<std::vector<std::uint8_t>> Win32ResourceModules::queryVersionValue(
    const std::vector<std::uint8_t>& block, std::string_view subBlock) {
    if (block.empty()) return std::nullopt;
    // VerQueryValueA writes the 8-bit forms of the texts into the spare room of the block, so it
    // works on a private copy.
    std::vector<std::uint8_t> copy(block);
    const std::string query(subBlock);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(copy.data(), query.c_str(), &value, &length) || !value) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    const std::uint8_t* end = copy.data() + copy.size();
    if (bytes < copy.data() || bytes > end) return std::nullopt;
    std::size_t available = static_cast<std::size_t>(end - bytes);
    if (isStringQuery(subBlock)) {
        // The length of a text is counted in characters, with or without the NUL depending on
        // the system; hand the text over up to its NUL, and the NUL.
        std::size_t limit = std::min<std::size_t>(length, available);
        std::size_t text = std::find(bytes, bytes + limit, std::uint8_t{0}) - bytes;
        std::vector<std::uint8_t> result(bytes, bytes + text);
        result.push_back(0);
        return result;
    }
    return std::vector<std::uint8_t>(bytes, bytes + std::min<std::size_t>(length, available));
}

}  // namespace tamux::win32
