#include "registry/database_index.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/ascii_case.h"
#include "registry/secure_wipe.h"

namespace tamux {

namespace {

unsigned char upperAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(toAsciiUpper(text[i]));
}

std::uint64_t pack(std::string_view key, std::size_t from) {
    std::uint64_t packed = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        packed = (packed << 8) | (i < key.size() ? upperAt(key, i) : 0u);
    }
    return packed;
}

}  // namespace

// A key to sort: its first 16 upper-cased characters packed into two numbers that compare like
// the text, so that most comparisons never touch the text itself.
struct DatabaseIndex::SortKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    std::string_view key;
    std::uint32_t line = 0;
};

namespace {

using SortKey = DatabaseIndex::SortKey;

// Orders keys as their upper-cased text (a shorter key before the longer ones it begins), then
// by line.
bool keyBefore(const SortKey& a, const SortKey& b) {
    if (a.head != b.head) return a.head < b.head;
    if (a.next != b.next) return a.next < b.next;
    const std::size_t common = std::min(a.key.size(), b.key.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = upperAt(a.key, i), y = upperAt(b.key, i);
        if (x != y) return x < y;
    }
    if (a.key.size() != b.key.size()) return a.key.size() < b.key.size();
    return a.line < b.line;
}

}  // namespace

namespace {

constexpr std::size_t kPiece = 8;
constexpr std::size_t kPairCount = 65536;
constexpr std::size_t kPackedLength = 16;
constexpr std::size_t kNormalizedSource = 24;
constexpr std::size_t kNormalizedHalf = 8;
// Lines before the keys are filtered by the ids' pieces: making the pieces costs about as much
// as this many lines' keys in the trie.
constexpr std::uint32_t kFilterAfterLines = 4096;

}  // namespace

DatabaseIndex::PackedKey DatabaseIndex::packUpper(std::string_view text) {
    unsigned char letters[kPackedLength] = {};
    for (std::size_t i = 0; i < text.size(); ++i) letters[i] = upperAt(text, i);
    return packLetters(letters, text.size());
}

DatabaseIndex::PackedKey DatabaseIndex::packLetters(unsigned char (&letters)[16],
                                                    std::size_t size) {
    PackedKey key;
    std::memcpy(&key.head, letters, 8);
    std::memcpy(&key.tail, letters + 8, 8);
    key.size = static_cast<std::uint32_t>(size);
    secureFill(letters, sizeof letters, 0);
    return key;
}

std::optional<DatabaseIndex::PackedKey> DatabaseIndex::packNormalized(std::string_view key) {
    // As normalizedKey: blanks removed, the first 8 letters, then the last 8 (which overlap the
    // first when fewer than 16 are left), upper-cased.
    unsigned char solid[kNormalizedSource];
    std::size_t count = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] != ' ') solid[count++] = upperAt(key, i);
    }
    if (count == 0) return std::nullopt;
    const std::size_t head = std::min(count, kNormalizedHalf);
    const std::size_t tailStart = count > kNormalizedHalf ? count - kNormalizedHalf : 0;
    unsigned char letters[kPackedLength] = {};
    std::memcpy(letters, solid, head);
    std::memcpy(letters + head, solid + tailStart, count - tailStart);
    secureFill(solid, count, 0);
    return packLetters(letters, head + count - tailStart);
}

DatabaseIndex::Pieces::Pieces(const std::vector<std::string_view>& hardwareIds) {
    // About four bits per piece, so that few bits answer for pieces that are not there; a
    // machine with a few devices gets a small set, not one sized for thousands.
    std::size_t pieces = 0;
    for (std::string_view id : hardwareIds)
        pieces += id.size() >= kPiece ? id.size() - (kPiece - 1) : 0;
    int bits = 12;
    while (bits < 21 && (std::size_t{1} << bits) < 4 * pieces) ++bits;
    shift_ = 64 - bits;
    bits_.assign((std::size_t{1} << bits) / 64, 0);
    for (std::string_view id : hardwareIds) {
        std::uint64_t piece = 0;
        for (std::size_t i = 0; i < id.size(); ++i) {
            piece = (piece << 8) | static_cast<unsigned char>(id[i]);
            if (i < kPiece - 1) continue;
            const std::size_t at = slot(piece);
            bits_[at / 64] |= std::uint64_t{1} << (at % 64);
        }
    }
}

