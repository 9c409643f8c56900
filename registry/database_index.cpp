#include "registry/database_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/ascii_case.h"
#include "registry/secure_wipe.h"

namespace tamux {

namespace {

static_assert(std::endian::native == std::endian::little, "two letters are read as one number");

constexpr std::size_t kPiece = 8;
constexpr std::size_t kPairCount = 65536;
constexpr std::size_t kPackedLength = 16;
constexpr std::size_t kNormalizedSource = 24;
constexpr std::size_t kNormalizedHalf = 8;

unsigned char upper(char c) {
    return static_cast<unsigned char>(toAsciiUpper(c));
}

// Eight characters as one number, in memory order.
std::uint64_t load8(const char* text) {
    std::uint64_t word;
    std::memcpy(&word, text, 8);
    return word;
}

// The eight characters of a word upper-cased: bytes from 'a' to 'z' lose 0x20, the others stay.
std::uint64_t upper8(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kTops = 0x80 * kOnes;
    const std::uint64_t low = word & ~kTops;                     // no carry leaves a byte
    const std::uint64_t fromA = low + (0x80 - 'a') * kOnes;      // top set from 'a' up
    const std::uint64_t pastZ = low + (0x80 - 'z' - 1) * kOnes;  // top set past 'z'
    const std::uint64_t lower = fromA & ~pastZ & ~word & kTops;
    return word - (lower >> 2);
}

// Packs eight characters (upper-cased already) so that the numbers compare like the text.
std::uint64_t bigEndian(std::uint64_t word) {
    return __builtin_bswap64(word);
}

// Eight letters from `from` on, clipped at `size` and padded with zeroes, packed so that the
// numbers compare like the text.
std::uint64_t pack(const char* text, std::size_t size, std::size_t from) {
    if (from + 8 <= size) return bigEndian(load8(text + from));
    std::uint64_t packed = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        packed = (packed << 8) | (i < size ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return packed;
}

// Packs `size` letters and zeroes them.
DatabaseIndex::PackedKey packLetters(unsigned char (&letters)[kPackedLength], std::size_t size) {
    DatabaseIndex::PackedKey key;
    std::memcpy(&key.head, letters, 8);
    std::memcpy(&key.tail, letters + 8, 8);
    key.size = static_cast<std::uint32_t>(size);
    secureFill(letters, sizeof letters, 0);
    return key;
}

// A PCI key of at most 16 letters, upper-cased and packed; nullopt when it is empty or longer.
std::optional<DatabaseIndex::PackedKey> packPciKey(std::string_view hardwareId) {
    const PciKeyParts key = pciKeyParts(hardwareId);
    const std::size_t size = key.size();
    if (size == 0 || size > kPackedLength) return std::nullopt;
    unsigned char letters[kPackedLength] = {};
    std::size_t at = 0;
    for (std::string_view part : key.parts) {
        for (char c : part) letters[at++] = upper(c);
    }
    return packLetters(letters, size);
}

// As normalizedKey, packed: blanks removed, the first 8 letters, then the last 8 (which overlap
// the first when fewer than 16 are left), upper-cased; nullopt when it is empty.
std::optional<DatabaseIndex::PackedKey> packNormalized(const char* key) {
    // Most keys of this length are "VVVVDDDD SUBSYS ddddvvvv": blanks only where that one has
    // them, so the first eight letters and the last eight are the normalized key as they stand.
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    auto blanks = [](std::uint64_t word) {  // a top bit set in each byte that is a blank
        const std::uint64_t x = word ^ (0x20 * kOnes);
        return (x - kOnes) & ~x & (0x80 * kOnes);
    };
    const std::uint64_t first = load8(key), middle = load8(key + 8), last = load8(key + 16);
    if (blanks(first) == 0 && blanks(last) == 0 &&
        blanks(middle) == (std::uint64_t{0x80} | (std::uint64_t{0x80} << 56))) {
        DatabaseIndex::PackedKey packed;
        packed.head = upper8(first);
        packed.tail = upper8(last);
        packed.size = static_cast<std::uint32_t>(2 * kNormalizedHalf);
        return packed;
    }
    unsigned char solid[kNormalizedSource];
    std::size_t count = 0;
    for (std::size_t i = 0; i < kNormalizedSource; ++i) {
        if (key[i] != ' ') solid[count++] = upper(key[i]);
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

// Whether a ".=" has its "=" in `text`, the part of a line after its first "=".
bool holdsDotEquals(const char* text, std::size_t size) {
    const char* end = text + size;
    for (const char* at = text; at < end;) {
        const auto* equals = static_cast<const char*>(std::memchr(at, '=', end - at));
        if (equals == nullptr) return false;
        if (equals[-1] == '.') return true;
        at = equals + 1;
    }
    return false;
}

}  // namespace

// A key to sort: its first 16 letters (upper-cased already) packed into two numbers that compare
// like the text, so that most comparisons never touch the text itself; the text is in the kept
// lines.
struct DatabaseIndex::SortKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t line = 0;  // in kept_
};

DatabaseIndex::IdSet::IdSet(const std::vector<std::string_view>& hardwareIds)
    : IdSet(hardwareIds, nullptr, {}) {}

DatabaseIndex::IdSet::IdSet(const std::vector<std::string_view>& hardwareIds,
                            platform::Parallel* parallel, const std::function<void()>& beside) {
    // About four bits per piece, so that few bits answer for pieces that are not there; a
    // machine with a few devices gets a small set, not one sized for thousands.
    std::size_t pieces = 0;
    for (std::string_view id : hardwareIds)
        pieces += id.size() >= kPiece ? id.size() - (kPiece - 1) : 0;
    int bits = 12;
    while (bits < 21 && (std::size_t{1} << bits) < 4 * pieces) ++bits;
    shift_ = 64 - bits;
    auto addPieces = [&](std::vector<std::uint64_t>& set, std::size_t from, std::size_t to) {
        set.assign((std::size_t{1} << bits) / 64, 0);
        for (std::size_t n = from; n < to; ++n) {
            const std::string_view id = hardwareIds[n];
            for (std::size_t i = 0; i + kPiece <= id.size(); ++i) {
                const std::size_t at = pieceSlot(load8(id.data() + i));
                set[at / 64] |= std::uint64_t{1} << (at % 64);
            }
        }
    };
    std::vector<PackedKey> wanted;
    auto addPciKeys = [&] {
        // Only normalized keys among the PCI keys can ever match.
        for (std::string_view id : hardwareIds) {
            if (auto key = packPciKey(id)) wanted.push_back(*key);
        }
    };
    if (parallel != nullptr) {
        // The two halves of the ids into two sets of bits side by side, joined after.
        const std::size_t half = hardwareIds.size() / 2;
        std::vector<std::uint64_t> second;
        parallel->runSideBySide(
            [&] {
                addPieces(bits_, 0, half);
                addPciKeys();
            },
            [&] {
                addPieces(second, half, hardwareIds.size());
                if (beside) beside();
            });
        for (std::size_t w = 0; w < bits_.size(); ++w) bits_[w] |= second[w];
    } else {
        addPieces(bits_, 0, hardwareIds.size());
        addPciKeys();
        if (beside) beside();
    }
    if (wanted.empty()) return;
    std::size_t size = 16;
    while (size < 2 * wanted.size()) size *= 2;
    pciKeys_.resize(size);
    pciUsed_.assign(size, 0);
    for (const PackedKey& key : wanted) {
        const std::size_t at = findPciSlot(key);
        pciKeys_[at] = key;
        pciUsed_[at] = 1;
    }
}

std::size_t DatabaseIndex::IdSet::pieceSlot(std::uint64_t piece) const {
    return static_cast<std::size_t>((piece * 0x9E3779B97F4A7C15u) >> shift_);
}

bool DatabaseIndex::IdSet::mayOccur(const char* key, std::size_t size) const {
    if (size < kPiece) return true;
    auto occurs = [this, key](std::size_t at) {
        const std::size_t slot = pieceSlot(upper8(load8(key + at)));
        return (bits_[slot / 64] & (std::uint64_t{1} << (slot % 64))) != 0;
    };
    // The last piece first: the ends of keys (device numbers) tell them apart most.
    const std::size_t last = size - kPiece;
    if (!occurs(last)) return false;
    for (std::size_t at = 0; at < last; ++at) {
        if (!occurs(at)) return false;
    }
    return true;
}

bool DatabaseIndex::IdSet::mayAnswer(const char* key, std::size_t size) const {
    if (size == 0) return false;
    if (mayOccur(key, size)) return true;
    if (size != kNormalizedSource || pciKeys_.empty()) return false;
    const std::optional<PackedKey> normalized = packNormalized(key);
    return normalized && pciSlot(*normalized) != std::string_view::npos;
}

std::size_t DatabaseIndex::IdSet::findPciSlot(const PackedKey& key) const {
    // Linear probing from the key's hash; the table is at most half full, so a free slot ends
    // every search.
    // The top bits of the products, which every letter reaches.
    const std::size_t mask = pciKeys_.size() - 1;
    const std::uint64_t mixed =
        (key.head * 0x9E3779B97F4A7C15u) ^ ((key.tail ^ key.size) * 0xC2B2AE3D27D4EB4Fu);
    std::size_t at = static_cast<std::size_t>((mixed ^ (mixed >> 29)) >> 32) & mask;
    for (;; at = (at + 1) & mask) {
        if (!pciUsed_[at] || pciKeys_[at] == key) return at;
    }
}

std::size_t DatabaseIndex::IdSet::pciSlot(const PackedKey& key) const {
    if (pciKeys_.empty()) return std::string_view::npos;
    const std::size_t at = findPciSlot(key);
    return pciUsed_[at] ? at : std::string_view::npos;
}

DatabaseIndex::DatabaseIndex(const std::vector<std::string_view>& lines,
                             const std::vector<std::string_view>& hardwareIds)
    : DatabaseIndex(std::make_shared<IdSet>(hardwareIds)) {
    for (std::string_view line : lines) addLine(line);
    finish();
}

DatabaseIndex::DatabaseIndex(std::shared_ptr<const IdSet> ids) : ids_(std::move(ids)) {}

DatabaseIndex::~DatabaseIndex() {
    secureRelease(keys_);
    secureRelease(nodes_);
    secureRelease(firstPairs_);
    secureRelease(text_);
    secureRelease(pendingVendor_);
    secureFill(rootChildren_, sizeof rootChildren_, 0);
}

void DatabaseIndex::reserve(std::size_t lines, std::size_t bytes) {
    reserveWiped(text_, bytes);
    reserveWiped(keys_, lines);
    kept_.reserve(kept_.size() + lines);
}

void DatabaseIndex::addLine(std::string_view line) {
    // Each line is read once for its key, whether it is a vendor line, whether its key may occur
    // in an id and its normalized key; only the lines that may answer, and their vendor lines,
    // are kept.
    const std::uint32_t number = lineCount_++;
    if (line.empty()) return;  // no key; and its text may have no buffer at all
    const char* data = line.data();
    const auto* equals = static_cast<const char*>(std::memchr(data, '=', line.size()));
    if (equals == nullptr) return;
    const auto keySize = static_cast<std::size_t>(equals - data);
    // ".=" ends at this "=" or at a later one. The first line of the files counts too: it is
    // where a database begins with its first vendor, and passing it over would leave that
    // vendor's devices without a vendor name.
    const bool vendor =
        (keySize > 0 && equals[-1] == '.') || holdsDotEquals(equals + 1, line.size() - keySize - 1);
    bool trieKey = false;
    std::size_t pciSlot = std::string_view::npos;
    if (keySize > 0) {
        trieKey = ids_->mayOccur(data, keySize);
        if (keySize == kNormalizedSource && ids_->pciSlotCount() != 0) {
            if (auto normalized = packNormalized(data)) {
                pciSlot = ids_->pciSlot(*normalized);
                if (pciLines_.empty()) pciLines_.assign(ids_->pciSlotCount(), kNone);
                // Only the first line of a PCI key can answer.
                if (pciSlot != std::string_view::npos && pciLines_[pciSlot] != kNone) {
                    pciSlot = std::string_view::npos;
                }
            }
        }
    }
    if (!trieKey && pciSlot == std::string_view::npos) {
        if (vendor) holdVendor(line, number);
        return;
    }
    keepPendingVendor();
    const std::uint32_t at = keep(line, keySize, number);
    kept_[at].vendor = vendor_;
    if (vendor) vendor_ = at;
    if (pciSlot != std::string_view::npos) pciLines_[pciSlot] = at;
    if (trieKey) {
        reserveWiped(keys_, 1);
        const char* key = text_.data() + kept_[at].offset;
        keys_.push_back({pack(key, keySize, 0), pack(key, keySize, 8), kept_[at].offset,
                         static_cast<std::uint32_t>(keySize), at});
    }
}

std::uint32_t DatabaseIndex::keep(std::string_view line, std::size_t keySize,
                                  std::uint32_t number) {
    reserveWiped(text_, line.size());
    const auto offset = static_cast<std::uint32_t>(text_.size());
    text_.resize(offset + line.size());
    char* copy = text_.data() + offset;
    std::memcpy(copy, line.data(), line.size());
    for (std::size_t i = 0; i < keySize; ++i) copy[i] = toAsciiUpper(copy[i]);
    kept_.push_back({number, offset, static_cast<std::uint32_t>(line.size()), kNone});
    return static_cast<std::uint32_t>(kept_.size() - 1);
}

void DatabaseIndex::holdVendor(std::string_view line, std::uint32_t number) {
    if (pendingVendor_.size() < line.size()) {
        reserveWiped(pendingVendor_, line.size() - pendingVendor_.size());
        pendingVendor_.resize(line.size());
    }
    std::memcpy(pendingVendor_.data(), line.data(), line.size());
    pendingVendorSize_ = line.size();
    pendingVendorNumber_ = number;
}

void DatabaseIndex::keepPendingVendor() {
    if (pendingVendorNumber_ == kNone) return;
    const std::string_view line(pendingVendor_.data(), pendingVendorSize_);
    const std::size_t keySize = line.find('=');
    const std::uint32_t at = keep(line, keySize, pendingVendorNumber_);
    kept_[at].vendor = vendor_;
    vendor_ = at;
    pendingVendorNumber_ = kNone;
}

void DatabaseIndex::finish() {
    // The last vendor line is the vendor of whatever follows this file's lines.
    keepPendingVendor();
    secureRelease(pendingVendor_);
    buildTrie();
}

void DatabaseIndex::buildTrie() {
    const char* text = text_.data();
    // Orders keys as their upper-cased text (a shorter key before the longer ones it begins),
    // then by line.
    std::sort(keys_.begin(), keys_.end(), [text](const SortKey& a, const SortKey& b) {
        if (a.head != b.head) return a.head < b.head;
        if (a.next != b.next) return a.next < b.next;
        const std::size_t common = std::min(a.size, b.size);
        if (common > kPackedLength) {
            const int order = std::memcmp(text + a.offset + kPackedLength,
                                          text + b.offset + kPackedLength, common - kPackedLength);
            if (order != 0) return order < 0;
        }
        if (a.size != b.size) return a.size < b.size;
        return a.line < b.line;
    });
    auto letterAt = [text](const SortKey& key, std::size_t at) {
        return static_cast<unsigned char>(text[key.offset + at]);
    };

    // The first two letters of every key: a place in an id where no key begins is passed over
    // without a step into the trie, and most places are such.
    firstPairs_.assign(kPairCount / 64, 0);
    for (const SortKey& key : keys_) {
        if (key.size < 2) {
            shortKeys_ = true;
            continue;
        }
        const std::size_t pair = letterAt(key, 0) | (letterAt(key, 1) << 8);
        firstPairs_[pair / 64] |= std::uint64_t{1} << (pair % 64);
    }

    // One node per distinct prefix, reserved up front: a growing vector would free copies of
    // the key letters along the way.
    std::size_t nodeCount = 1;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        std::size_t shared = 0;
        if (k > 0) {
            const SortKey &a = keys_[k - 1], &b = keys_[k];
            while (shared < a.size && shared < b.size &&
                   letterAt(a, shared) == letterAt(b, shared)) {
                ++shared;
            }
        }
        nodeCount += keys_[k].size - shared;
    }
    nodes_.reserve(nodeCount);

    // Each task is a node and the run of sorted keys that pass through it: they share the
    // node's `depth` leading characters. Iterative, so that a long key cannot exhaust the stack.
    struct Task {
        std::uint32_t node;
        std::size_t begin, end, depth;
    };
    nodes_.assign(1, Node{});
    std::vector<Task> tasks{{0, 0, keys_.size(), 0}};
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        std::size_t i = task.begin;
        // Keys that end here sort first, the earliest line first.
        if (i < task.end && keys_[i].size == task.depth) {
            nodes_[task.node].firstLine = keys_[i].line;
            while (i < task.end && keys_[i].size == task.depth) ++i;
        }
        if (i == task.end) continue;
        auto letterOf = [&](std::size_t k) { return letterAt(keys_[k], task.depth); };
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
            if (task.node == 0) rootChildren_[letter] = static_cast<std::uint32_t>(nodes_.size());
            tasks.push_back({static_cast<std::uint32_t>(nodes_.size()), k, j, task.depth + 1});
            nodes_.push_back(node);
            k = j;
        }
    }
    secureRelease(keys_);
}

