#include "registry/device_database.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/reg_key.h"
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

// The database text of one lookup: the files' texts, each line deciphered in place. Whatever
// happens, every text is overwritten with "0"s before it is released: over the whole of it, in
// place, since a line replaced by a new string of "0"s would leave the deciphered text behind in
// the memory it was freed from.
class DatabaseText {
  public:
    DatabaseText() = default;
    ~DatabaseText() {
        for (std::string& text : texts_) secureFill(text, '0');
        lines_.clear();
    }
    DatabaseText(const DatabaseText&) = delete;
    DatabaseText& operator=(const DatabaseText&) = delete;

    // A file's text; its lines follow those of the files before it.
    void append(std::string file) {
        if (!file.empty()) texts_.push_back(std::move(file));
    }

    // Splits the texts into lines and deciphers each, handing it to `eachLine` at once. CR LF,
    // LF or CR end a line; a final line end adds no empty line.
    template <typename EachLine>
    void decipher(EachLine&& eachLine) {
        CryptLib crypt;
        useDatabaseKeys(crypt);
        for (std::string& text : texts_) {
            const std::size_t size = text.size();
            std::size_t start = 0;
            // The next LF at or after `start`, kept while it lies ahead: a text of CR line ends
            // is searched for LFs once, not to its end for every line.
            std::size_t nextLf = std::min(text.find('\n'), size);
            while (start < size) {
                if (nextLf < start) nextLf = std::min(text.find('\n', start), size);
                std::size_t end = nextLf;
                // Only within this line: a text without CRs is not searched to its end each time.
                const std::size_t cr = std::string_view(text).substr(start, end - start).find('\r');
                if (cr != std::string_view::npos) end = start + cr;
                char* line = text.data() + start;
                lines_.emplace_back(line, crypt.decryptInPlace(line, end - start));
                eachLine(lines_.back());
                start = end + 1;
                if (end < size && text[end] == '\r' && start < size && text[start] == '\n') {
                    ++start;
                }
            }
        }
    }

    const std::vector<std::string_view>& lines() const { return lines_; }
    bool empty() const { return texts_.empty(); }

  private:
    std::vector<std::string> texts_;
    std::vector<std::string_view> lines_;
};

// Appends the file's text when it exists. A file that exists but cannot be read is an error,
// not an empty database.
void appendFile(platform::Files& files, const std::string& path, DatabaseText& text) {
    if (!files.fileExists(path)) return;
    std::optional<std::string> content = files.readFile(path);
    if (!content) throw Error("Cannot open file " + path);
    text.append(std::move(*content));
}

// Records of the class and unknown ones, when they have a hardware id.
bool isLookedUp(const DeviceEntry& record, std::string_view className) {
    if (record.hardwareID.empty()) return false;
    return equalsIgnoringCase(record.className, className) ||
           equalsIgnoringCase(record.className, "UNKNOWN");
}

void completeRecord(DeviceEntry& record, const std::vector<std::string_view>& lines,
                    const DatabaseIndex& index, std::size_t match) {
    DeviceParts device = parseDeviceLine(lines[match]);
    VendorParts vendor;
    if (auto vendorLine = index.vendorAbove(match)) vendor = parseVendorLine(lines[*vendorLine]);
    record.displayName = vendor.name + " " + device.name;
    record.vendorName = std::move(vendor.name);
    record.DeviceName = std::move(device.name);
    record.vendorExtra = std::move(vendor.extra);
    record.deviceExtra = std::move(device.extra);
}

}  // namespace

void decipherDatabase(std::vector<std::string>& lines) {
    CryptLib crypt;
    useDatabaseKeys(crypt);
    for (std::string& line : lines) line.resize(crypt.decryptInPlace(line.data(), line.size()));
}

std::string getClassDescription(platform::Registry& registry, platform::System& system,
                                std::string_view className) {
    RegKey key(registry, platform::RootKey::LocalMachine, platform::KeyAccess::Read);
    std::string_view root;
    if (isWinNT(system) && key.openKey(kNtClassRoot)) {
        root = kNtClassRoot;
    } else if (isWin9x(system) && key.openKey(k9xClassRoot)) {
        root = k9xClassRoot;
    } else {
        return {};
    }
    const std::string wanted = toAsciiUpper(className);
    for (const std::string& subkey : key.subkeyNames()) {
        key.openKey(std::string(root) + "\\" + subkey);
        if (toAsciiUpper(key.readString("Class")) == wanted) return key.readString("");
    }
    return {};
}

void lookupDeviceDatabase(platform::Registry& registry, platform::System& system,
                          platform::Files& files, DeviceTable& table, std::string_view className,
                          std::string_view directory) {
    if (getWinVersion(system) == WinVersion::WinNt4) return;
    std::string folder(directory.empty() || directory == " " ? kDefaultDatabaseDirectory
                                                             : directory);
    DatabaseText database;
    appendFile(files, folder + std::string(className) + ".txt", database);
    appendFile(files, folder + "other.txt", database);
    if (database.empty()) return;

    // A record's class changes only after it was looked up, so which records are looked up is
    // known before the first one is, and before the first line is deciphered.
    std::vector<std::size_t> lookedUp;
    std::vector<std::string_view> wantedIds;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!isLookedUp(table[i], className)) continue;
        lookedUp.push_back(i);
        wantedIds.push_back(table[i].hardwareID);
    }
    // Each line goes into the index as soon as it is deciphered, while it is in the cache.
    DatabaseIndex index(wantedIds);
    database.decipher([&index](std::string_view line) { index.addLine(line); });
    index.finish();
    const std::vector<std::string_view>& lines = database.lines();
    std::optional<std::string> classDescription;  // the registry does not change meanwhile
    for (std::size_t i : lookedUp) {
        DeviceEntry& record = table[i];
        const bool unknown = equalsIgnoringCase(record.className, "UNKNOWN");
        auto match = index.firstMatch(record.hardwareID, pciKeyOf(record.hardwareID));
        if (!match) continue;
        completeRecord(record, lines, index, *match);
        if (unknown && !record.displayName.empty()) {
            if (!classDescription) {
                classDescription = getClassDescription(registry, system, className);
            }
            record.className = std::string(className);
            record.classDesc = *classDescription;
        }
    }
}

}  // namespace tamux
