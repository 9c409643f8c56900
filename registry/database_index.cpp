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

// Orders keys as their upper-cased text, then by line.
struct KeyOrder {
    bool operator()(const std::pair<std::string_view, std::uint32_t>& a,
                    const std::pair<std::string_view, std::uint32_t>& b) const {
        const std::size_t common = std::min(a.first.size(), b.first.size());
        for (std::size_t i = 0; i < common; ++i) {
            const unsigned char x = upperAt(a.first, i), y = upperAt(b.first, i);
            if (x != y) return x < y;
        }
        if (a.first.size() != b.first.size()) return a.first.size() < b.first.size();
        return a.second < b.second;
    }
};

}  // namespace

DatabaseIndex::DatabaseIndex(const std::vector<std::string>& lines) {
    buildTrie(lines);
    buildPciKeys(lines);
    vendorAbove_.resize(lines.size(), kNone);
    std::uint32_t vendor = kNone;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        vendorAbove_[i] = vendor;
        if (IsVendorLine(lines[i])) vendor = static_cast<std::uint32_t>(i);
    }
}

DatabaseIndex::~DatabaseIndex() {
    SecureRelease(nodes_);
    SecureRelease(pciKeys_);
    SecureRelease(vendorAbove_);
}

void DatabaseIndex::buildTrie(const std::vector<std::string>& lines) {
    // Views into the lines: the sort copies no key text.
    std::vector<std::pair<std::string_view, std::uint32_t>> keys;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view key = LineKey(lines[i]);
        if (!key.empty()) keys.emplace_back(key, static_cast<std::uint32_t>(i));
    }
    std::sort(keys.begin(), keys.end(), KeyOrder());

    // One node per distinct prefix, reserved up front: a growing vector would free copies of
    // the key letters along the way.
    std::size_t nodeCount = 1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        std::size_t shared = 0;
        if (k > 0) {
            const std::string_view a = keys[k - 1].first, b = keys[k].first;
            while (shared < a.size() && shared < b.size() &&
                   upperAt(a, shared) == upperAt(b, shared)) {
                ++shared;
            }
        }
        nodeCount += keys[k].first.size() - shared;
    }
    nodes_.reserve(nodeCount);

    // Each task is a node and the run of keys that pass through it: they share the node's
    // `depth` leading characters. Iterative, so that a long key cannot exhaust the stack.
    struct Task {
        std::uint32_t node;
        std::size_t begin, end, depth;
    };
    nodes_.assign(1, Node{});
    std::vector<Task> tasks{{0, 0, keys.size(), 0}};
    while (!tasks.empty()) {
        Task task = tasks.back();
        tasks.pop_back();
        std::size_t i = task.begin;
        // Keys that end here sort first, the earliest line first.
        if (i < task.end && keys[i].first.size() == task.depth) {
            nodes_[task.node].firstLine = keys[i].second;
            while (i < task.end && keys[i].first.size() == task.depth) ++i;
        }
        std::vector<std::pair<std::size_t, std::size_t>> groups;
        while (i < task.end) {
            const unsigned char letter = upperAt(keys[i].first, task.depth);
            std::size_t j = i + 1;
            while (j < task.end && upperAt(keys[j].first, task.depth) == letter) ++j;
            groups.emplace_back(i, j);
            i = j;
        }
        if (groups.empty()) continue;
        const auto first = static_cast<std::uint32_t>(nodes_.size());
        nodes_[task.node].firstChild = first;
        nodes_[task.node].childCount = static_cast<std::uint32_t>(groups.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            Node node;
            node.letter = upperAt(keys[groups[g].first].first, task.depth);
            nodes_.push_back(node);
            tasks.push_back({static_cast<std::uint32_t>(first + g), groups[g].first,
                             groups[g].second, task.depth + 1});
        }
    }
    SecureRelease(keys);
}

void DatabaseIndex::buildPciKeys(const std::vector<std::string>& lines) {
    std::size_t candidates = 0;
    for (const std::string& line : lines) candidates += LineKey(line).size() == 24 ? 1 : 0;
    pciKeys_.reserve(candidates);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        NormalizedKeyText key = NormalizedKey(LineKey(lines[i]));
        if (!key.empty()) pciKeys_.push_back({key, static_cast<std::uint32_t>(i)});
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