std::size_t DatabaseIndex::Pieces::slot(std::uint64_t piece) const {
    return static_cast<std::size_t>((piece * 0x9E3779B97F4A7C15u) >> shift_);
}

bool DatabaseIndex::Pieces::mayOccur(std::string_view key) const {
    std::uint64_t piece = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        piece = (piece << 8) | upperAt(key, i);
        if (i < kPiece - 1) continue;
        const std::size_t at = slot(piece);
        if ((bits_[at / 64] & (std::uint64_t{1} << (at % 64))) == 0) return false;
    }
    return true;
}

DatabaseIndex::DatabaseIndex(const std::vector<std::string_view>& lines,
                             const std::vector<std::string_view>& hardwareIds)
    : DatabaseIndex(hardwareIds) {
    vendorAbove_.reserve(lines.size());
    for (std::string_view line : lines) addLine(line);
    finish();
}

DatabaseIndex::DatabaseIndex(const std::vector<std::string_view>& hardwareIds)
    : ids_(hardwareIds) {}

void DatabaseIndex::expectLines(std::size_t count) {
    vendorAbove_.reserve(count);
}

void DatabaseIndex::filterKeys() {
    pieces_.emplace(ids_);
    const auto kept = std::remove_if(pending_.begin(), pending_.end(), [this](const SortKey& key) {
        return !pieces_->mayOccur(key.key);
    });
    // The moved-from places still hold packed key letters.
    const auto removed = static_cast<std::size_t>(pending_.end() - kept);
    secureFill(pending_.data() + (pending_.size() - removed), removed * sizeof(SortKey), 0);
    pending_.erase(kept, pending_.end());
}

void DatabaseIndex::addLine(std::string_view line) {
    // Each line is read once for its key, whether it is a vendor line, whether its key may occur
    // in an id and its normalized key.
    const auto lineNumber = static_cast<std::uint32_t>(vendorAbove_.size());
    vendorAbove_.push_back(vendor_);
    if (!pieces_ && lineNumber >= kFilterAfterLines) filterKeys();
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return;
    // ".=" ends at this "=" or at a later one.
    if ((equals > 0 && line[equals - 1] == '.') || line.find(".=", equals) != line.npos) {
        // The first line of the files counts too: it is where a database begins with its first
        // vendor, and passing it over would leave that vendor's devices without a vendor name.
        vendor_ = lineNumber;
    }
    const std::string_view key = line.substr(0, equals);
    if (key.empty()) return;
    if (!pieces_ || pieces_->mayOccur(key)) addTrieKey(key, lineNumber);
    if (key.size() == kNormalizedSource) {
        // Only a database with 24-character keys needs the ids' PCI keys.
        if (!pciKeysWanted_) {
            wantPciKeys(ids_);
            pciKeysWanted_ = true;
        }
        if (!pciKeys_.empty()) notePciKey(key, lineNumber);
    }
}

void DatabaseIndex::addTrieKey(std::string_view key, std::uint32_t line) {
    if (pending_.size() == pending_.capacity()) {
        std::vector<SortKey> larger;
        larger.reserve(std::max<std::size_t>(1024, 2 * pending_.capacity()));
        larger.assign(pending_.begin(), pending_.end());
        secureRelease(pending_);
        pending_.swap(larger);
    }
    pending_.push_back({pack(key, 0), pack(key, 8), key, line});
}

void DatabaseIndex::finish() {
    buildTrie(pending_);
    pieces_.reset();
    ids_.clear();
}

DatabaseIndex::~DatabaseIndex() {
    secureRelease(pending_);
    secureRelease(nodes_);
    secureRelease(pciKeys_);
    secureRelease(firstPairs_);
    secureRelease(vendorAbove_);
}

