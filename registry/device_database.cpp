#include "registry/device_database.h"

#include <algorithm>
#include <functional>
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

// A file's text, overwritten with "0"s before it is released, whatever happens: over the whole
// of it, in place, since a line replaced by a new string of "0"s would leave the deciphered text
// behind in the memory it was freed from.
class WipedText {
  public:
    explicit WipedText(std::string text) : text_(std::move(text)) {}
    ~WipedText() { secureFill(text_, '0'); }
    WipedText(const WipedText&) = delete;
    WipedText& operator=(const WipedText&) = delete;
    std::string& text() { return text_; }

  private:
    std::string text_;
};

// One database file, each line deciphered in place and indexed for the hardware ids looked up.
class IndexedDatabase {
  public:
    // Splits the text into lines and deciphers each, handing it to the index at once, while it
    // is in the cache. CR LF, LF or CR end a line; a final line end adds no empty line. Raises
    // CryptError for a line that is not hex.
    IndexedDatabase(std::string text, const std::vector<std::string_view>& hardwareIds,
                    CryptLib& crypt)
        : text_(std::move(text)), index_(std::make_unique<DatabaseIndex>(hardwareIds)) {
        std::string& all = text_.text();
        const std::size_t size = all.size();
        // Room for lines of 32 hex characters or more: memory reserved but never written costs
        // nothing, and the vectors are not copied as they grow.
        const std::size_t expected = size / 32 + 1;
        lines_.reserve(expected);
        index_->expectLines(expected);
        std::size_t start = 0;
        // The next LF at or after `start`, kept while it lies ahead: a text of CR line ends is
        // searched for LFs once, not to its end for every line.
        std::size_t nextLf = std::min(all.find('\n'), size);
        while (start < size) {
            if (nextLf < start) nextLf = std::min(all.find('\n', start), size);
            std::size_t end = nextLf;
            // Only within this line: a text without CRs is not searched to its end each time.
            const std::size_t cr = std::string_view(all).substr(start, end - start).find('\r');
            if (cr != std::string_view::npos) end = start + cr;
            char* line = all.data() + start;
            lines_.emplace_back(line, crypt.decryptInPlace(line, end - start));
            index_->addLine(lines_.back());
            start = end + 1;
            if (end < size && all[end] == '\r' && start < size && all[start] == '\n') ++start;
        }
        index_->finish();
    }

    // An index for other hardware ids over the same lines.
    void reindex(const std::vector<std::string_view>& hardwareIds) {
        index_.reset();
        index_ = std::make_unique<DatabaseIndex>(lines_, hardwareIds);
    }

    const DatabaseIndex& index() const { return *index_; }
    std::string_view line(std::size_t line) const { return lines_[line]; }

  private:
    WipedText text_;  // first: released last, after the views and the index
    std::vector<std::string_view> lines_;
    std::unique_ptr<DatabaseIndex> index_;
};

// The text of the file when it exists. A file that exists but cannot be read is an error, not an
// empty database.
std::optional<std::string> readIfExists(platform::Files& files, const std::string& path) {
    if (!files.fileExists(path)) return std::nullopt;
    std::optional<std::string> content = files.readFile(path);
    if (!content) throw Error("Cannot open file " + path);
    return content;
}

// Records of the class and unknown ones, when they have a hardware id.
bool isLookedUp(const DeviceEntry& record, std::string_view className) {
    if (record.hardwareID.empty()) return false;
    return equalsIgnoringCase(record.className, className) ||
           equalsIgnoringCase(record.className, "UNKNOWN");
}

// A matching line: the file it is in and its number there.
struct Match {
    const IndexedDatabase* database;
    std::size_t line;
};

// The first matching line of the class file and then other.txt, their lines taken as one list.
std::optional<Match> firstMatch(const IndexedDatabase* classFile, const IndexedDatabase* other,
                                const DeviceEntry& record) {
    const std::string pciKey = pciKeyOf(record.hardwareID);
    for (const IndexedDatabase* database : {classFile, other}) {
        if (database == nullptr) continue;
        if (auto line = database->index().firstMatch(record.hardwareID, pciKey)) {
            return Match{database, *line};
        }
    }
    return std::nullopt;
}

void completeRecord(DeviceEntry& record, const IndexedDatabase* classFile, const Match& match) {
    DeviceParts device = parseDeviceLine(match.database->line(match.line));
    VendorParts vendor;
    // The files are one list of lines: above other.txt's first vendor line, the vendor is the
    // class file's last.
    if (auto above = match.database->index().vendorAbove(match.line)) {
        vendor = parseVendorLine(match.database->line(*above));
    } else if (classFile != nullptr && match.database != classFile) {
        if (auto last = classFile->index().lastVendor()) {
            vendor = parseVendorLine(classFile->line(*last));
        }
    }
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
    DeviceDatabaseLookups lookups(registry, system, files, {std::string(className)}, directory);
    lookups.lookUp(table, className);
}

