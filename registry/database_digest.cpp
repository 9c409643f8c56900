#include "registry/database_digest.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
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
constexpr std::uint32_t kWanted = std::uint32_t{1} << 31;

// What reading a line again costs against deciphering and indexing one an index may keep,
// roughly: the halves of the second reading are cut so that they take about as long.
constexpr std::size_t kWantedLineCost = 8;

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
    std::vector<std::uint32_t> starts;  // where each line begins, from `begin` on
    std::vector<char> keys;             // the keys of its lines, one after another
    std::size_t wanted = 0;             // lines read again, once the ids are known
};

DatabaseDigest::DatabaseDigest(platform::Files& files, std::string path, std::uint64_t size)
    : files_(files), path_(std::move(path)), size_(size) {
    const std::size_t pairs = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(size / (2 * kChunkBytes), 1, kMostChunkPairs));
    chunks_.resize(2 * pairs);
    for (std::size_t k = 0; k < chunks_.size(); ++k) chunks_[k].from = size * k / chunks_.size();
    untaken_.reset(static_cast<std::uint32_t>(chunks_.size()));
    useDatabaseKeys(frontCrypt_);
    useDatabaseKeys(backCrypt_);
}

DatabaseDigest::~DatabaseDigest() {
    wipeKeys();
}

void DatabaseDigest::wipeKeys() {
    for (Chunk& chunk : chunks_) secureRelease(chunk.keys);
}

template <typename Work>
void DatabaseDigest::takeChunks(bool fromFront, Work&& work) {
    while (const std::optional<std::uint32_t> taken =
               fromFront ? untaken_.takeFront() : untaken_.takeBack()) {
        work(chunks_[*taken], *taken);
    }
}

void DatabaseDigest::workFromFront() {
    takeChunks(true, [&](Chunk& chunk, std::size_t number) { digest(chunk, number, frontCrypt_); });
}

void DatabaseDigest::workFromBack() {
    takeChunks(false, [&](Chunk& chunk, std::size_t number) { digest(chunk, number, backCrypt_); });
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
        chunk.starts.push_back(static_cast<std::uint32_t>(splitter.lineStart()));
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
    auto sideBySide = [parallel](const std::function<void()>& first,
                                 const std::function<void()>& second) {
        if (parallel != nullptr) {
            parallel->runSideBySide(first, second);
        } else {
            first();
            second();
        }
    };
    // The lines to read again, chunk by chunk from both ends.
    untaken_.reset(static_cast<std::uint32_t>(chunks_.size()));
    sideBySide([&] { takeChunks(true, [&](Chunk& chunk, std::size_t) { sift(chunk, *ids); }); },
               [&] { takeChunks(false, [&](Chunk& chunk, std::size_t) { sift(chunk, *ids); }); });

    // Two halves of about the same work.
    std::vector<std::size_t> costs(chunks_.size() + 1, 0);  // of the chunks before each
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        costs[c + 1] = costs[c] + chunks_[c].lines.size() + kWantedLineCost * chunks_[c].wanted;
    }
    std::size_t split = 0;
    while (split < chunks_.size() && 2 * costs[split + 1] <= costs.back()) ++split;
    if (split < chunks_.size() && costs.back() - costs[split] > costs[split + 1]) ++split;

    std::vector<std::unique_ptr<IndexedDatabase>> halves(2);
    sideBySide([&] { halves[0] = indexChunks(0, split, ids, crypt); },
               [&] { halves[1] = indexChunks(split, chunks_.size(), ids, backCrypt_); });
    return halves;
}

