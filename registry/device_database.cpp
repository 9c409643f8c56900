#include "registry/device_database.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
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

// One database file, handed over whole or piece by piece as it is read. Each line is copied into
// a buffer of its own, deciphered there and handed to the index at once, while it is in the
// cache; the index keeps what it may answer with. Only that buffer ever holds deciphered text
// here, and it is overwritten before it is released: the file's text itself stays hex.
class IndexedDatabase {
  public:
    IndexedDatabase(std::shared_ptr<const DatabaseIndex::IdSet> ids, CryptLib& crypt)
        : index_(std::move(ids)), crypt_(crypt) {}
    ~IndexedDatabase() { secureRelease(line_); }
    IndexedDatabase(const IndexedDatabase&) = delete;
    IndexedDatabase& operator=(const IndexedDatabase&) = delete;

    // The next piece of the file's text. CR LF, LF or CR end a line, also where a piece ends
    // between the CR and the LF. Raises CryptError for a line that is not hex.
    void read(std::string_view piece) {
        const char* at = piece.data();
        const char* const end = at + piece.size();
        if (afterCr_ && at < end && *at == '\n') ++at;
        afterCr_ = false;
        // The next CR and the next LF, each kept while it lies ahead: every line end is searched
        // for once, and a text without CRs is not searched to its end for every line.
        const char* cr = next(at, end, '\r');
        const char* lf = next(at, end, '\n');
        while (at < end) {
            if (cr < at) cr = next(at, end, '\r');
            if (lf < at) lf = next(at, end, '\n');
            const char* const stop = std::min(cr, lf);
            append(at, stop);
            if (stop == end) return;  // the line goes on in the next piece
            endLine();
            at = stop + 1;
            if (*stop == '\r') {
                if (at == end)
                    afterCr_ = true;
                else if (*at == '\n')
                    ++at;
            }
        }
    }

    // After the last piece: a last line without a line end is a line too (a final line end adds
    // no empty line).
    void finish() {
        if (size_ > 0) endLine();
        secureRelease(line_);
        index_.finish();
    }

    const DatabaseIndex& index() const { return index_; }

  private:
    // The first `c` from `at` on, or `end`.
    static const char* next(const char* at, const char* end, char c) {
        const void* found = std::memchr(at, c, static_cast<std::size_t>(end - at));
        return found == nullptr ? end : static_cast<const char*>(found);
    }

    void append(const char* from, const char* to) {
        const auto count = static_cast<std::size_t>(to - from);
        if (count == 0) return;  // an empty line: nothing to copy, and maybe no buffer yet
        if (line_.size() < size_ + count) {
            // A vector's own growth would free a copy of earlier lines' text unwiped.
            std::vector<char> larger(std::max(2 * line_.size(), size_ + count + 256));
            std::copy(line_.begin(), line_.begin() + static_cast<std::ptrdiff_t>(size_),
                      larger.begin());
            secureRelease(line_);
            line_.swap(larger);
        }
        std::memcpy(line_.data() + size_, from, count);
        size_ += count;
    }

    void endLine() {
        const std::size_t text = crypt_.decryptInPlace(line_.data(), size_);
        size_ = 0;
        index_.addLine(std::string_view(line_.data(), text));
    }

    DatabaseIndex index_;
    CryptLib& crypt_;
    std::vector<char> line_;  // the line so far: its hex, then its text
    std::size_t size_ = 0;    // of the line so far
    bool afterCr_ = false;    // the last piece ended with a CR
};

// A database read whole (a class's file, of a few kilobytes).
std::unique_ptr<IndexedDatabase> indexText(std::string_view text,
                                           std::shared_ptr<const DatabaseIndex::IdSet> ids,
                                           CryptLib& crypt) {
    auto database = std::make_unique<IndexedDatabase>(std::move(ids), crypt);
    database->read(text);
    database->finish();
    return database;
}

// The text of the file when it exists. A file that exists but cannot be read is an error, not an
// empty database.
std::optional<std::string> readIfExists(platform::Files& files, const std::string& path) {
    if (!files.fileExists(path)) return std::nullopt;
    std::optional<std::string> content = files.readFile(path);
    if (!content) throw Error("Cannot open file " + path);
    return content;
}

// A database of megabytes (other.txt) that exists, read, deciphered and indexed piece by piece,
// so that the whole of its text is never held. A file that cannot be read to its end is "Cannot
// open file", as when it is read whole: a line that is not hex before the failure does not decide
// the error, so the rest is still read after such a line.
std::unique_ptr<IndexedDatabase> indexFile(platform::Files& files, const std::string& path,
                                           std::shared_ptr<const DatabaseIndex::IdSet> ids,
                                           CryptLib& crypt) {
    auto database = std::make_unique<IndexedDatabase>(std::move(ids), crypt);
    std::exception_ptr damaged;
    const bool whole = files.readFilePieces(path, [&](std::string_view piece) {
        if (damaged) return;
        try {
            database->read(piece);
        } catch (const CryptError&) {
            damaged = std::current_exception();
        }
    });
    if (!whole) throw Error("Cannot open file " + path);
    if (damaged) std::rethrow_exception(damaged);
    database->finish();
    return database;
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
    for (const IndexedDatabase* database : {classFile, other}) {
        if (database == nullptr) continue;
        if (auto line = database->index().firstMatch(record.hardwareID)) {
            return Match{database, *line};
        }
    }
    return std::nullopt;
}

