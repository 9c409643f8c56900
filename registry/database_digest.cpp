#include "registry/database_digest.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/errors.h"
#include "registry/database_cipher.h"
#include "registry/database_lines.h"
#include "registry/line_splitter.h"
#include "registry/secure_wipe.h"

namespace tamux {

namespace {

// A line of a chunk: where its key ends among the chunk's keys, whether it has a key at all (a
// "="), whether it is a vendor line, and, once the ids are known, whether it is read again.
constexpr std::uint32_t kKeyEnd = (std::uint32_t{1} << 29) - 1;
constexpr std::uint32_t kKeyed = std::uint32_t{1} << 29;
constexpr std::uint32_t kVendor = std::uint32_t{1} << 30;

// About this many bytes to a chunk: enough that a thread spends its time deciphering, few enough
// that the two threads end close together. Always an even count, so that the halves are chunks.
constexpr std::uint64_t kChunkBytes = std::uint64_t{1} << 18;
constexpr std::size_t kMostChunkPairs = 32;

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

}  // namespace

struct DatabaseDigest::Chunk {
    // Where its lines begin: after the first LF from here on (the first chunk's at 0). They end
    // after the first LF from the next chunk's `from` on, where that chunk's begin.
    std::uint64_t from = 0;
    std::uint64_t begin = 0, end = 0;  // its lines, once it was read
    bool whole = false;                // read to its end
    std::exception_ptr damaged;        // the first line that is not hex
    std::vector<std::uint32_t> lines;
    std::vector<char> keys;  // the keys of its lines, one after another
};

DatabaseDigest::DatabaseDigest(platform::Files& files, std::string path, std::uint64_t size)
    : files_(files), path_(std::move(path)), size_(size) {
    const std::size_t pairs = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(size / (2 * kChunkBytes), 1, kMostChunkPairs));
    chunks_.resize(2 * pairs);
    for (std::size_t k = 0; k < chunks_.size(); ++k) chunks_[k].from = size * k / chunks_.size();
    untaken_ = static_cast<std::uint32_t>(chunks_.size()) << 16;
}

DatabaseDigest::~DatabaseDigest() {
    wipeKeys();
}

void DatabaseDigest::wipeKeys() {
    for (Chunk& chunk : chunks_) secureRelease(chunk.keys);
}

void DatabaseDigest::digestFromFront(CryptLib& crypt) {
    for (std::uint32_t untaken = untaken_.load();;) {
        const std::uint32_t front = untaken & 0xFFFF, back = untaken >> 16;
        if (front >= back) return;
        if (untaken_.compare_exchange_weak(untaken, (back << 16) | (front + 1))) {
            digest(chunks_[front], front, crypt);
            untaken = untaken_.load();
        }
    }
}

void DatabaseDigest::digestFromBack(CryptLib& crypt) {
    for (std::uint32_t untaken = untaken_.load();;) {
        const std::uint32_t front = untaken & 0xFFFF, back = untaken >> 16;
        if (front >= back) return;
        if (untaken_.compare_exchange_weak(untaken, ((back - 1) << 16) | front)) {
            digest(chunks_[back - 1], back - 1, crypt);
            untaken = untaken_.load();
        }
    }
}

void DatabaseDigest::digest(Chunk& chunk, std::size_t number, CryptLib& crypt) {
    const std::uint64_t next = number + 1 < chunks_.size()
                                   ? chunks_[number + 1].from
                                   : std::numeric_limits<std::uint64_t>::max();
    // Keys are at most half a line's hex: made room for at once, they rarely move.
    chunk.keys.reserve(static_cast<std::size_t>(std::min(next, size_) - chunk.from) / 2 + 256);
    LineCipher cipher(crypt);
    LineSplitter splitter;
    auto line = [&](std::string_view hex) {
        if (chunk.damaged) return;  // nothing after it is looked at
        std::string_view text;
        try {
            text = cipher.decipher(hex);
        } catch (const CryptError&) {
            chunk.damaged = std::current_exception();
            return;
        }
        const void* equals = text.empty() ? nullptr : std::memchr(text.data(), '=', text.size());
        if (equals == nullptr) {
            chunk.lines.push_back(static_cast<std::uint32_t>(chunk.keys.size()));
            return;
        }
        const auto keySize =
            static_cast<std::size_t>(static_cast<const char*>(equals) - text.data());
        reserveWiped(chunk.keys, keySize);
        chunk.keys.insert(chunk.keys.end(), text.data(), text.data() + keySize);
        chunk.lines.push_back(static_cast<std::uint32_t>(chunk.keys.size()) | kKeyed |
                              (isVendorLine(text) ? kVendor : 0));
    };

    bool started = number == 0, stopped = false;
    std::uint64_t at = chunk.from;  // of the next piece in the file
    chunk.whole = files_.readFileFrom(path_, chunk.from, [&](std::string_view piece) {
        std::uint64_t pieceAt = at;
        at += piece.size();
        if (!started) {
            const std::size_t lf = piece.find('\n');
            if (lf == std::string_view::npos) return true;
            started = true;
            chunk.begin = pieceAt + lf + 1;
            if (chunk.begin > next) {
                // The line end is the next chunk's first one too: this chunk has no lines.
                chunk.end = chunk.begin;
                stopped = true;
                return false;
            }
            piece.remove_prefix(lf + 1);
            pieceAt += lf + 1;
        }
        const std::uint64_t endFrom = next > pieceAt ? next - pieceAt : 0;
        const std::size_t lf = endFrom < piece.size()
                                   ? piece.find('\n', static_cast<std::size_t>(endFrom))
                                   : std::string_view::npos;
        if (lf == std::string_view::npos) {
            splitter.read(piece, line);
            return true;
        }
        splitter.read(piece.substr(0, lf + 1), line);
        chunk.end = pieceAt + lf + 1;
        stopped = true;
        return false;
    });
    if (!started) chunk.begin = at;  // no line end from `from` on: the chunk before has it all
    if (!stopped) chunk.end = at;
    splitter.finish(line);
}