void DatabaseIndex::buildTrie(std::vector<SortKey>& keys) {
    // Views into the lines: the sort copies no key text, and the packed heads are wiped after.
    std::sort(keys.begin(), keys.end(), keyBefore);

    // The first two letters of every key: a place in an id where no key begins is passed over
    // without a step into the trie, and most places are such.
    firstPairs_.assign(kPairCount / 64, 0);
    for (const SortKey& key : keys) {
        if (key.key.size() < 2) {
            shortKeys_ = true;
            continue;
        }
        const std::size_t pair = upperAt(key.key, 0) | (upperAt(key.key, 1) << 8);
        firstPairs_[pair / 64] |= std::uint64_t{1} << (pair % 64);
    }

    // The upper-cased keys in sorted order, side by side: the build below reads them letter by
    // letter, and reading them scattered over the lines would cost a cache miss each time.
    std::string arena;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;  // offset, length
    std::size_t total = 0;
    for (const SortKey& key : keys) total += key.key.size();
    arena.reserve(total);
    spans.reserve(keys.size());
    for (const SortKey& key : keys) {
        spans.emplace_back(static_cast<std::uint32_t>(arena.size()),
                           static_cast<std::uint32_t>(key.key.size()));
        for (char c : key.key) arena.push_back(toAsciiUpper(c));
    }

    // One node per distinct prefix, reserved up front: a growing vector would free copies of
    // the key letters along the way.
    std::size_t nodeCount = 1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        std::size_t shared = 0;
        if (k > 0) {
            const std::string_view a = keys[k - 1].key, b = keys[k].key;
            while (shared < a.size() && shared < b.size() &&
                   upperAt(a, shared) == upperAt(b, shared)) {
                ++shared;
            }
        }
        nodeCount += keys[k].key.size() - shared;
    }
    nodes_.reserve(nodeCount);

    // Each task is a node and the run of sorted keys that pass through it: they share the
    // node's `depth` leading characters. Iterative, so that a long key cannot exhaust the stack.
    struct Task {
        std::uint32_t node;
        std::size_t begin, end, depth;
    };
    nodes_.assign(1, Node{});
    std::vector<Task> tasks{{0, 0, keys.size(), 0}};
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        std::size_t i = task.begin;
        // Keys that end here sort first, the earliest line first.
        if (i < task.end && spans[i].second == task.depth) {
            nodes_[task.node].firstLine = keys[i].line;
            while (i < task.end && spans[i].second == task.depth) ++i;
        }
        if (i == task.end) continue;
        auto letterOf = [&](std::size_t k) {
            return static_cast<unsigned char>(arena[spans[k].first + task.depth]);
        };
        std::uint32_t children = 0;
        for (std::size_t k = i; k < task.end; ++k) {
            if (k == i || letterOf(k) != letterOf(k - 1)) ++children;
        }
        const auto first = static_cast<std::uint32_t>(nodes_.size());
        nodes_[task.node].firstChild = first;
        nodes_[task.node].childCount = children;
        for (std::size_t k = i; k < task.end;) {
            const unsigned char letter = letterOf(k);
            std::size_t j = k + 1;
            while (j < task.end && letterOf(j) == letter) ++j;
            Node node;
            node.letter = letter;
            tasks.push_back({static_cast<std::uint32_t>(nodes_.size()), k, j, task.depth + 1});
            nodes_.push_back(node);
            k = j;
        }
    }
    secureFill(arena, '\0');
    secureRelease(keys);
}

void DatabaseIndex::wantPciKeys(const std::vector<std::string_view>& hardwareIds) {
    // The PCI keys of the ids: only normalized keys among them can ever match.
    std::vector<PackedKey> wanted;
    for (std::string_view id : hardwareIds) {
        const std::string key = pciKeyOf(id);
        if (!key.empty() && key.size() <= kPackedLength) wanted.push_back(packUpper(key));
    }
    if (wanted.empty()) return;
    std::size_t size = 16;
    while (size < 2 * wanted.size()) size *= 2;
    pciKeys_.resize(size);
    for (const PackedKey& key : wanted) {
        PciSlot* slot = findPciSlot(key);
        slot->key = key;
        slot->used = true;
    }
}

