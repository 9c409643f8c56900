#include "registry/database_index.h"

#include <algorithm>
#include <utility>

#include "registry/ascii_case.h"
#include "registry/secure_wipe.h"

namespace tamux {

namespace {

unsigned char upperAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(AsciiUpper(text[i]));
}

// A key to sort: its first 16 upper-cased characters packed into two numbers that compare like
// the text, so that most comparisons never touch the text itself.
struct SortKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    std::string_view key;
    std::uint32_t line = 0;
};

std::uint64_t pack(std::string_view key, std::size_t from) {
    std::uint64_t packed = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        packed = (packed << 8) | (i < key.size() ? upperAt(key, i) : 0u);
    }
    return packed;
}

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

DatabaseIndex::Pieces::Pieces(const std::vector<std::string_view>& hardwareIds)
    : bits_(std::size_t{1} << 14) {
    for (std::string_view id : hardwareIds) {
        for (std::size_t i = 0; i + 4 <= id.size(); ++i) {
            std::uint32_t piece = 0;
            for (std::size_t k = i; k < i + 4; ++k) {
                piece = (piece << 8) | static_cast<unsigned char>(id[k]);
            }
            const std::size_t at = slot(piece);
            bits_[at / 64] |= std::uint64_t{1} << (at % 64);
        }
    }
}

std::size_t DatabaseIndex::Pieces::slot(std::uint32_t piece) {
    return (piece * 0x9E3779B1u) >> 12;  // 20 bits: 2^20 slots
}

bool DatabaseIndex::Pieces::mayOccur(std::string_view key) const {
    // A key shorter than a piece is always kept.
    std::uint32_t piece = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        piece = (piece << 8) | upperAt(key, i);
        if (i < 3) continue;
        const std::size_t at = slot(piece);
        if ((bits_[at / 64] & (std::uint64_t{1} << (at % 64))) == 0) return false;
    }
    return true;
}

DatabaseIndex::DatabaseIndex(const std::vector<std::string_view>& lines,
                             const std::vector<std::string_view>& hardwareIds) {
    // One pass over the lines for their keys and vendor lines.
    std::vector<std::string_view> keys(lines.size());
    vendorAbove_.resize(lines.size(), kNone);
    std::uint32_t vendor = kNone;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        vendorAbove_[i] = vendor;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        keys[i] = line.substr(0, equals);
        // ".=" ends at this "=" or at a later one.
        if ((equals > 0 && line[equals - 1] == '.') || line.find(".=", equals) != line.npos) {
            vendor = static_cast<std::uint32_t>(i);
        }
    }
    buildTrie(keys, Pieces(hardwareIds));
    buildPciKeys(keys, hardwareIds);
}

DatabaseIndex::~DatabaseIndex() {
    SecureRelease(nodes_);
    SecureRelease(pciKeys_);
    SecureRelease(vendorAbove_);
}

void DatabaseIndex::buildTrie(const std::vector<std::string_view>& lineKeys, const Pieces& pieces) {
    // Views into the lines: the sort copies no key text, and the packed heads are wiped after.
    std::vector<SortKey> keys;
    keys.reserve(lineKeys.size());
    for (std::size_t i = 0; i < lineKeys.size(); ++i) {
        const std::string_view key = lineKeys[i];
        if (!key.empty() && pieces.mayOccur(key)) {
            keys.push_back({pack(key, 0), pack(key, 8), key, static_cast<std::uint32_t>(i)});
        }
    }
    std::sort(keys.begin(), keys.end(), keyBefore);

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
        for (char c : key.key) arena.push_back(AsciiUpper(c));
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
    SecureFill(arena, '\0');
    SecureRelease(keys);
}

void DatabaseIndex::buildPciKeys(const std::vector<std::string_view>& lineKeys,
                                 const std::vector<std::string_view>& hardwareIds) {
    // The PCI keys of the ids, upper-cased: only normalized keys among them can ever match.
    std::vector<std::string> wanted;
    for (std::string_view id : hardwareIds) {
        std::string key = UpperCase(PciKey(id));
        if (!key.empty() && key.size() <= NormalizedKeyText{}.text.size()) {
            wanted.push_back(std::move(key));
        }
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    if (wanted.empty()) return;

    std::size_t candidates = 0;
    for (std::string_view key : lineKeys) candidates += key.size() == 24 ? 1 : 0;
    pciKeys_.reserve(candidates);
    for (std::size_t i = 0; i < lineKeys.size(); ++i) {
        if (lineKeys[i].size() != 24) continue;
        NormalizedKeyText key = NormalizedKey(lineKeys[i]);
        if (key.empty()) continue;
        if (std::binary_search(wanted.begin(), wanted.end(), key.view())) {
            pciKeys_.push_back({key, static_cast<std::uint32_t>(i)});
        }
        SecureFill(key.text.data(), key.text.size(), 0);
    }
    // An in-place sort: no temporary buffer is left behind holding key text. Equal keys are
    // ordered by line; the first of each run is the one that counts.
    std::sort(pciKeys_.begin(), pciKeys_.end(), [](const PciEntry& a, const PciEntry& b) {
        if (a.key.view() != b.key.view()) return a.key.view() < b.key.view();
        return a.line < b.line;
    });
    auto last = std::unique(
        pciKeys_.begin(), pciKeys_.end(),
        [](const PciEntry& a, const PciEntry& b) { return a.key.view() == b.key.view(); });
    for (auto it = last; it != pciKeys_.end(); ++it) SecureFill(&*it, sizeof(PciEntry), 0);
    pciKeys_.erase(last, pciKeys_.end());
}

const DatabaseIndex::Node* DatabaseIndex::child(const Node& node, unsigned char letter) const {
    auto begin = nodes_.begin() + node.firstChild;
    auto end = begin + node.childCount;
    auto it = std::lower_bound(begin, end, letter,
                               [](const Node& n, unsigned char c) { return n.letter < c; });
    return (it != end && it->letter == letter) ? &*it : nullptr;
}

std::optional<std::size_t> DatabaseIndex::firstMatch(std::string_view hardwareId,
                                                     std::string_view pciKey) const {
    std::uint32_t best = kNone;
    for (std::size_t start = 0; start < hardwareId.size(); ++start) {
        const Node* node = &nodes_[0];
        for (std::size_t i = start; i < hardwareId.size(); ++i) {
            node = child(*node, static_cast<unsigned char>(hardwareId[i]));
            if (node == nullptr) break;
            best = std::min(best, node->firstLine);
        }
    }
    if (!pciKey.empty() && pciKey.size() <= NormalizedKeyText{}.text.size()) {
        NormalizedKeyText wanted;
        for (char c : pciKey) wanted.text[wanted.size++] = AsciiUpper(c);
        auto it = std::lower_bound(
            pciKeys_.begin(), pciKeys_.end(), wanted.view(),
            [](const PciEntry& entry, std::string_view key) { return entry.key.view() < key; });
        if (it != pciKeys_.end() && it->key.view() == wanted.view())
            best = std::min(best, it->line);
    }
    if (best == kNone) return std::nullopt;
    return best;
}

std::optional<std::size_t> DatabaseIndex::vendorAbove(std::size_t line) const {
    if (line >= vendorAbove_.size() || vendorAbove_[line] == kNone) return std::nullopt;
    return vendorAbove_[line];
}

}  // namespace tamux
