#include "registry/device_database.h"

#include <optional>

#include "platform/reg_key.h"
#include "registry/ascii_case.h"
#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"
#include "registry/database_index.h"
#include "registry/database_lines.h"
#include "registry/secure_wipe.h"
#include "registry/win_version.h"

namespace tamux {

namespace {

constexpr std::string_view kNtClassRoot = "SYSTEM\\CurrentControlSet\\Control\\Class";
constexpr std::string_view k9xClassRoot = "System\\CurrentControlSet\\Services\\Class";
constexpr std::size_t kWipeLength = 250;

// The database lines of one lookup. Whatever happens, each line is overwritten with "0"s
// before the list is released.
class DatabaseLines {
  public:
    DatabaseLines() = default;
    ~DatabaseLines() {
        for (std::string& line : lines) {
            SecureFill(line, '0');
            line.assign(kWipeLength, '0');
        }
        lines.clear();
    }
    DatabaseLines(const DatabaseLines&) = delete;
    DatabaseLines& operator=(const DatabaseLines&) = delete;

    // Appends the lines of a text file: CR LF, LF or CR end a line; a final line end adds no
    // empty line.
    void append(std::string_view text) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            lines.emplace_back(text.substr(start, end - start));
            if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
                text[end + 1] == '\n') {
                ++end;
            }
            start = end + 1;
        }
    }

    std::vector<std::string> lines;
};

// Appends the file's lines when it exists. A file that exists but cannot be read is an error,
// not an empty database.
void appendFile(platform::Files& files, const std::string& path, DatabaseLines& lines) {
    if (!files.fileExists(path)) return;
    std::optional<std::string> text = files.readFile(path);
    if (!text) throw Error("Cannot open file " + path);
    lines.append(*text);
}

void completeRecord(devices& record, const std::vector<std::string>& lines,
                    const DatabaseIndex& index, std::size_t match) {
    DeviceParts device = ParseDeviceLine(lines[match]);
    VendorParts vendor;
    if (auto vendorLine = index.vendorAbove(match)) vendor = ParseVendorLine(lines[*vendorLine]);
    record.VendorName = vendor.name;
    record.DeviceName = device.name;
    record.DisplayName = vendor.name + " " + device.name;
    record.VendorExtra = vendor.extra;
    record.DeviceExtra = device.extra;
}

}  // namespace

void DecipherDatabase(std::vector<std::string>& lines) {
    TCryptLib crypt;
    UseDatabaseKeys(crypt);
    for (std::string& line : lines) line = crypt.DecryptString(line);
}

std::string GetClassDescription(platform::Registry& registry, platform::System& system,
                                std::string_view className) {
    RegKey key(registry, platform::RootKey::LocalMachine, platform::KeyAccess::Read);
    std::string_view root;
    if (IsWinNT(system) && key.openKey(kNtClassRoot)) {
        root = kNtClassRoot;
    } else if (IsWin9x(system) && key.openKey(k9xClassRoot)) {
        root = k9xClassRoot;
    } else {
        return {};
    }
    const std::string wanted = UpperCase(className);
    for (const std::string& subkey : key.subkeyNames()) {
        key.openKey(std::string(root) + "\\" + subkey);
        if (UpperCase(key.readString("Class")) == wanted) return key.readString("");
    }
    return {};
}

void LookupDeviceDatabase(platform::Registry& registry, platform::System& system,
                          platform::Files& files, DeviceTable& table, std::string_view className,
                          std::string_view directory) {
    if (GetWinVersion(system) == wvWinNT4) return;
    std::string folder(directory.empty() || directory == " " ? kDefaultDatabaseDirectory
                                                             : directory);
    DatabaseLines database;
    appendFile(files, folder + std::string(className) + ".txt", database);
    appendFile(files, folder + "other.txt", database);
    if (database.lines.empty()) return;

    DecipherDatabase(database.lines);
    const DatabaseIndex index(database.lines);
    const std::string wantedClass = UpperCase(className);
    for (devices& record : table) {
        const std::string recordClass = UpperCase(record.ClassName);
        if (recordClass != wantedClass && recordClass != "UNKNOWN") continue;
        if (record.HardwareID.empty()) continue;
        auto match = index.firstMatch(record.HardwareID, PciKey(record.HardwareID));
        if (!match) continue;
        completeRecord(record, database.lines, index, *match);
        if (recordClass == "UNKNOWN" && !record.DisplayName.empty()) {
            record.ClassName = std::string(className);
            record.ClassDesc = GetClassDescription(registry, system, className);
        }
    }
}

}  // namespace tamux