void DatabaseDigest::sift(Chunk& chunk, const DatabaseIndex::IdSet& ids) {
    // The lines an index for these ids may keep, and the vendor line above each; the chunk's last
    // vendor line too, for the lines of the chunks after it and for whatever follows the half.
    std::size_t keyStart = 0, vendor = kNone;
    for (std::size_t n = 0; n < chunk.lines.size(); ++n) {
        const std::uint32_t entry = chunk.lines[n];
        const std::size_t keyEnd = entry & kKeyEnd;
        if ((entry & kKeyed) != 0) {
            if ((entry & kVendor) != 0) vendor = n;
            if (ids.mayAnswer(chunk.keys.data() + keyStart, keyEnd - keyStart)) {
                chunk.lines[n] |= kWanted;
                if (vendor != kNone) chunk.lines[vendor] |= kWanted;
                vendor = kNone;
            }
        }
        keyStart = keyEnd;
    }
    if (vendor != kNone) chunk.lines[vendor] |= kWanted;
    secureRelease(chunk.keys);
    chunk.wanted = static_cast<std::size_t>(
        std::count_if(chunk.lines.begin(), chunk.lines.end(),
                      [](std::uint32_t entry) { return (entry & kWanted) != 0; }));
}

std::unique_ptr<IndexedDatabase> DatabaseDigest::indexChunks(
    std::size_t first, std::size_t last, const std::shared_ptr<const DatabaseIndex::IdSet>& ids,
    CryptLib& crypt) {
    auto database = std::make_unique<IndexedDatabase>(ids, crypt);
    // Room for the marked lines' text (half their hex, line ends aside) at once.
    std::size_t lines = 0, wanted = 0, hexBytes = 0;
    for (std::size_t c = first; c < last; ++c) {
        const Chunk& part = chunks_[c];
        lines += part.lines.size();
        wanted += part.wanted;
        for (std::size_t n = 0; n < part.lines.size(); ++n) {
            if ((part.lines[n] & kWanted) == 0) continue;
            const std::uint64_t end =
                n + 1 < part.starts.size() ? part.starts[n + 1] : part.end - part.begin;
            hexBytes += static_cast<std::size_t>(end - part.starts[n]);
        }
    }
    database->reserve(wanted, hexBytes / 2);
    // The lines are where the digest found them: only the marked ones are taken from the pieces
    // (put together when a piece ends inside one), the others are counted.
    std::size_t chunk = first, n = 0;  // the next line
    std::string carry;                 // of a marked line that goes on in the next piece
    auto take = [&](std::string_view piece, std::uint64_t pieceAt) {
        const std::uint64_t pieceEnd = pieceAt + piece.size();
        for (; chunk < last; ++chunk, n = 0) {
            const Chunk& part = chunks_[chunk];
            for (; n < part.lines.size(); ++n) {
                if ((part.lines[n] & kWanted) == 0) {
                    database->skipLine();
                    continue;
                }
                const std::uint64_t lineAt = part.begin + part.starts[n];
                if (lineAt >= pieceEnd) return true;  // it begins in a later piece
                const std::uint64_t lineEnd =
                    n + 1 < part.starts.size() ? part.begin + part.starts[n + 1] : part.end;
                const std::uint64_t from = std::max(lineAt, pieceAt);
                const std::uint64_t to = std::min(lineEnd, pieceEnd);
                std::string_view line = piece.substr(static_cast<std::size_t>(from - pieceAt),
                                                     static_cast<std::size_t>(to - from));
                if (lineEnd > pieceEnd || !carry.empty()) {
                    carry.append(line);
                    if (lineEnd > pieceEnd) return true;
                    line = carry;
                }
                if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                database->addLine(line);
                carry.clear();
            }
        }
        return false;
    };
    const std::uint64_t begin = first < last ? chunks_[first].begin : 0;
    const std::uint64_t end = first < last ? chunks_[last - 1].end : 0;
    std::uint64_t at = begin;
    const bool whole =
        begin >= end || files_.readFileFrom(path_, begin, [&](std::string_view piece) {
            const std::uint64_t pieceAt = at;
            at += piece.size();
            if (pieceAt >= end) return false;
            return take(piece.substr(0, static_cast<std::size_t>(
                                            std::min<std::uint64_t>(piece.size(), end - pieceAt))),
                        pieceAt);
        });
    database->finish();
    // A file that ends sooner than it did when it was digested leaves lines not taken.
    if (!whole || database->index().lineCount() != lines) {
        throw Error("Cannot open file " + path_);
    }
    for (std::size_t c = first; c < last; ++c) {
        std::vector<std::uint32_t>().swap(chunks_[c].lines);
        std::vector<std::uint32_t>().swap(chunks_[c].starts);
    }
    return database;
}

}  // namespace tamux
