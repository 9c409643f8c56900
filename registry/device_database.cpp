#include "registry/device_database.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/parallel.h"
#include "platform/reg_key.h"
#include "registry/crypt_lib.h"
#include "registry/database_cipher.h"
#include "registry/database_digest.h"
#include "registry/database_index.h"
#include "registry/database_lines.h"
#include "registry/indexed_database.h"
#include "registry/secure_wipe.h"
#include "registry/win_version.h"

namespace tamux {

namespace {

constexpr std::string_view kNtClassRoot = "SYSTEM\\CurrentControlSet\\Control\\Class";
constexpr std::string_view k9xClassRoot = "System\\CurrentControlSet\\Services\\Class";

// The text of the file when it exists. A file that exists but cannot be read is an error, not an
// empty database.
std::optional<std::string> readIfExists(platform::Files& files, const std::string& path) {
    if (!files.fileExists(path)) return std::nullopt;
    std::optional<std::string> content = files.readFile(path);
    if (!content) throw Error("Cannot open file " + path);
    return content;
}

// Machines with this many device ids have other.txt deciphered beside their walk.
constexpr std::size_t kDigestFromDeviceIds = 256;

// The size of other.txt when it is read on two threads, as a digest beside the walk or as two
// halves: with a second thread, and when it is large enough to be worth it (the start-up's
// other.txt is megabytes of hex).
std::optional<std::uint64_t> sizeForTwoThreads(platform::Files& files, const std::string& path,
                                               platform::Parallel* parallel) {
    if (parallel == nullptr) return std::nullopt;
    const std::optional<std::uint64_t> size = files.fileSize(path);
    if (!size || *size < DatabaseDigest::kFrom || *size > DatabaseDigest::kUpTo)
        return std::nullopt;
    return size;
}

// A part of other.txt, read, deciphered and indexed piece by piece, so that the whole of its text
// is never held: `take` is handed the part's text, `whole` says whether the file could be read. A
// file that cannot be read to its end is "Cannot open file", as when it is read whole: a line that
// is not hex before the failure does not decide the error, so the rest is still read after it.
struct FilePart {
    std::unique_ptr<IndexedDatabase> database;
    bool whole = false;
    std::exception_ptr damaged;

    FilePart(std::shared_ptr<const DatabaseIndex::IdSet> ids, CryptLib& crypt)
        : database(std::make_unique<IndexedDatabase>(std::move(ids), crypt)) {}