void completeRecord(DeviceEntry& record, const IndexedDatabase* classFile, const Match& match) {
    const DatabaseIndex& index = match.database->index();
    DeviceParts device = parseDeviceLine(index.text(match.line));
    VendorParts vendor;
    // The files are one list of lines: above other.txt's first vendor line, the vendor is the
    // class file's last.
    if (auto above = index.vendorAbove(match.line)) {
        vendor = parseVendorLine(index.text(*above));
    } else if (classFile != nullptr && match.database != classFile) {
        if (auto last = classFile->index().lastVendor()) {
            vendor = parseVendorLine(classFile->index().text(*last));
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

// What the lookups share: the cipher with its per-length draws, and other.txt once it was read,
// deciphered and indexed, with the ids its index was made for.
struct DeviceDatabaseLookups::Shared {
    CryptLib crypt;
    std::unique_ptr<IndexedDatabase> other;
    std::shared_ptr<const DatabaseIndex::IdSet> ids;
    // The records whose ids other's index was made for, by the hash of the id, and the table they
    // are in: a later lookup compares its ids with those records' own, instead of with copies of
    // megabytes of ids. Most comparisons are of the hashes, not of ids that begin alike.
    const DeviceTable* indexedTable = nullptr;
    std::vector<std::pair<std::size_t, std::size_t>> indexedRecords;  // (hash, record)

    Shared() { useDatabaseKeys(crypt); }

    bool indexed(const DeviceTable& table, const std::vector<std::size_t>& records) const {
        if (&table != indexedTable) return false;
        return std::all_of(records.begin(), records.end(), [&](std::size_t record) {
            const std::string& id = table[record].hardwareID;
            const std::size_t hash = std::hash<std::string_view>()(id);
            auto it = std::lower_bound(indexedRecords.begin(), indexedRecords.end(),
                                       std::make_pair(hash, std::size_t{0}));
            for (; it != indexedRecords.end() && it->first == hash; ++it) {
                if (it->second < table.size() && table[it->second].hardwareID == id) return true;
            }
            return false;
        });
    }
    void noteIndexed(const DeviceTable& table, const std::vector<std::size_t>& records) {
        indexedTable = &table;
        indexedRecords.clear();
        indexedRecords.reserve(records.size());
        for (std::size_t record : records) {
            indexedRecords.emplace_back(std::hash<std::string_view>()(table[record].hardwareID),
                                        record);
        }
        std::sort(indexedRecords.begin(), indexedRecords.end());
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
    // A record's class changes only after it was looked up, so which records are looked up is
    // known before the first one is, and before the first line is deciphered.
    std::vector<std::size_t> lookedUp;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (isLookedUp(table[i], className)) lookedUp.push_back(i);
    }
    // other.txt keeps only what may answer the ids it was indexed for: for others it is read
    // again, as a lookup of its own would.
    if (shared_->other && !shared_->indexed(table, lookedUp)) shared_->other.reset();

    // The class's file is read before either file is deciphered, and other.txt is read to its
    // end before the class's file is: a file that cannot be read is the error reported, whatever
    // the other holds.
    std::optional<std::string> classText =
        readIfExists(files_, folder_ + std::string(className) + ".txt");
    const std::string otherPath = folder_ + "other.txt";
    const bool readOther = !shared_->other && files_.fileExists(otherPath);
    if (!shared_->other && !readOther && (!classText || classText->empty())) return;

    std::shared_ptr<const DatabaseIndex::IdSet> ids = shared_->ids;
    const bool madeOther = !shared_->other;
    if (madeOther) {
        // Indexed for every lookup to come: the records of all the classes, and unknown ones.
        std::vector<std::size_t> sharedRecords;
        std::vector<std::string_view> sharedIds;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const DeviceEntry& record = table[i];
            const bool later = std::any_of(
                classNames_.begin(), classNames_.end(),
                [&record](const std::string& name) { return isLookedUp(record, name); });
            if (!later && !isLookedUp(record, className)) continue;
            sharedRecords.push_back(i);
            sharedIds.push_back(record.hardwareID);
        }
        ids = std::make_shared<DatabaseIndex::IdSet>(sharedIds);
        if (readOther) {
            shared_->other = indexFile(files_, otherPath, ids, shared_->crypt);
            shared_->ids = ids;
            shared_->noteIndexed(table, sharedRecords);
        }
    }
    // The class file's index is made for other's ids, which hold the ones looked up.
    std::unique_ptr<IndexedDatabase> classFile;
    try {
        if (classText) classFile = indexText(*classText, ids, shared_->crypt);
    } catch (const CryptError&) {
        // A lookup that fails keeps nothing it made.
        if (madeOther) shared_->other.reset();
        throw;
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