std::vector<std::unique_ptr<IndexedDatabase>> DatabaseDigest::index(
    const std::shared_ptr<const DatabaseIndex::IdSet>& ids, CryptLib& crypt,
    platform::Parallel* parallel) {
    for (const Chunk& chunk : chunks_) {
        if (!chunk.whole) throw Error("Cannot open file " + path_);
    }
    for (const Chunk& chunk : chunks_) {
        if (chunk.damaged) std::rethrow_exception(chunk.damaged);
    }
    const std::size_t half = chunks_.size() / 2;
    std::vector<std::unique_ptr<IndexedDatabase>> halves(2);
    CryptLib secondCrypt;
    useDatabaseKeys(secondCrypt);
    auto first = [&] { halves[0] = indexHalf(0, half, ids, crypt); };
    auto second = [&] { halves[1] = indexHalf(half, chunks_.size(), ids, secondCrypt); };
    if (parallel != nullptr) {
        parallel->runSideBySide(first, second);
    } else {
        first();
        second();
    }
    return halves;
}

std::unique_ptr<IndexedDatabase> DatabaseDigest::indexHalf(
    std::size_t first, std::size_t last, const std::shared_ptr<const DatabaseIndex::IdSet>& ids,
    CryptLib& crypt) {
    // The lines an index for these ids may keep, and the vendor line above each (the last one of
    // every chunk too, for the lines of the chunks after it and for what follows the half).
    std::vector<bool> wanted;
    for (std::size_t c = first; c < last; ++c) {
        Chunk& chunk = chunks_[c];
        std::size_t keyStart = 0, vendor = kNone;
        for (const std::uint32_t entry : chunk.lines) {
            const std::size_t n = wanted.size();
            const std::size_t keyEnd = entry & kKeyEnd;
            wanted.push_back(false);
            if ((entry & kKeyed) != 0) {
                if ((entry & kVendor) != 0) vendor = n;
                if (ids->mayAnswer(chunk.keys.data() + keyStart, keyEnd - keyStart)) {
                    wanted[n] = true;
                    if (vendor != kNone) wanted[vendor] = true;
                    vendor = kNone;
                }
            }
            keyStart = keyEnd;
        }
        if (vendor != kNone) wanted[vendor] = true;
        secureRelease(chunk.keys);
        std::vector<std::uint32_t>().swap(chunk.lines);
    }

    auto database = std::make_unique<IndexedDatabase>(ids, crypt);
    auto want = [&wanted](std::size_t n) { return n < wanted.size() && wanted[n]; };
    const std::uint64_t begin = chunks_[first].begin, end = chunks_[last - 1].end;
    std::uint64_t at = begin;
    const bool whole =
        begin >= end || files_.readFileFrom(path_, begin, [&](std::string_view piece) {
            const std::uint64_t left = end - at;
            if (piece.size() >= left) {
                database->readWanted(piece.substr(0, static_cast<std::size_t>(left)), want);
                at = end;
                return false;
            }
            at += piece.size();
            database->readWanted(piece, want);
            return true;
        });
    database->finish(want);
    // The file changed since it was digested when it ends sooner or has other lines now.
    if (!whole || at < end || database->index().lineCount() != wanted.size()) {
        throw Error("Cannot open file " + path_);
    }
    return database;
}

}  // namespace tamux