    void take(std::string_view text) {
        if (damaged) return;
        try {
            database->read(text);
        } catch (const CryptError&) {
            damaged = std::current_exception();
        }
    }
    // After the last piece: the index of a part read whole and undamaged is made.
    void finish() {
        if (whole && !damaged) database->finish();
    }
};

// The parts of other.txt, in the file's order, once each was read and finished: "Cannot open
// file" when a part could not be read to its end, else the error of the first damaged part.
std::vector<std::unique_ptr<IndexedDatabase>> finishParts(std::vector<FilePart>& parts,
                                                          const std::string& path) {
    for (const FilePart& part : parts) {
        if (!part.whole) throw Error("Cannot open file " + path);
    }
    std::vector<std::unique_ptr<IndexedDatabase>> databases;
    for (FilePart& part : parts) {
        if (part.damaged) std::rethrow_exception(part.damaged);
        databases.push_back(std::move(part.database));
    }
    return databases;
}

// other.txt read as one part, or, where it is worth two threads, as two: the lines that begin
// before the first line end in its second half, and the rest. Each half reads its own part of the
// file and deciphers with a cipher of its own; the two indexes answer as one of the whole file
// would when asked in turn.
std::vector<std::unique_ptr<IndexedDatabase>> indexFile(
    platform::Files& files, const std::string& path,
    const std::shared_ptr<const DatabaseIndex::IdSet>& ids, CryptLib& crypt,
    platform::Parallel* parallel) {
    const std::optional<std::uint64_t> size = sizeForTwoThreads(files, path, parallel);
    std::vector<FilePart> parts;
    if (!size) {
        parts.emplace_back(ids, crypt);
        FilePart& whole = parts.front();
        whole.whole =
            files.readFilePieces(path, [&](std::string_view piece) { whole.take(piece); });
        whole.finish();
        return finishParts(parts, path);
    }
    // Both halves find the same boundary: just after the first LF from the middle on. A file
    // without one there is read as its first half alone.
    const std::uint64_t middle = *size / 2;
    CryptLib secondCrypt;
    useDatabaseKeys(secondCrypt);
    parts.emplace_back(ids, crypt);
    parts.emplace_back(ids, secondCrypt);
    FilePart& first = parts[0];
    FilePart& second = parts[1];
    parallel->runSideBySide(
        [&] {
            std::uint64_t at = 0;  // of the piece in the file
            first.whole = files.readFileFrom(path, 0, [&](std::string_view piece) {
                const std::size_t from = middle > at ? static_cast<std::size_t>(middle - at) : 0;
                const std::size_t end = from < piece.size() ? piece.find('\n', from) : piece.npos;
                at += piece.size();
                first.take(piece.substr(0, end == piece.npos ? piece.npos : end + 1));
                return end == piece.npos;
            });
            first.finish();
        },
        [&] {
            bool started = false;
            second.whole = files.readFileFrom(path, middle, [&](std::string_view piece) {
                if (!started) {
                    const std::size_t end = piece.find('\n');
                    if (end == piece.npos) return true;
                    piece.remove_prefix(end + 1);
                    started = true;
                }
                second.take(piece);
                return true;
            });
            second.finish();
        });
    return finishParts(parts, path);
}

// Records of the class and unknown ones, when they have a hardware id.
bool isLookedUp(const DeviceEntry& record, std::string_view className) {
    if (record.hardwareID.empty()) return false;
    return equalsIgnoringCase(record.className, className) ||
           equalsIgnoringCase(record.className, "UNKNOWN");
}

// A matching line: the file it is in, as its place in the list of files, and its number there.
struct Match {
    std::size_t database;
    std::size_t line;
};

// The files of a lookup in their order: the class's file, then the parts of other.txt; their
// lines are taken as one list.
using DatabaseList = std::vector<const IndexedDatabase*>;

// The first matching line of the list.
std::optional<Match> firstMatch(const DatabaseList& databases, const DeviceEntry& record) {
    for (std::size_t d = 0; d < databases.size(); ++d) {
        if (auto line = databases[d]->index().firstMatch(record.hardwareID)) {
            return Match{d, *line};
        }
    }
    return std::nullopt;
}

// Lookups for this many records share their work between two threads where they can: the
// records are searched for and completed in two halves, and their ids prepared side by side.
constexpr std::size_t kRecordsInHalvesFrom = 512;

// The first matching line of each record looked up, in their order. The indexes are only read
// here, so the two halves of the records can be searched for side by side.
std::vector<std::optional<Match>> firstMatches(const DatabaseList& databases,
                                               const DeviceTable& table,
                                               const std::vector<std::size_t>& lookedUp,
                                               platform::Parallel* parallel) {
    std::vector<std::optional<Match>> matches(lookedUp.size());
    auto search = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            matches[k] = firstMatch(databases, table[lookedUp[k]]);
        }
    };
    if (parallel != nullptr && lookedUp.size() >= kRecordsInHalvesFrom) {
        // In blocks from both ends: some records are found in the first file, others only after
        // all three were searched.
        const std::size_t block =
            std::max<std::size_t>(64, lookedUp.size() / platform::Pieces::kMost + 1);
        platform::Pieces blocks(static_cast<std::uint32_t>((lookedUp.size() + block - 1) / block));
        auto searchBlocks = [&](bool fromFront) {
            while (const auto taken = fromFront ? blocks.takeFront() : blocks.takeBack()) {
                search(*taken * block,
                       std::min<std::size_t>(lookedUp.size(), (*taken + 1) * block));
            }
        };
        parallel->runSideBySide([&] { searchBlocks(true); }, [&] { searchBlocks(false); });
    } else {
        search(0, lookedUp.size());
    }
    return matches;
}