void DatabaseIndex::notePciKey(std::string_view key, std::uint32_t line) {
    const std::optional<PackedKey> normalized = packNormalized(key);
    if (!normalized) return;
    PciSlot* slot = findPciSlot(*normalized);
    if (slot->used && slot->line == kNone) slot->line = line;
}

DatabaseIndex::PciSlot* DatabaseIndex::findPciSlot(const PackedKey& key) {
    return const_cast<PciSlot*>(std::as_const(*this).findPciSlot(key));
}

const DatabaseIndex::PciSlot* DatabaseIndex::findPciSlot(const PackedKey& key) const {
    // Linear probing from the key's hash; the table is at most half full, so a free slot ends
    // every search.
    const std::size_t mask = pciKeys_.size() - 1;
    std::size_t at = static_cast<std::size_t>(
        ((key.head * 0x9E3779B97F4A7C15u) ^ (key.tail * 0xC2B2AE3D27D4EB4Fu) ^ key.size) >> 20);
    for (;; at = (at + 1) & mask) {
        const PciSlot& slot = pciKeys_[at & mask];
        if (!slot.used || slot.key == key) return &slot;
    }
}

const DatabaseIndex::Node* DatabaseIndex::child(const Node& node, unsigned char letter) const {
    auto begin = nodes_.begin() + node.firstChild;
    auto end = begin + node.childCount;
    auto it = std::lower_bound(begin, end, letter,
                               [](const Node& n, unsigned char c) { return n.letter < c; });
    return (it != end && it->letter == letter) ? &*it : nullptr;
}

bool DatabaseIndex::mayStartAt(std::string_view id, std::size_t at) const {
    if (shortKeys_) return true;
    if (at + 1 >= id.size()) return false;
    const std::size_t pair =
        static_cast<unsigned char>(id[at]) | (static_cast<unsigned char>(id[at + 1]) << 8);
    return (firstPairs_[pair / 64] & (std::uint64_t{1} << (pair % 64))) != 0;
}

std::optional<std::size_t> DatabaseIndex::firstMatch(std::string_view hardwareId,
                                                     std::string_view pciKey) const {
    std::uint32_t best = kNone;
    // A device's ids run together repeat themselves (the same vendor and device in each of a PCI
    // device's four ids): a walk that would read the same letters as a long walk made before it,
    // as far as that one went and the letter that stopped it, reaches no node that one did not,
    // and is left out.
    struct LongWalk {
        std::size_t start, steps;
    };
    constexpr std::size_t kLongWalk = 4;
    LongWalk longWalks[8];
    std::size_t longWalkCount = 0;
    const std::size_t size = hardwareId.size();
    for (std::size_t start = 0; start < size; ++start) {
        if (!mayStartAt(hardwareId, start)) continue;
        bool repeated = false;
        for (std::size_t w = 0; w < longWalkCount && !repeated; ++w) {
            const std::size_t length = std::min(longWalks[w].steps + 1, size - start);
            repeated =
                hardwareId.compare(start, length, hardwareId, longWalks[w].start, length) == 0;
        }
        if (repeated) continue;
        const Node* node = &nodes_[0];
        std::size_t i = start;
        for (; i < size; ++i) {
            node = child(*node, static_cast<unsigned char>(hardwareId[i]));
            if (node == nullptr) break;
            best = std::min(best, node->firstLine);
        }
        if (i - start >= kLongWalk && longWalkCount < std::size(longWalks)) {
            longWalks[longWalkCount++] = {start, i - start};
        }
    }
    if (!pciKey.empty() && pciKey.size() <= kPackedLength && !pciKeys_.empty()) {
        const PciSlot* slot = findPciSlot(packUpper(pciKey));
        if (slot->used) best = std::min(best, slot->line);
    }
    if (best == kNone) return std::nullopt;
    return best;
}

std::optional<std::size_t> DatabaseIndex::vendorAbove(std::size_t line) const {
    if (line >= vendorAbove_.size() || vendorAbove_[line] == kNone) return std::nullopt;
    return vendorAbove_[line];
}

std::optional<std::size_t> DatabaseIndex::lastVendor() const {
    if (vendor_ == kNone) return std::nullopt;
    return vendor_;
}

}  // namespace tamux