const DatabaseIndex::Node* DatabaseIndex::child(const Node& node, unsigned char letter) const {
    if (&node == nodes_.data()) {
        const std::uint32_t at = rootChildren_[letter];
        return at == 0 ? nullptr : &nodes_[at];
    }
    const Node* begin = nodes_.data() + node.firstChild;
    const Node* end = begin + node.childCount;
    // Below the root most nodes have a child or two.
    if (node.childCount <= 8) {
        for (const Node* it = begin; it != end; ++it) {
            if (it->letter == letter) return it;
        }
        return nullptr;
    }
    const Node* it = std::lower_bound(begin, end, letter,
                                      [](const Node& n, unsigned char c) { return n.letter < c; });
    return (it != end && it->letter == letter) ? it : nullptr;
}

std::optional<std::size_t> DatabaseIndex::firstMatch(std::string_view hardwareId) const {
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
    const auto* id = reinterpret_cast<const unsigned char*>(hardwareId.data());
    const std::uint64_t* pairs = firstPairs_.data();
    // The next place from `from` on where a key may begin: where no key begins with the two
    // letters there, no walk is made. Every place when a key has one letter; `size` for none.
    const bool everyPlace = shortKeys_;
    auto nextStart = [id, size, pairs, everyPlace](std::size_t from) {
        if (everyPlace) return from;
        for (; from + 1 < size; ++from) {
            std::uint16_t pair;
            std::memcpy(&pair, id + from, sizeof pair);
            if ((pairs[pair >> 6] >> (pair & 63)) & 1) return from;
        }
        return size;
    };
    for (std::size_t start = nextStart(0); start < size; start = nextStart(start + 1)) {
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
    if (!pciLines_.empty()) {
        if (auto key = packPciKey(hardwareId)) {
            const std::size_t slot = ids_->pciSlot(*key);
            if (slot != std::string_view::npos) best = std::min(best, pciLines_[slot]);
        }
    }
    if (best == kNone) return std::nullopt;
    return kept_[best].number;
}

std::uint32_t DatabaseIndex::keptIndex(std::size_t line) const {
    auto it = std::lower_bound(kept_.begin(), kept_.end(), line,
                               [](const Kept& kept, std::size_t n) { return kept.number < n; });
    if (it == kept_.end() || it->number != line) return kNone;
    return static_cast<std::uint32_t>(it - kept_.begin());
}

std::string_view DatabaseIndex::text(std::size_t line) const {
    const std::uint32_t at = keptIndex(line);
    if (at == kNone) return {};
    return {text_.data() + kept_[at].offset, kept_[at].size};
}

std::optional<std::size_t> DatabaseIndex::vendorAbove(std::size_t line) const {
    const std::uint32_t at = keptIndex(line);
    if (at == kNone || kept_[at].vendor == kNone) return std::nullopt;
    return kept_[kept_[at].vendor].number;
}

std::optional<std::size_t> DatabaseIndex::lastVendor() const {
    if (vendor_ == kNone) return std::nullopt;
    return kept_[vendor_].number;
}

}  // namespace tamux