void completeRecord(DeviceEntry& record, const DatabaseList& databases, const Match& match) {
    const DatabaseIndex& index = databases[match.database]->index();
    DeviceParts device = parseDeviceLine(index.text(match.line));
    VendorParts vendor;
    // Above a file's first vendor line, the vendor is the last one of the files before it.
    if (auto above = index.vendorAbove(match.line)) {
        vendor = parseVendorLine(index.text(*above));
    } else {
        for (std::size_t d = match.database; d-- > 0;) {
            const DatabaseIndex& before = databases[d]->index();
            if (auto last = before.lastVendor()) {
                vendor = parseVendorLine(before.text(*last));
                break;
            }
        }
    }
    record.displayName = vendor.name + " " + device.name;
    record.vendorName = std::move(vendor.name);
    record.DeviceName = std::move(device.name);
    record.vendorExtra = std::move(vendor.extra);
    record.deviceExtra = std::move(device.extra);
}

// Completes the looked-up records that matched. A named record of class "Unknown" takes the
// class looked up and its description, which `describe` reads from the registry once (it does not
// change meanwhile), before the first such record takes it. A record is named once it is matched:
// its display name holds a blank at least. Many records are completed in two halves side by side,
// with the description read first; where reading it fails, they are completed in order, so that
// the error comes where it comes then, after the records before the first unknown one.
void completeRecords(DeviceTable& table, const std::vector<std::size_t>& lookedUp,
                     const DatabaseList& databases,
                     const std::vector<std::optional<Match>>& matches, std::string_view className,
                     platform::Parallel* parallel, const std::function<std::string()>& describe) {
    std::optional<std::string> classDescription;
    auto isUnknown = [](const DeviceEntry& record) {
        return equalsIgnoringCase(record.className, "UNKNOWN");
    };
    auto complete = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            DeviceEntry& record = table[lookedUp[k]];
            const bool unknown = isUnknown(record);
            if (!matches[k]) continue;
            completeRecord(record, databases, *matches[k]);
            if (unknown && !record.displayName.empty()) {
                if (!classDescription) classDescription = describe();
                record.className = std::string(className);
                record.classDesc = *classDescription;
            }
        }
    };
    bool sideBySide = parallel != nullptr && lookedUp.size() >= kRecordsInHalvesFrom;
    for (std::size_t k = 0; sideBySide && k < lookedUp.size() && !classDescription; ++k) {
        if (!matches[k] || !isUnknown(table[lookedUp[k]])) continue;
        try {
            classDescription = describe();
        } catch (const Error&) {
            sideBySide = false;
        }
    }
    const std::size_t half = lookedUp.size() / 2;
    if (sideBySide) {
        parallel->runSideBySide([&] { complete(0, half); },
                                [&] { complete(half, lookedUp.size()); });
    } else {
        complete(0, lookedUp.size());
    }
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
    // other.txt's parts, in the file's order; empty until it is read.
    std::vector<std::unique_ptr<IndexedDatabase>> other;
    std::shared_ptr<const DatabaseIndex::IdSet> ids;
    // The records whose ids other's index was made for, by the hash of the id, and the table they
    // are in: a later lookup compares its ids with those records' own, instead of with copies of
    // megabytes of ids. Most comparisons are of the hashes, not of ids that begin alike.
    const DeviceTable* indexedTable = nullptr;
    std::vector<std::pair<std::size_t, std::size_t>> indexedRecords;  // (hash, record)
    // other.txt deciphered beside the device table's reading, until a lookup indexes it.
    std::unique_ptr<DatabaseDigest> digest;

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
    // The (hash, record) pairs of `records`, in the order `indexed` searches them.
    static std::vector<std::pair<std::size_t, std::size_t>> hashed(
        const DeviceTable& table, const std::vector<std::size_t>& records) {
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        pairs.reserve(records.size());
        for (std::size_t record : records) {
            pairs.emplace_back(std::hash<std::string_view>()(table[record].hardwareID), record);
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }
};

DeviceDatabaseLookups::DeviceDatabaseLookups(platform::Registry& registry, platform::System& system,
                                             platform::Files& files,
                                             std::vector<std::string> classNames,
                                             std::string_view directory,
                                             platform::Parallel* parallel)
    : registry_(registry),
      system_(system),
      files_(files),
      parallel_(parallel),
      classNames_(std::move(classNames)),
      folder_(directory.empty() || directory == " " ? kDefaultDatabaseDirectory : directory),
      shared_(std::make_unique<Shared>()) {}

