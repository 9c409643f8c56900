// Finds the first database line that names a device, for many devices at a time. The answer is
// the one a scan of the lines from the first would give: the first line whose key, upper-cased,
// occurs in the hardware id, or whose normalized key equals the device's PCI key ignoring case.
// Lines without a key (empty, or without "=") never match, and neither does an empty key.
// A key matches wherever it stands in letters of either case: a scan that stopped only at keys in
// capitals would let a lower-case key name a device only from the file's last line.
//
// The index is made for the hardware ids it will be asked about, known before its first line:
// keys that cannot occur in any of them (one of their eight-character pieces is in none of the
// ids) and normalized keys that equal none of their PCI keys are left out as the lines come, and
// so are the lines of such keys. Asked about another id, it may miss.
//
// The index keeps a copy of the lines it may answer with and of their vendor lines, the deciphered
// text that outlives the file's; it is zeroed when the index is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/parallel.h"
#include "registry/database_lines.h"

namespace tamux {

class DatabaseIndex {
  public:
    // A normalized key or a PCI key, upper-cased, packed into numbers.
    struct PackedKey {
        std::uint64_t head = 0, tail = 0;
        std::uint32_t size = 0;
        bool operator==(const PackedKey&) const = default;
    };

    // The hardware ids an index is made for, as the index consults them: their eight-character
    // pieces, hashed into a bit set, and their PCI keys. Made once, it serves every index made
    // for these ids or for some of them.
    class IdSet {
      public:
        explicit IdSet(const std::vector<std::string_view>& hardwareIds);
        // The same set, made by two threads with `parallel`, and `beside`, other work, done on
        // the second thread after its part (or after the set, on this thread, without one).
        IdSet(const std::vector<std::string_view>& hardwareIds, platform::Parallel* parallel,
              const std::function<void()>& beside);
        // False when the key, upper-cased, cannot occur in any of the ids. Keys shorter than a
        // piece are always kept.
        bool mayOccur(const char* key, std::size_t size) const;
        // False when no index made for these ids keeps a line of this key for it: the key cannot
        // occur in any of them, and it is no normalized key equal to one of their PCI keys.
        bool mayAnswer(const char* key, std::size_t size) const;
        // The place of an id's PCI key among them, or npos.
        std::size_t pciSlot(const PackedKey& key) const;
        std::size_t pciSlotCount() const { return pciKeys_.size(); }

      private:
        std::size_t pieceSlot(std::uint64_t piece) const;
        std::size_t findPciSlot(const PackedKey& key) const;
        std::vector<std::uint64_t> bits_;
        int shift_ = 0;  // 64 less the bits of a slot number
        // Open addressing, a power of two in size; empty when no id has a PCI key.
        std::vector<PackedKey> pciKeys_;
        std::vector<unsigned char> pciUsed_;
    };

    // The index of `lines` for `hardwareIds`.
    DatabaseIndex(const std::vector<std::string_view>& lines,
                  const std::vector<std::string_view>& hardwareIds);
    // An index for the ids of `ids` that is handed its lines one at a time, in order, through
    // addLine, and can be asked once finish has run: a caller that deciphers line by line hands
    // each over while it is still in the cache. A line's text may be released after addLine.
    explicit DatabaseIndex(std::shared_ptr<const IdSet> ids);
    void addLine(std::string_view line);
    // A line passed over without its text: it only counts. For a caller that learned from
    // mayAnswer that no line of its key is kept, or that no vendor line is kept for it.
    void skipLine() { ++lineCount_; }
    // Makes room for `lines` kept lines of `bytes` in all, for a caller that knows about how many
    // it will hand over: the kept text is then not copied (and wiped) while it grows.
    void reserve(std::size_t lines, std::size_t bytes);
    std::size_t lineCount() const { return lineCount_; }
    void finish();
    ~DatabaseIndex();
    DatabaseIndex(const DatabaseIndex&) = delete;
    DatabaseIndex& operator=(const DatabaseIndex&) = delete;

    // The number of the first matching line for `hardwareId` (compared as it is: upper-case ids
    // match upper-cased keys), or nullopt.
    std::optional<std::size_t> firstMatch(std::string_view hardwareId) const;

    // The text of a line that firstMatch, vendorAbove or lastVendor answered, its key
    // upper-cased (which leaves the names after the key as they are).
    std::string_view text(std::size_t line) const;
    // The nearest vendor line above a line that firstMatch answered, or nullopt.
    std::optional<std::size_t> vendorAbove(std::size_t line) const;
    // The last vendor line of all, or nullopt: the vendor above a line that would follow them.
    std::optional<std::size_t> lastVendor() const;

    // A key on its way into the trie; its layout is the index's own business.
    struct SortKey;

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // A trie of the upper-cased keys; the children of a node are contiguous and sorted.
    struct Node {
        std::uint32_t firstChild = 0;
        std::uint32_t childCount = 0;
        std::uint32_t firstLine = kNone;  // first kept line whose key ends at this node
        unsigned char letter = 0;
    };

    // A line kept: its number in the file, where its text is, and the kept vendor line above it.
    struct Kept {
        std::uint32_t number = 0;
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        std::uint32_t vendor = kNone;
    };

    // Copies a line, its key of `keySize` letters upper-cased, and returns its place in kept_.
    std::uint32_t keep(std::string_view line, std::size_t keySize, std::uint32_t number);
    // Keeps the vendor line that was passed over, now that a line below it is kept.
    void keepPendingVendor();
    // Remembers a vendor line that is not kept (yet).
    void holdVendor(std::string_view line, std::uint32_t number);
    // The place in kept_ of line `line`, or kNone.
    std::uint32_t keptIndex(std::size_t line) const;
    // Sorts the keys and makes the trie of them.
    void buildTrie();
    const Node* child(const Node& node, unsigned char letter) const;

    std::shared_ptr<const IdSet> ids_;
    std::uint32_t lineCount_ = 0;
    std::vector<Kept> kept_;
    std::vector<char> text_;  // the kept lines, one after another
    // The last vendor line while it is not kept: its text (the vector only ever grows, so that
    // its whole length is wiped), size and number.
    std::vector<char> pendingVendor_;
    std::size_t pendingVendorSize_ = 0;
    std::uint32_t pendingVendorNumber_ = kNone;
    std::uint32_t vendor_ = kNone;  // the last vendor line, once kept

    std::vector<SortKey> keys_;            // until finish: the keys for the trie
    std::vector<std::uint32_t> pciLines_;  // per PCI slot of the ids: first kept line, or kNone
    std::vector<Node> nodes_;
    std::uint32_t rootChildren_[256] = {};   // the root's child per letter, 0 for none
    std::vector<std::uint64_t> firstPairs_;  // the first two letters of the keys, as bits
    bool shortKeys_ = false;                 // a key of one letter: every place must be tried
};

}  // namespace tamux