// What the lookups share: the cipher with its per-length draws, and other.txt once it was read
// and deciphered whole, with the ids its index was made for.
struct DeviceDatabaseLookups::Shared {
    CryptLib crypt;
    std::unique_ptr<IndexedDatabase> other;
    // The ids other's index was made for, each with its hash, in the order of the pairs: most
    // comparisons are of the hashes, not of ids that begin alike.
    std::vector<std::pair<std::size_t, std::string>> indexedIds;

    Shared() { useDatabaseKeys(crypt); }

    bool indexed(const std::vector<std::string_view>& ids) const {
        return std::all_of(ids.begin(), ids.end(), [this](std::string_view id) {
            const std::size_t hash = std::hash<std::string_view>()(id);
            auto it = std::lower_bound(indexedIds.begin(), indexedIds.end(), hash,
                                       [](const std::pair<std::size_t, std::string>& a,
                                          std::size_t h) { return a.first < h; });
            for (; it != indexedIds.end() && it->first == hash; ++it) {
                if (it->second == id) return true;
            }
            return false;
        });
    }
    void noteIndexed(const std::vector<std::string_view>& ids) {
        indexedIds.clear();
        indexedIds.reserve(ids.size());
        for (std::string_view id : ids) {
            indexedIds.emplace_back(std::hash<std::string_view>()(id), std::string(id));
        }
        std::sort(indexedIds.begin(), indexedIds.end());
    }
};

DeviceDatabaseLookups::DeviceDatabaseLookups(platform::Registry& registry, platform::System& system,
                                             platform::Files& files,
                                             std::vector<std::string> classNames,
                                             std::string_view directory)
    : registry_(registry),
      system_(system),
      files_(files),
      classNames_(std::move(classNames)),
      folder_(directory.empty() || directory == " " ? kDefaultDatabaseDirectory : directory),
      shared_(std::make_unique<Shared>()) {}

DeviceDatabaseLookups::~DeviceDatabaseLookups() = default;

void DeviceDatabaseLookups::lookUp(DeviceTable& table, std::string_view className) {
    if (getWinVersion(system_) == WinVersion::WinNt4) return;
    // Both files are read before either is deciphered: a file that cannot be read is the error
    // reported, whatever the other holds.
    std::optional<std::string> classText =
        readIfExists(files_, folder_ + std::string(className) + ".txt");
    std::optional<std::string> otherText;
    if (!shared_->other) otherText = readIfExists(files_, folder_ + "other.txt");
    if (!shared_->other && (!otherText || otherText->empty()) && (!classText || classText->empty()))
        return;

    // A record's class changes only after it was looked up, so which records are looked up is
    // known before the first one is, and before the first line is deciphered.
    std::vector<std::size_t> lookedUp;
    std::vector<std::string_view> wantedIds;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!isLookedUp(table[i], className)) continue;
        lookedUp.push_back(i);
        wantedIds.push_back(table[i].hardwareID);
    }
    std::unique_ptr<IndexedDatabase> classFile;
    if (classText) {
        classFile =
            std::make_unique<IndexedDatabase>(std::move(*classText), wantedIds, shared_->crypt);
    }
    if (otherText) {
        // Indexed for every lookup to come: the records of all the classes, and unknown ones.
        std::vector<std::string_view> sharedIds;
        for (const DeviceEntry& record : table) {
            const bool later = std::any_of(
                classNames_.begin(), classNames_.end(),
                [&record](const std::string& name) { return isLookedUp(record, name); });
            if (later || isLookedUp(record, className)) sharedIds.push_back(record.hardwareID);
        }
        shared_->other =
            std::make_unique<IndexedDatabase>(std::move(*otherText), sharedIds, shared_->crypt);
        shared_->noteIndexed(sharedIds);
    } else if (shared_->other && !shared_->indexed(wantedIds)) {
        shared_->other->reindex(wantedIds);
        shared_->noteIndexed(wantedIds);
    }
    const IndexedDatabase* other = shared_->other.get();

    std::optional<std::string> classDescription;  // the registry does not change meanwhile
    for (std::size_t i : lookedUp) {
        DeviceEntry& record = table[i];
        const bool unknown = equalsIgnoringCase(record.className, "UNKNOWN");
        const std::optional<Match> match = firstMatch(classFile.get(), other, record);
        if (!match) continue;
        completeRecord(record, classFile.get(), *match);
        if (unknown && !record.displayName.empty()) {
            if (!classDescription) {
                classDescription = getClassDescription(registry_, system_, className);
            }
            record.className = std::string(className);
            record.classDesc = *classDescription;
        }
    }
}

}  // namespace tamux