DeviceDatabaseLookups::~DeviceDatabaseLookups() = default;

void DeviceDatabaseLookups::readBeside(DeviceTableReading& reading) {
    const std::string otherPath = folder_ + "other.txt";
    std::optional<std::uint64_t> size;
    if (getWinVersion(system_) != WinVersion::WinNt4 && files_.fileExists(otherPath)) {
        size = sizeForTwoThreads(files_, otherPath, parallel_);
    }
    if (!size) {
        if (parallel_ != nullptr) {
            parallel_->share(reading);
        } else {
            reading.workFromFront();
            reading.workFromBack();
        }
        return;
    }
    auto digest = std::make_unique<DatabaseDigest>(files_, otherPath, *size);
    bool kept = true;
    parallel_->runSideBySide(
        [&] {
            // A machine with few devices walks them long before other.txt is deciphered, and
            // its lookups keep few lines: reading the file as two halves then costs less than
            // deciphering those lines twice.
            if (reading.deviceIds() < kDigestFromDeviceIds) {
                digest->abandon();
                kept = false;
            }
            reading.workFromFront();
            digest->workFromBack();
        },
        [&] {
            // Only once the other thread knows whether other.txt is deciphered beside the walk.
            if (reading.deviceIdsOnceListed() >= kDigestFromDeviceIds) digest->workFromFront();
            reading.workFromBack();
        });
    if (kept) shared_->digest = std::move(digest);
}

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
    if (!shared_->other.empty() && !shared_->indexed(table, lookedUp)) shared_->other.clear();

    // The class's file is read before either file is deciphered, and other.txt is read to its
    // end before the class's file is: a file that cannot be read is the error reported, whatever
    // the other holds.
    std::optional<std::string> classText =
        readIfExists(files_, folder_ + std::string(className) + ".txt");
    const std::string otherPath = folder_ + "other.txt";
    const bool madeOther = shared_->other.empty();
    const bool readOther = madeOther && files_.fileExists(otherPath);
    if (madeOther && !readOther && (!classText || classText->empty())) return;

    std::shared_ptr<const DatabaseIndex::IdSet> ids = shared_->ids;
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
        // The ids' pieces for the index, and beside them what tells a later lookup whether its
        // ids were among these.
        std::vector<std::pair<std::size_t, std::size_t>> hashed;
        auto hashIds = [&] {
            if (readOther) hashed = Shared::hashed(table, sharedRecords);
        };
        const bool sideBySide = parallel_ != nullptr && sharedIds.size() >= kRecordsInHalvesFrom;
        ids = std::make_shared<DatabaseIndex::IdSet>(sharedIds, sideBySide ? parallel_ : nullptr,
                                                     hashIds);
        if (readOther) {
            // A digest made beside the device table's reading serves the first lookup that
            // reads other.txt, whether it succeeds or not.
            const std::unique_ptr<DatabaseDigest> digest = std::move(shared_->digest);
            shared_->other = digest ? digest->index(ids, shared_->crypt, parallel_)
                                    : indexFile(files_, otherPath, ids, shared_->crypt, parallel_);
            shared_->ids = ids;
            shared_->indexedTable = &table;
            shared_->indexedRecords = std::move(hashed);
        }
    }
    // The class file's index is made for other's ids, which hold the ones looked up.
    std::unique_ptr<IndexedDatabase> classFile;
    try {
        if (classText) classFile = indexText(*classText, ids, shared_->crypt);
    } catch (const CryptError&) {
        // A lookup that fails keeps nothing it made.
        if (madeOther) shared_->other.clear();
        throw;
    }
    DatabaseList databases;
    if (classFile) databases.push_back(classFile.get());
    for (const auto& part : shared_->other) databases.push_back(part.get());

    const std::vector<std::optional<Match>> matches =
        firstMatches(databases, table, lookedUp, parallel_);
    completeRecords(table, lookedUp, databases, matches, className, parallel_,
                    [&] { return getClassDescription(registry_, system_, className); });
}

}  // namespace tamux
